#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "holes/import_problem.hpp"

namespace tesmara {

struct DxfCircle {
    double x = 0.0;
    double y = 0.0;
    double diameter = 0.0;
    int line = 0;  // line of its "CIRCLE" in the file; 0 when not known
};

struct DxfCircles {
    std::vector<DxfCircle> circles;
    std::vector<ImportProblem> problems;
};

// The circles drawn in model space of a DXF text (circles inside block
// definitions are not holes of the drawing). The only file that knows the DXF
// library, so that a build without it can leave it out.
DxfCircles readDxfCircles(const std::string& bytes);

}  // namespace tesmara
