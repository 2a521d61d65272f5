#pragma once

#include <string>

namespace tesmara {

// The two values every generator pastes into its programs; they live for the
// run only and start from these defaults.
struct GlobalSettings {
    std::string safeHeight = "30.";
    std::string workOffset = "54";
};

}  // namespace tesmara
