#pragma once

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace tesmara {

// Why a file was not written: a target we refuse to replace, or the system's
// own reason.
enum class FileRefusal {
    None,      // the system refused; see `systemReason`
    ReadOnly,  // the target exists and may not be written
    Folder,    // directory
    Device,    // block or character device
    Fifo,      // named pipe
    Socket,
    NotRegular,  // anything else that is not a plain file
    BrokenLink,  // a symbolic link to nothing
    InUse,       // another program holds the file open (Windows)
};

struct FileFailure {
    FileRefusal refusal = FileRefusal::None;
    std::string systemReason;
};

// The reason in English, for tesmara-cli.
std::string englishReason(const FileFailure& failure);

// A fresh, unpredictable name for the temporary file: hidden, and ending in
// ".tmp" so that one left by a killed process is never taken for a program.
std::string randomTemporaryName();

// Replaces the file at `path` by `bytes`. The bytes go to a file created
// exclusively in the target's folder (never through a link planted there),
// are flushed to disk and renamed over the target, and the folder is flushed;
// any failure removes the temporary file, so an interrupted write leaves the
// old file whole. A symbolic link is followed to its target, which is
// replaced; an existing target keeps its permission bits and, where the user
// may set it, its group. `temporaryName` is there for the tests.
std::optional<FileFailure> writeFileAtomically(
    const std::filesystem::path& path, std::string_view bytes,
    const std::function<std::string()>& temporaryName = randomTemporaryName);

}  // namespace tesmara
