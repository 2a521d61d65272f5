#include "check/format.hpp"

#include <charconv>
#include <cmath>

namespace tesmara::check {

std::string formatNumber(double value, int decimals) {
    const double scale = std::pow(10.0, decimals);
    // Past 2^52 every double is whole: scaling it could only overflow.
    double rounded = std::fabs(value) < 0x1p52 ? std::round(value * scale) / scale : value;
    if (rounded == 0.0) {
        rounded = 0.0;  // no "-0."
    }
    // The largest double has 309 digits before the point.
    char buffer[400];
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
