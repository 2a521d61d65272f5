#pragma once

#include <span>
#include <string_view>

#include "operations/multi/multi_hole.hpp"
#include "operations/operation.hpp"

namespace tesmara {

// One file each under single/ and multi/.
extern const Operation kCircleHole;
extern const Operation kFace;
extern const Operation kLongFace;
extern const Operation kThread;
extern const Operation kRingGroove;
extern const Operation kAngledHole;
extern const Operation kMultiHole;
extern const Operation kMultiThread;
extern const Operation kMultiRingGroove;
extern const Operation kMultiAngled;

// The ten operations in the main window's launcher order.
std::span<const Operation* const> catalog();

const Operation* findOperation(std::string_view id);

}  // namespace tesmara
