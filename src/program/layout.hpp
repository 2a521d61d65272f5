#pragma once

#include <string>
#include <string_view>

namespace tesmara {

// Every program file starts with these two lines; the main program is always O100.
constexpr std::string_view kProgramFileStart = "%\r\nO100\r\n";
// What the workspace main file holds right after it is reset.
constexpr std::string_view kWorkspaceMainStart = "O100\r\n";

// "出程序" of a single-operation window.
std::string singleProgramFile(std::string_view programSlot);

// "出程序" of a multi-hole window; the subprogram already carries its closing "%".
std::string fileWithSubprogram(std::string_view programSlot, std::string_view subprogram);

// "汇出": everything collected in the workspace between two "%" lines.
std::string consolidatedFile(std::string_view workspaceMain, std::string_view workspaceSubprograms);

}  // namespace tesmara
