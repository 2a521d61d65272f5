#include "app/output.hpp"

#include <algorithm>
#include <atomic>
#include <cctype>
#include <cerrno>
#include <cstring>
#include <fstream>

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

namespace {

fs::path temporaryBeside(const fs::path& target) {
    static std::atomic<unsigned> counter{0};
    for (;;) {
        fs::path candidate = target;
        candidate += ".tmp" + std::to_string(++counter);
        std::error_code ignored;
        if (!fs::exists(candidate, ignored)) {
            return candidate;
        }
    }
}

}  // namespace

std::optional<std::string> writeFileAtomically(const fs::path& path, std::string_view bytes) {
    return writeFileAtomically(path, [bytes](std::ostream& out) {
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    });
}

std::optional<std::string> writeFileAtomically(const fs::path& path,
                                               const std::function<void(std::ostream&)>& write) {
    const fs::path temporary = temporaryBeside(path);
    std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
    if (!out) {
        return std::strerror(errno);
    }
    write(out);
    out.flush();
    const int writeError = errno;
    out.close();
    std::error_code ec;
    if (!out) {
        fs::remove(temporary, ec);
        return std::strerror(writeError);
    }
    fs::rename(temporary, path, ec);
    if (ec) {
        std::error_code ignored;
        fs::remove(temporary, ignored);
        return ec.message();
    }
    return std::nullopt;
}

}  // namespace tesmara
