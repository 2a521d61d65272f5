#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "operations/catalog.hpp"

namespace tesmara {

// What belongs to one operation window but outlives it.
struct WindowState {
    std::string programSlot;  // the last generated program, markers replaced
    std::int32_t appendLatch = 0;
    MultiHoleState holes;  // used by the multi-hole windows only
};

// The process-wide state, owned by main and handed to every window.
class AppState {
public:
    AppState() : m_windows(catalog().size()) {}

    GlobalSettings settings;

    WindowState& window(const Operation& op);
    const WindowState& window(const Operation& op) const;

private:
    std::vector<WindowState> m_windows;  // in catalog order
};

}  // namespace tesmara
