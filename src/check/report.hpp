#pragma once

#include <string>

#include "check/check.hpp"

namespace tesmara::check {

// The summary and the diagnostics as an operator reads them.
std::string textReport(const CheckResult& result, const CheckOptions& options);

// The same for other programs; code ids are stable.
std::string jsonReport(const CheckResult& result, const CheckOptions& options);

// "1 min 23 s", "12 s".
std::string durationText(double seconds);

// "O100 line 12, column 5" (the column only when known).
std::string whereText(const Diagnostic& d);

}  // namespace tesmara::check
