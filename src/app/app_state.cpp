#include "app/app_state.hpp"

#include <stdexcept>

namespace tesmara {

namespace {

std::size_t catalogIndex(const Operation& op) {
    const auto all = catalog();
    for (std::size_t i = 0; i < all.size(); ++i) {
        if (all[i] == &op) {
            return i;
        }
    }
    throw std::logic_error("operation not in the catalog: " + std::string(op.id));
}

}  // namespace

WindowState& AppState::window(const Operation& op) { return m_windows[catalogIndex(op)]; }

const WindowState& AppState::window(const Operation& op) const {
    return m_windows[catalogIndex(op)];
}

}  // namespace tesmara
