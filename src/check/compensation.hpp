#pragma once

#include "check/check.hpp"

namespace tesmara::check {

// The tool centre path of the executed moves, with G41/G42 applied from the
// tool table, into result.centrePath; a start-up, corner or arc the control
// would refuse or gouge adds an error and ends the path there. Registers the
// table lacks are left as programmed and listed in the summary.
void compensate(const ToolTable& tools, CheckResult& result);

}  // namespace tesmara::check
