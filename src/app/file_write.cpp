#include "app/file_write.hpp"

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <random>
#include <system_error>

#include "app/output.hpp"

#ifdef _WIN32
#include <windows.h>
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace tesmara {

namespace fs = std::filesystem;

namespace {

constexpr int kLinkHops = 40;
constexpr int kNameTries = 100;

// The file that will be replaced, after every symbolic link on the way.
struct Target {
    fs::path folder;
    fs::path name;
    bool exists = false;
};

FileFailure systemFailure(std::string reason) {
    return {FileRefusal::None, std::move(reason)};
}

bool mayWrite(const fs::path& path, fs::perms perms) {
    constexpr fs::perms kAnyWrite =
        fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write;
    if ((perms & kAnyWrite) == fs::perms::none) {
        return false;  // read-only also for the superuser, who would write it anyway
    }
#ifndef _WIN32
    if (::faccessat(AT_FDCWD, path.c_str(), W_OK, AT_EACCESS) != 0) {
        return errno != EACCES && errno != EPERM;
    }
#endif
    return true;
}

std::optional<FileFailure> refusalFor(const fs::path& path, const fs::file_status& status) {
    switch (status.type()) {
        case fs::file_type::regular:
            if (!mayWrite(path, status.permissions())) {
                return FileFailure{FileRefusal::ReadOnly, {}};
            }
            return std::nullopt;
        case fs::file_type::directory:
            return FileFailure{FileRefusal::Folder, {}};
        case fs::file_type::block:
        case fs::file_type::character:
            return FileFailure{FileRefusal::Device, {}};
        case fs::file_type::fifo:
            return FileFailure{FileRefusal::Fifo, {}};
        case fs::file_type::socket:
            return FileFailure{FileRefusal::Socket, {}};
        default:
            return FileFailure{FileRefusal::NotRegular, {}};
    }
}

std::optional<FileFailure> resolveTarget(fs::path path, Target& target) {
    for (int hops = 0;; ++hops) {
        std::error_code ec;
        const fs::file_status status = fs::symlink_status(path, ec);
        if (status.type() == fs::file_type::not_found) {
            if (hops > 0) {
                return FileFailure{FileRefusal::BrokenLink, {}};
            }
            target = {path.has_parent_path() ? path.parent_path() : fs::path("."), path.filename(),
                      false};
            return std::nullopt;
        }
        if (ec) {
            return systemFailure(ec.message());
        }
        if (status.type() != fs::file_type::symlink) {
            target = {path.has_parent_path() ? path.parent_path() : fs::path("."), path.filename(),
                      true};
            return refusalFor(path, status);
        }
        const fs::path link = fs::read_symlink(path, ec);
        if (ec || hops == kLinkHops) {
            return systemFailure(ec ? ec.message() : std::strerror(ELOOP));
        }
        path = link.is_absolute() ? link : path.parent_path() / link;
    }
}

#ifdef _WIN32

FileFailure windowsFailure(DWORD error) {
    switch (error) {
        case ERROR_SHARING_VIOLATION:
        case ERROR_LOCK_VIOLATION:
        case ERROR_USER_MAPPED_FILE:
        case ERROR_UNABLE_TO_REMOVE_REPLACED:
            return {FileRefusal::InUse, {}};
        default:
            return systemFailure(std::system_category().message(static_cast<int>(error)));
    }
}

DWORD writeAll(HANDLE file, std::string_view bytes) {
    while (!bytes.empty()) {
        const auto chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size(), 1u << 30));
        DWORD written = 0;
        if (!WriteFile(file, bytes.data(), chunk, &written, nullptr)) {
            return GetLastError();
        }
        bytes.remove_prefix(written);
    }
    return ERROR_SUCCESS;
}

