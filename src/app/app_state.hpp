#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>

#include "app/workspace.hpp"
#include "check/check.hpp"
#include "check/tool_table.hpp"
#include "operations/catalog.hpp"

namespace tesmara {

// What belongs to one operation window but outlives it.
struct WindowState {
    std::string programSlot;  // the last generated program, markers replaced
    // Multi-hole windows: the subprogram the slot calls, as the same Generate
    // built it, so that the preview can run the holes.
    std::string calledSubprogram;
    std::int32_t appendLatch = 0;
    MultiHoleState holes;  // used by the multi-hole windows only
};

// The process-wide state, owned by main and handed to every window.
class AppState {
public:
    explicit AppState(Workspace workspace = {});

    GlobalSettings settings;
    Workspace workspace;
    WorkspaceTexts exported;  // what "汇出" read from the workspace
    // Why start-up could not reset the workspace: its files may hold another
    // run's programs, so nothing is added to them or exported from them.
    std::optional<std::string> workspaceProblem;
    bool previewHidden = false;          // the operator hid the toolpath preview for this run
    check::CheckOptions previewOptions;  // how the preview runs a program
    check::ToolTable tools;              // the operator's, kept per user by the desktop program

    WindowState& window(const Operation& op);

private:
    std::map<const Operation*, WindowState> m_windows;
};

}  // namespace tesmara
