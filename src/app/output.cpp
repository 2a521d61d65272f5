#include "app/output.hpp"

#include <algorithm>
#include <cctype>

#include "program/layout.hpp"
#include "program/text.hpp"

namespace tesmara {

namespace fs = std::filesystem;

std::string savedFileBytes(const Operation& op, std::string_view programSlot,
                           const FieldValues& fields, const GlobalSettings& settings) {
    if (op.multiHole == nullptr) {
        return singleProgramFile(programSlot);
    }
    const std::string subprogram =
        buildSubprogram(*op.multiHole, fields, settings.safeHeight, SubprogramEnding::File);
    return fileWithSubprogram(programSlot, replaceLineMarkers(subprogram));
}

std::string workspaceSubprogram(const Operation& op, const FieldValues& fields,
                                const GlobalSettings& settings) {
    return replaceLineMarkers(
        buildSubprogram(*op.multiHole, fields, settings.safeHeight, SubprogramEnding::Workspace));
}

bool endsWithIgnoringCase(std::string_view text, std::string_view suffix) {
    const auto lower = [](char c) { return std::tolower(static_cast<unsigned char>(c)); };
    return text.size() >= suffix.size() &&
           std::equal(suffix.begin(), suffix.end(), text.end() - suffix.size(),
                      [&](char a, char b) { return lower(a) == lower(b); });
}

std::string outputPathFor(std::string_view confirmedName) {
    constexpr std::string_view kExtension = ".NC";
    std::string path(confirmedName);
    if (!endsWithIgnoringCase(path, kExtension)) {
        path += kExtension;
    }
    return path;
}

std::string fileFailure(std::string_view what, const fs::path& file, std::string_view reason) {
    std::string text(what);
    text += " ";
    text += pathText(file);
    text += "：";
    text += reason;
    return text;
}

fs::path utf8Path(std::string_view text) {
    return fs::path(std::u8string(text.begin(), text.end()));
}

std::string pathText(const fs::path& path) {
    const std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
}

std::string chineseReason(const FileFailure& failure) {
    switch (failure.refusal) {
        case FileRefusal::None:
            return failure.systemReason;
        case FileRefusal::ReadOnly:
            return "文件是只读的，不能替换";
        case FileRefusal::Folder:
            return "这是一个文件夹，不是文件";
        case FileRefusal::Device:
            return "这是一个设备，不是文件";
        case FileRefusal::Fifo:
            return "这是一个命名管道（FIFO），不是文件";
        case FileRefusal::Socket:
            return "这是一个套接字，不是文件";
        case FileRefusal::NotRegular:
            return "这不是普通文件";
        case FileRefusal::BrokenLink:
            return "这是一个符号链接，它指向的文件不存在";
        case FileRefusal::InUse:
            return "文件正被另一个程序打开";
    }
    return failure.systemReason;
}

}  // namespace tesmara