// CREATE_NEW never opens what is already there, a planted link included.
// ReplaceFileW keeps the old file's attributes and security; a target that
// another program holds open cannot be replaced and is named as in use.
std::optional<FileFailure> replaceFile(const Target& target, std::string_view bytes,
                                       const std::function<std::string()>& temporaryName) {
    fs::path temporary;
    HANDLE file = INVALID_HANDLE_VALUE;
    for (int i = 0; i < kNameTries && file == INVALID_HANDLE_VALUE; ++i) {
        temporary = target.folder / utf8Path(temporaryName());
        file = CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
        const DWORD error = GetLastError();
        if (file == INVALID_HANDLE_VALUE && error != ERROR_FILE_EXISTS &&
            error != ERROR_ALREADY_EXISTS) {
            return windowsFailure(error);
        }
    }
    if (file == INVALID_HANDLE_VALUE) {
        return windowsFailure(ERROR_FILE_EXISTS);
    }
    DWORD error = writeAll(file, bytes);
    if (error == ERROR_SUCCESS && !FlushFileBuffers(file)) {
        error = GetLastError();
    }
    if (!CloseHandle(file) && error == ERROR_SUCCESS) {
        error = GetLastError();
    }
    const fs::path final = target.folder / target.name;
    if (error == ERROR_SUCCESS &&
        !(target.exists ? ReplaceFileW(final.c_str(), temporary.c_str(), nullptr,
                                       REPLACEFILE_IGNORE_MERGE_ERRORS, nullptr, nullptr)
                        : MoveFileExW(temporary.c_str(), final.c_str(), MOVEFILE_WRITE_THROUGH))) {
        error = GetLastError();
    }
    if (error != ERROR_SUCCESS) {
        DeleteFileW(temporary.c_str());
        return windowsFailure(error);
    }
    return std::nullopt;
}

#else

class Descriptor {
public:
    explicit Descriptor(int fd = -1) : m_fd(fd) {}
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    ~Descriptor() {
        if (m_fd >= 0) {
            ::close(m_fd);
        }
    }
    int get() const { return m_fd; }
    void reset(int fd) { m_fd = fd; }
    // Closes now, giving the error a late write may only report here.
    int close() {
        const int fd = m_fd;
        m_fd = -1;
        return ::close(fd) == 0 ? 0 : errno;
    }

private:
    int m_fd;
};

// The temporary name in the folder, removed unless the rename took it.
class NameGuard {
public:
    explicit NameGuard(int folder) : m_folder(folder) {}
    NameGuard(const NameGuard&) = delete;
    NameGuard& operator=(const NameGuard&) = delete;
    ~NameGuard() {
        if (!m_name.empty()) {
            ::unlinkat(m_folder, m_name.c_str(), 0);
        }
    }
    const std::string& name() const { return m_name; }
    void set(std::string name) { m_name = std::move(name); }
    void release() { m_name.clear(); }

private:
    int m_folder;
    std::string m_name;
};

int writeAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t written = ::write(fd, bytes.data(), bytes.size());
        if (written < 0 && errno != EINTR) {
            return errno;
        }
        bytes.remove_prefix(written < 0 ? 0 : static_cast<std::size_t>(written));
    }
    return 0;
}

// A name that is already taken, by anything, is passed over for a fresh one.
template <class Make>
int withFreshName(const std::function<std::string()>& temporaryName, NameGuard& guard, Make make) {
    for (int i = 0; i < kNameTries; ++i) {
        std::string name = temporaryName();
        if (make(name)) {
            guard.set(std::move(name));
            return 0;
        }
        if (errno != EEXIST) {
            return errno;
        }
    }
    return EEXIST;
}

// Owner and group first: changing them may clear the set-id bits.
int keepMetadataOf(int file, int folder, const Target& target) {
    struct stat old {};
    if (!target.exists || ::fstatat(folder, target.name.c_str(), &old, AT_SYMLINK_NOFOLLOW) != 0) {
        return 0;
    }
    if (::fchown(file, old.st_uid, old.st_gid) != 0) {
        static_cast<void>(::fchown(file, static_cast<uid_t>(-1), old.st_gid));
    }
    return ::fchmod(file, old.st_mode & 07777) == 0 ? 0 : errno;
}

