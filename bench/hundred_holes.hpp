#pragma once

#include <string>

#include "operations/catalog.hpp"
#include "operations/multi/multi_hole.hpp"

namespace tesmara {

// The fields of a "多孔螺纹铣" window after its hundredth hole.
inline FieldValues hundredThreadHoleFields() {
    return {
        {"toolNumber", "5"},
        {"spindleSpeed", "2500"},
        {"feedRate", "400"},
        {"subprogramNumber", "8100"},
        {"finalDepth", "15"},
        {"planeHeight", "0"},
        {"threadMinorDiameter", "8.5"},
        {"threadMajorDiameter", "10"},
        {"threadDepthOfCut", "0.3"},
        {"threadPitch", "1.5"},
        {"toolRadius", "3"},
        {"coordX", "180."},
        {"coordY", "180."},
    };
}

// A hundred thread holes on a 20 mm grid.
inline MultiHoleState hundredThreadHoles() {
    const Operation& op = *findOperation("multi-thread");
    FieldValues fields = hundredThreadHoleFields();
    MultiHoleState holes;
    for (int i = 0; i < 100; ++i) {
        fields["coordX"] = std::to_string(20 * (i % 10)) + ".";
        fields["coordY"] = std::to_string(20 * (i / 10)) + ".";
        addHole(holes, *op.multiHole, fields);
    }
    return holes;
}

}  // namespace tesmara
