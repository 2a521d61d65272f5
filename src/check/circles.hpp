#pragma once

#include "check/check.hpp"

namespace tesmara::check {

// The summary's circle cuts: feed arcs about one centre that add up to full
// turns at one radius, widened by the diameter of the tool cutting them.
void summariseCircles(const ToolTable& tools, CheckResult& result);

}  // namespace tesmara::check
