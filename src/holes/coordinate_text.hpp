#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace tesmara {

// A computed or imported coordinate as the operator would type it: a decimal
// point always, at most three decimals, no trailing zeros ("50.", "35.355",
// "-0.5"); a value that rounds to zero is "0.", never "-0.".
std::string coordinateText(double value);

// A finite decimal number, blanks around it allowed ("12", "-3.5", "+.5",
// "1e3"); nothing for anything else.
std::optional<double> parseNumber(std::string_view text);

// A whole number from 1 to `largest`; nothing for anything else.
std::optional<int> parseCount(std::string_view text, int largest);

// `text` without blanks, tabs and line ends at either side.
std::string_view trimmed(std::string_view text);

}  // namespace tesmara
