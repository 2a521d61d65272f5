#pragma once

#include <string>

#include "check/plot.hpp"

namespace tesmara::cli {

// Whether this build draws PNG pictures (it needs Qt).
bool pngSupported();

// Rasterises the scene with Qt's painter into PNG bytes (empty if encoding
// fails); the only Qt use of tesmara-cli.
std::string renderPng(const check::PlotScene& scene);

}  // namespace tesmara::cli
