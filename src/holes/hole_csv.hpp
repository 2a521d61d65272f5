#pragma once

#include <string_view>

#include "holes/import_problem.hpp"
#include "operations/operation.hpp"

namespace tesmara {

// One hole a line: X and Y, then optional per-hole texts. Cells are separated
// by commas, semicolons or tabs. A first line that does not start with a
// number names the columns: X and Y (or coordX, 坐标X, …) and any per-hole
// field of `op` by field or control name (finalDepth or 最终深度). Empty cells
// keep the window's current text; blank lines and lines starting with "#" are
// skipped. Coordinates become coordinateText, the other cells stay as written.
HoleImport readHoleCsv(std::string_view text, const Operation& op);

}  // namespace tesmara
