#pragma once

#include <ostream>
#include <string>

#include "check/plot.hpp"

namespace tesmara::cli {

// Rasterises the scene with Qt's painter; the only Qt use of tesmara-cli.
int writePng(const check::PlotScene& scene, const std::string& path, std::ostream& err);

}  // namespace tesmara::cli
