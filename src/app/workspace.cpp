#include "app/workspace.hpp"

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "app/output.hpp"
#include "app/system_text.hpp"
#include "program/layout.hpp"

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#include <sys/stat.h>
#else
#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace tesmara {

namespace fs = std::filesystem;

namespace {

// Plain descriptors on both systems; where the system has it, a symbolic link
// planted at a workspace name is refused instead of followed, and a FIFO
// does not block the program.
#ifdef _WIN32
constexpr int kRead = _O_RDONLY;
constexpr int kAppend = _O_WRONLY | _O_APPEND;
constexpr int kCreate = _O_WRONLY | _O_CREAT | _O_EXCL;

int openFile(const fs::path& file, int flags) {
    return ::_wopen(file.c_str(), flags | _O_BINARY | _O_NOINHERIT, _S_IREAD | _S_IWRITE);
}
int readSome(int fd, char* data, std::size_t size) {
    return ::_read(fd, data, static_cast<unsigned>(std::min<std::size_t>(size, 1u << 30)));
}
int writeSome(int fd, const char* data, std::size_t size) {
    return ::_write(fd, data, static_cast<unsigned>(std::min<std::size_t>(size, 1u << 30)));
}
int closeFile(int fd) {
    return ::_close(fd);
}
bool isRegular(int fd) {
    struct _stat64 info {};
    return ::_fstat64(fd, &info) == 0 && (info.st_mode & _S_IFMT) == _S_IFREG;
}
#else
constexpr int kRead = O_RDONLY;
constexpr int kAppend = O_WRONLY | O_APPEND;
constexpr int kCreate = O_WRONLY | O_CREAT | O_EXCL;

int openFile(const fs::path& file, int flags) {
    return ::open(file.c_str(), flags | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, 0600);
}
ssize_t readSome(int fd, char* data, std::size_t size) {
    return ::read(fd, data, size);
}
ssize_t writeSome(int fd, const char* data, std::size_t size) {
    return ::write(fd, data, size);
}
int closeFile(int fd) {
    return ::close(fd);
}
bool isRegular(int fd) {
    struct stat info {};
    return ::fstat(fd, &info) == 0 && S_ISREG(info.st_mode);
}
#endif

constexpr int kNotRegular = -1;  // beside the errno values

std::string reasonFor(int error) {
    switch (error) {
        case ELOOP:
            return "这是一个符号链接，不会跟随";
        case kNotRegular:
            return "这不是普通文件";
        default:
            return std::strerror(error);
    }
}

// A descriptor of a plain file, or -1 with `error` set.
int openRegular(const fs::path& file, int flags, int& error) {
    const int fd = openFile(file, flags);
    if (fd < 0) {
        error = errno == ENXIO ? kNotRegular : errno;  // a FIFO nobody reads
        return -1;
    }
    if (!isRegular(fd)) {
        closeFile(fd);
        error = kNotRegular;
        return -1;
    }
    return fd;
}

// Opens, writes everything and closes; gives errno, or 0.
int writeTo(const fs::path& file, int flags, std::string_view bytes) {
    int error = 0;
    const int fd = openRegular(file, flags, error);
    if (fd < 0) {
        return error;
    }
    while (!bytes.empty() && error == 0) {
        const auto written = writeSome(fd, bytes.data(), bytes.size());
        if (written < 0 && errno != EINTR) {
            error = errno;
        }
        bytes.remove_prefix(written < 0 ? 0 : static_cast<std::size_t>(written));
    }
    if (closeFile(fd) != 0 && error == 0) {
        error = errno;
    }
    return error;
}

int readFrom(const fs::path& file, std::string& text) {
    text.clear();
    int error = 0;
    const int fd = openRegular(file, kRead, error);
    if (fd < 0) {
        return error;
    }
    char buffer[65536];
    for (;;) {
        const auto got = readSome(fd, buffer, sizeof buffer);
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got <= 0) {
            error = got < 0 ? errno : 0;
            break;
        }
        text.append(buffer, static_cast<std::size_t>(got));
    }
    closeFile(fd);
    text.resize(std::min(text.size(), text.find('\0')));
    return error;
}

std::optional<std::string> createWith(const fs::path& file, std::string_view bytes) {
    std::error_code ignored;
    fs::remove(file, ignored);
    if (const int error = writeTo(file, kCreate, bytes)) {
        return fileFailure("无法创建", file, reasonFor(error));
    }
    return std::nullopt;
}

std::optional<std::string> appendTo(const fs::path& file, std::string_view bytes) {
    // No O_CREAT: a workspace file that has gone is not made again behind the
    // operator's back.
    if (const int error = writeTo(file, kAppend, bytes)) {
        return fileFailure("无法追加到", file, reasonFor(error));
    }
    return std::nullopt;
}

// Moves `file` to `backup`, or removes an older `backup` when there is no
// `file`, so that the pair always comes from one run.
std::optional<std::string> keepAs(const fs::path& file, const fs::path& backup) {
    std::error_code ec;
    if (fs::exists(fs::symlink_status(file, ec))) {
        fs::rename(file, backup, ec);
    } else {
        fs::remove(backup, ec);
    }
    if (ec) {
        return fileFailure("无法保存上次未汇出的程序到", backup, ec.message());
    }
    return std::nullopt;
}

