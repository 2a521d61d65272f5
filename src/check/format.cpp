#include "check/format.hpp"

#include <charconv>
#include <cmath>

namespace tesmara::check {

std::string formatNumber(double value, int decimals) {
    const double scale = std::pow(10.0, decimals);
    double rounded = std::round(value * scale) / scale;
    if (rounded == 0.0) {
        rounded = 0.0;  // no "-0."
    }
    char buffer[64];
    const auto [end, ec] =
        std::to_chars(buffer, buffer + sizeof buffer, rounded, std::chars_format::fixed, decimals);
    std::string text(buffer, ec == std::errc() ? end : buffer);
    if (text.find('.') == std::string::npos) {
        return text + ".";
    }
    while (text.back() == '0') {
        text.pop_back();
    }
    return text;
}

std::string formatShort(double value, int decimals) {
    std::string text = formatNumber(value, decimals);
    if (text.back() == '.') {
        text.pop_back();
    }
    return text;
}

}  // namespace tesmara::check
