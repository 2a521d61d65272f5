#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "app/file_write.hpp"
#include "operations/catalog.hpp"

namespace tesmara {

// The bytes "出程序" writes to the chosen file: the program slot framed as a
// program file, and for a multi-hole window its subprogram with the file ending.
std::string savedFileBytes(const Operation& op, std::string_view programSlot,
                           const FieldValues& fields, const GlobalSettings& settings);

// The subprogram a multi-hole window adds to the workspace subprogram file,
// markers replaced. Always the workspace ending, also on "出程序": a "%" in the
// middle of a consolidated file would end it there.
std::string workspaceSubprogram(const Operation& op, const FieldValues& fields,
                                const GlobalSettings& settings);

// Whether `text` ends in `suffix`, ignoring the letter case of ASCII letters.
bool endsWithIgnoringCase(std::string_view text, std::string_view suffix);

// The file "出程序" and "汇出" write for the name confirmed in the save dialog:
// the name with ".NC" added unless it already ends so, in any letter case.
std::string outputPathFor(std::string_view confirmedName);

// The operator's message for a file that failed: what was tried, the file and
// the system's reason, e.g. "无法写入 /a/b.NC：Permission denied".
std::string fileFailure(std::string_view what, const std::filesystem::path& file,
                        std::string_view reason);

// A path from UTF-8 text, whatever the platform's own encoding is.
std::filesystem::path utf8Path(std::string_view text);
std::string pathText(const std::filesystem::path& path);

// The reason a file was not written, as the desktop program tells it.
std::string chineseReason(const FileFailure& failure);

}  // namespace tesmara
