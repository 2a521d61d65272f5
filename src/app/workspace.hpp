#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tesmara {

constexpr std::string_view kWorkspaceMainName = "临时.NC";
constexpr std::string_view kWorkspaceSubprogramName = "临时子程序.NC";
// Where the programs a run left without exporting them are kept for one more run.
constexpr std::string_view kBackupMainName = "上次未汇出.NC";
constexpr std::string_view kBackupSubprogramName = "上次未汇出子程序.NC";
inline constexpr char kWorkspaceFolderVariable[] = "TESMARA_WORKSPACE";

// What "汇出" reads back from the two workspace files.
struct WorkspaceTexts {
    std::string main;
    std::string subprograms;
};

// Anything beyond what a reset leaves: programs that were collected.
bool holdsPrograms(const WorkspaceTexts& texts);

struct WorkspaceRead {
    WorkspaceTexts texts;
    std::vector<std::string> errors;  // a file that could not be read, missing included
};

struct WorkspaceStart {
    std::vector<std::string> errors;  // the workspace was not reset and must not be used
    bool backedUp = false;            // the last run's programs went to the backup pair
};

// The two files in which "多出" collects the programs of one run. Every
// operation opens the file, does its part and closes it again, so the bytes are
// on disk when it returns; no operation follows a symbolic link in the folder.
// A failure gives a text naming the file and the reason.
class Workspace {
public:
    Workspace() = default;
    explicit Workspace(std::filesystem::path folder) : m_folder(std::move(folder)) {}

    const std::filesystem::path& folder() const { return m_folder; }
    std::filesystem::path mainFile() const;
    std::filesystem::path subprogramFile() const;
    std::filesystem::path backupMainFile() const;
    std::filesystem::path backupSubprogramFile() const;

    // At start-up: files that still hold programs (the last run ended without
    // exporting them) become the backup pair, replacing an older one; then
    // the files are reset. When they cannot be kept, nothing is reset.
    WorkspaceStart start() const;

    // The main file to "O100" CR LF, the subprogram file to no bytes; both
    // steps are tried whatever the other gave.
    std::vector<std::string> reset() const;

    // Each text ends at the first zero byte.
    WorkspaceRead read() const;
    std::optional<std::string> readSubprograms(std::string& text) const;

    // Adds bytes at the end of a file that exists; a missing file is not created.
    std::optional<std::string> appendMain(std::string_view bytes) const;
    std::optional<std::string> appendSubprogram(std::string_view bytes) const;

private:
    std::filesystem::path m_folder;
};

// The workspace folder: TESMARA_WORKSPACE when set, else the platform's
// default (made private to the user where the system is shared).
struct WorkspaceFolder {
    std::filesystem::path folder;
    std::optional<std::string> error;  // the folder must not be used
};

WorkspaceFolder findWorkspaceFolder();

}  // namespace tesmara
