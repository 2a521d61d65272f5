#pragma once

#include <string>

namespace tesmara::check {

// A number as G-code writes it, whatever the locale: rounded to `decimals`
// places, trailing zeros dropped, always with a decimal point ("10.", "-0.5").
std::string formatNumber(double value, int decimals = 4);

// The same without a decimal point when the rounded value is whole ("3").
std::string formatShort(double value, int decimals = 3);

}  // namespace tesmara::check
