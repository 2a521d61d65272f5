#include "app/app_state.hpp"

namespace tesmara {

AppState::AppState(Workspace workspace) : workspace(std::move(workspace)) {}

// A window's state starts empty on first use, which is the same as starting
// empty at start-up, and lets a window be built from any operation table.
WindowState& AppState::window(const Operation& op) {
    return m_windows[&op];
}

}  // namespace tesmara
