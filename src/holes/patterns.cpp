#include "holes/patterns.hpp"

#include <cmath>
#include <numbers>

#include "holes/coordinate_text.hpp"

namespace tesmara {

std::vector<HolePoint> boltCirclePoints(const BoltCircle& pattern) {
    std::vector<HolePoint> points;
    if (pattern.count < 1 || pattern.count > kMaxPatternHoles || pattern.diameter < 0.0) {
        return points;
    }
    const double radius = pattern.diameter / 2.0;
    for (int i = 0; i < pattern.count; ++i) {
        const double degrees = pattern.startAngle + 360.0 * i / pattern.count;
        const double angle = degrees * std::numbers::pi / 180.0;
        points.push_back({coordinateText(pattern.centreX + radius * std::cos(angle)),
                          coordinateText(pattern.centreY + radius * std::sin(angle)),
                          {}});
    }
    return points;
}

std::vector<HolePoint> gridPoints(const Grid& pattern) {
    std::vector<HolePoint> points;
    if (pattern.countX < 1 || pattern.countY < 1 ||
        pattern.countX > kMaxPatternHoles / pattern.countY) {
        return points;
    }
    for (int row = 0; row < pattern.countY; ++row) {
        for (int column = 0; column < pattern.countX; ++column) {
            points.push_back({coordinateText(pattern.firstX + column * pattern.pitchX),
                              coordinateText(pattern.firstY + row * pattern.pitchY),
                              {}});
        }
    }
    return points;
}

std::optional<BoltCircle> readBoltCircle(std::span<const std::string> texts, std::size_t& wrong) {
    wrong = texts.size();
    if (texts.size() != 4 && texts.size() != 5) {
        return std::nullopt;
    }
    const auto centreX = parseNumber(texts[0]);
    const auto centreY = parseNumber(texts[1]);
    const auto diameter = parseNumber(texts[2]);
    const auto count = parseCount(texts[3], kMaxPatternHoles);
    const auto start = texts.size() == 5 ? parseNumber(texts[4]) : std::optional(0.0);
    const bool valid[] = {centreX.has_value(), centreY.has_value(),
                          diameter.has_value() && *diameter >= 0.0, count.has_value(),
                          start.has_value()};
    for (std::size_t i = 0; i < texts.size(); ++i) {
        if (!valid[i]) {
            wrong = i;
            return std::nullopt;
        }
    }
    return BoltCircle{*centreX, *centreY, *diameter, *count, *start};
}

std::optional<Grid> readGrid(std::span<const std::string> texts, std::size_t& wrong) {
    wrong = texts.size();
    if (texts.size() != 6) {
        return std::nullopt;
    }
    const auto countX = parseCount(texts[4], kMaxPatternHoles);
    const auto countY = parseCount(texts[5], countX ? kMaxPatternHoles / *countX : 1);
    const std::optional<double> values[] = {parseNumber(texts[0]), parseNumber(texts[1]),
                                            parseNumber(texts[2]), parseNumber(texts[3])};
    for (std::size_t i = 0; i < 4; ++i) {
        if (!values[i]) {
            wrong = i;
            return std::nullopt;
        }
    }
    if (!countX || !countY) {
        wrong = countX ? 5 : 4;
        return std::nullopt;
    }
    return Grid{*values[0], *values[1], *values[2], *values[3], *countX, *countY};
}

}  // namespace tesmara
