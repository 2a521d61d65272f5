#include "holes/coordinate_text.hpp"

#include <charconv>
#include <cmath>
#include <cstdio>

namespace tesmara {

std::string coordinateText(double value) {
    double rounded = std::round(value * 1000.0) / 1000.0;
    if (rounded == 0.0) {
        rounded = 0.0;  // drops the sign of -0
    }
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.3f", rounded);
    std::string text = buffer;
    while (text.back() == '0') {
        text.pop_back();
    }
    return text;
}

std::string_view trimmed(std::string_view text) {
    constexpr std::string_view kBlanks = " \t\r\n";
    const std::size_t first = text.find_first_not_of(kBlanks);
    if (first == std::string_view::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(kBlanks) - first + 1);
}

std::optional<double> parseNumber(std::string_view text) {
    text = trimmed(text);
    if (text.starts_with('+')) {
        text.remove_prefix(1);
    }
    if (text.empty()) {
        return std::nullopt;
    }
    double value = 0.0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc{} || end != text.data() + text.size() || !std::isfinite(value)) {
        return std::nullopt;
    }
    return value;
}

std::optional<int> parseCount(std::string_view text, int largest) {
    text = trimmed(text);
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc{} || end != text.data() + text.size() || value < 1 ||
        value > largest) {
        return std::nullopt;
    }
    return value;
}

}  // namespace tesmara
