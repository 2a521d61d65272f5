#pragma once

#include <string>
#include <vector>

#include "operations/multi/multi_hole.hpp"

namespace tesmara {

// Why a line of an imported file, or a pattern's value, gives no hole. The
// windows and the command line word these themselves.
enum class ImportError {
    FileUnreadable,      // detail: the system's reason
    NotRegularFile,      // a folder, pipe or device, which reading could hang on
    NoXYColumns,         // a header without an X or a Y column
    UnknownColumn,       // detail: the column's name
    RepeatedColumn,      // detail: the column's name
    TooManyCells,        // more cells than the header names
    MissingCoordinate,   // detail: "X" or "Y"
    NotANumber,          // detail: the text
    NoCircles,           // a drawing without any CIRCLE
    BadRadius,           // detail: the radius
    NoCircleOfDiameter,  // detail: the diameter asked for
    DxfNotBuiltIn,       // this build reads no drawings
    BadPatternValue,     // detail: the name of the pattern's value
};

struct ImportProblem {
    int line = 0;  // 1-based line of the file; 0 for the whole file
    ImportError error = ImportError::FileUnreadable;
    std::string detail;
};

// What a file offers: the holes that could be read, in file order, and why
// the others could not. Nothing is added until the operator confirms.
struct HoleImport {
    std::vector<HolePoint> points;
    std::vector<ImportProblem> problems;
};

}  // namespace tesmara
