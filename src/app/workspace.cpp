#include "app/workspace.hpp"

#include <cerrno>
#include <cstring>
#include <fstream>
#include <iterator>

#include "app/output.hpp"
#include "app/system_text.hpp"
#include "program/layout.hpp"

#ifndef _WIN32
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace tesmara {

namespace fs = std::filesystem;

namespace {

std::optional<std::string> createWith(const fs::path& file, std::string_view bytes) {
    std::error_code ignored;
    fs::remove(file, ignored);
    errno = 0;
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    if (out) {
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        out.flush();
    }
    const int error = errno;
    if (!out) {
        return fileFailure("无法创建", file, std::strerror(error));
    }
    return std::nullopt;
}

std::optional<std::string> appendTo(const fs::path& file, std::string_view bytes) {
    errno = 0;
    // in|out opens an existing file only: a workspace file that has gone is
    // not made again behind the operator's back.
    std::fstream out(file, std::ios::in | std::ios::out | std::ios::binary);
    if (out) {
        out.seekp(0, std::ios::end);
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        out.flush();
    }
    const int error = errno;
    if (!out) {
        return fileFailure("无法追加到", file, std::strerror(error));
    }
    return std::nullopt;
}

std::string readUpToZero(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::string text{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    text.resize(std::strlen(text.c_str()));
    return text;
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

// A private folder in the shared temporary folder; one that is a link or
// belongs to somebody else could let another user read or swap our files.
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

WorkspaceTexts Workspace::read() const {
    return {readUpToZero(mainFile()), readUpToZero(subprogramFile())};
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
