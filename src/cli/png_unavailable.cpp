#include "cli/png.hpp"

namespace tesmara::cli {

// Built without Qt: pictures are SVG only.
bool pngSupported() {
    return false;
}

std::string renderPng(const check::PlotScene&) {
    return {};
}

}  // namespace tesmara::cli