// Where the system has them, the bytes go to a file without a name, linked
// in only once complete: a process killed while writing leaves nothing.
int openUnnamed(int folder) {
#ifdef O_TMPFILE
    return ::openat(folder, ".", O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666);
#else
    static_cast<void>(folder);
    return -1;
#endif
}

int fillTemporary(const Target& target, int folder, std::string_view bytes,
                  const std::function<std::string()>& temporaryName, NameGuard& guard) {
    Descriptor file(openUnnamed(folder));
    const bool unnamed = file.get() >= 0;
    int error = unnamed ? 0 : withFreshName(temporaryName, guard, [&](const std::string& name) {
        file.reset(::openat(folder, name.c_str(),
                            O_CREAT | O_EXCL | O_NOFOLLOW | O_WRONLY | O_CLOEXEC, 0666));
        return file.get() >= 0;
    });
    if (error == 0) {
        error = keepMetadataOf(file.get(), folder, target);
    }
    if (error == 0) {
        error = writeAll(file.get(), bytes);
    }
    if (error == 0 && ::fsync(file.get()) != 0) {
        error = errno;
    }
    if (error == 0 && unnamed) {
        const std::string self = "/proc/self/fd/" + std::to_string(file.get());
        error = withFreshName(temporaryName, guard, [&](const std::string& name) {
            return ::linkat(AT_FDCWD, self.c_str(), folder, name.c_str(), AT_SYMLINK_FOLLOW) == 0;
        });
    }
    const int closed = file.get() >= 0 ? file.close() : 0;
    return error != 0 ? error : closed;
}

std::optional<FileFailure> replaceFile(const Target& target, std::string_view bytes,
                                       const std::function<std::string()>& temporaryName) {
    const Descriptor folder(::open(target.folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (folder.get() < 0) {
        return systemFailure(std::strerror(errno));
    }
    NameGuard guard(folder.get());
    if (const int error = fillTemporary(target, folder.get(), bytes, temporaryName, guard)) {
        return systemFailure(std::strerror(error));
    }
    if (::renameat(folder.get(), guard.name().c_str(), folder.get(), target.name.c_str()) != 0) {
        return systemFailure(std::strerror(errno));
    }
    guard.release();
    if (::fsync(folder.get()) != 0) {
        return systemFailure(std::strerror(errno));
    }
    return std::nullopt;
}

#endif

}  // namespace

std::string englishReason(const FileFailure& failure) {
    switch (failure.refusal) {
        case FileRefusal::None:
            return failure.systemReason;
        case FileRefusal::ReadOnly:
            return "the file is read-only";
        case FileRefusal::Folder:
            return "it is a folder, not a file";
        case FileRefusal::Device:
            return "it is a device, not a file";
        case FileRefusal::Fifo:
            return "it is a named pipe (FIFO), not a file";
        case FileRefusal::Socket:
            return "it is a socket, not a file";
        case FileRefusal::NotRegular:
            return "it is not a regular file";
        case FileRefusal::BrokenLink:
            return "it is a symbolic link to a file that does not exist";
        case FileRefusal::InUse:
            return "another program has the file open";
    }
    return failure.systemReason;
}

std::string randomTemporaryName() {
    std::random_device source;
    const std::uint64_t value = (std::uint64_t{source()} << 32) ^ source();
    char name[40];
    std::snprintf(name, sizeof name, ".tesmara-%016llx.tmp",
                  static_cast<unsigned long long>(value));
    return name;
}

std::optional<FileFailure> writeFileAtomically(const fs::path& path, std::string_view bytes,
                                               const std::function<std::string()>& temporaryName) {
    Target target;
    if (auto refused = resolveTarget(path, target)) {
        return refused;
    }
    return replaceFile(target, bytes, temporaryName);
}

}  // namespace tesmara