#ifdef _WIN32

WorkspaceFolder platformDefault() {
    const fs::path historical = "C:\\DOCUME~1\\ADMINI~1\\LOCALS~1\\Temp";
    std::error_code ec;
    if (fs::is_directory(historical, ec)) {
        return {historical, std::nullopt};
    }
    fs::path temporary = fs::temp_directory_path(ec);
    if (ec) {
        return {temporary, "找不到临时文件夹（" + pathText(historical) + " 与 TEMP 都不可用）：" +
                               errorText(ec)};
    }
    return {temporary, std::nullopt};
}

#else

std::string userName() {
    const passwd* user = getpwuid(geteuid());
    return user != nullptr ? user->pw_name : std::to_string(geteuid());
}

// A private folder in the shared temporary folder. One that is a link,
// belongs to somebody else or that others may write in could let another
// user read, plant or swap our files; it is refused, never repaired, since
// what was planted while it stood open would stay.
WorkspaceFolder platformDefault() {
    std::error_code ec;
    const fs::path folder = fs::temp_directory_path(ec) / ("tesmara-" + userName());
    if (mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST) {
        return {folder, fileFailure("无法创建工作文件夹", folder, std::strerror(errno))};
    }
    struct stat info {};
    if (lstat(folder.c_str(), &info) != 0) {
        return {folder, fileFailure("无法使用工作文件夹", folder, std::strerror(errno))};
    }
    if (S_ISLNK(info.st_mode) || !S_ISDIR(info.st_mode) || info.st_uid != geteuid()) {
        return {folder, fileFailure("工作文件夹不安全（不是本用户的文件夹）", folder, "拒绝使用")};
    }
    if ((info.st_mode & (S_IWGRP | S_IWOTH)) != 0) {
        return {folder, fileFailure("工作文件夹不安全（其他用户可以写入）", folder,
                                    "拒绝使用；请删除它或把权限改为 700")};
    }
    return {folder, std::nullopt};
}

#endif

}  // namespace

fs::path Workspace::mainFile() const {
    return m_folder / utf8Path(kWorkspaceMainName);
}

fs::path Workspace::subprogramFile() const {
    return m_folder / utf8Path(kWorkspaceSubprogramName);
}

fs::path Workspace::backupMainFile() const {
    return m_folder / utf8Path(kBackupMainName);
}

fs::path Workspace::backupSubprogramFile() const {
    return m_folder / utf8Path(kBackupSubprogramName);
}

bool holdsPrograms(const WorkspaceTexts& texts) {
    return (!texts.main.empty() && texts.main != kWorkspaceMainStart) || !texts.subprograms.empty();
}

WorkspaceStart Workspace::start() const {
    WorkspaceStart outcome;
    WorkspaceTexts texts;
    for (const auto& [file, text] :
         {std::pair{mainFile(), &texts.main}, {subprogramFile(), &texts.subprograms}}) {
        if (const int error = readFrom(file, *text); error != 0 && error != ENOENT) {
            outcome.errors.push_back(fileFailure("无法读取", file, reasonFor(error)));
        }
    }
    if (!outcome.errors.empty()) {
        return outcome;
    }
    if (holdsPrograms(texts)) {
        for (const auto& [file, backup] : {std::pair{mainFile(), backupMainFile()},
                                           {subprogramFile(), backupSubprogramFile()}}) {
            if (auto error = keepAs(file, backup)) {
                outcome.errors.push_back(*error);
                return outcome;
            }
        }
        outcome.backedUp = true;
    }
    outcome.errors = reset();
    return outcome;
}

std::vector<std::string> Workspace::reset() const {
    std::vector<std::string> errors;
    if (auto error = createWith(mainFile(), kWorkspaceMainStart)) {
        errors.push_back(*error);
    }
    if (auto error = createWith(subprogramFile(), "")) {
        errors.push_back(*error);
    }
    return errors;
}

WorkspaceRead Workspace::read() const {
    WorkspaceRead result;
    for (const auto& [file, text] : {std::pair{mainFile(), &result.texts.main},
                                     {subprogramFile(), &result.texts.subprograms}}) {
        if (const int error = readFrom(file, *text)) {
            result.errors.push_back(fileFailure("无法读取", file, reasonFor(error)));
        }
    }
    return result;
}

std::optional<std::string> Workspace::readSubprograms(std::string& text) const {
    if (const int error = readFrom(subprogramFile(), text)) {
        return fileFailure("无法读取", subprogramFile(), reasonFor(error));
    }
    return std::nullopt;
}

std::optional<std::string> Workspace::appendMain(std::string_view bytes) const {
    return appendTo(mainFile(), bytes);
}

std::optional<std::string> Workspace::appendSubprogram(std::string_view bytes) const {
    return appendTo(subprogramFile(), bytes);
}

WorkspaceFolder findWorkspaceFolder() {
    const std::optional<std::string> chosen = environmentText(kWorkspaceFolderVariable);
    if (chosen && !chosen->empty()) {
        return {utf8Path(*chosen), std::nullopt};
    }
    return platformDefault();
}

}  // namespace tesmara
