#pragma once

#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "operations/multi/multi_hole.hpp"

namespace tesmara {

// More holes than this from one pattern is a typing slip, not a drawing.
constexpr int kMaxPatternHoles = 1000;

// Holes evenly spaced on a circle, counter-clockwise from the start angle
// (degrees, 0 along +X).
struct BoltCircle {
    double centreX = 0.0;
    double centreY = 0.0;
    double diameter = 0.0;
    int count = 1;
    double startAngle = 0.0;
};

// Rows of holes from the first one: X steps by pitchX along a row, rows step
// by pitchY; row after row.
struct Grid {
    double firstX = 0.0;
    double firstY = 0.0;
    double pitchX = 0.0;
    double pitchY = 0.0;
    int countX = 1;
    int countY = 1;
};

// The holes' coordinates as texts (coordinateText); empty when the counts are
// outside 1..kMaxPatternHoles or the diameter is negative.
std::vector<HolePoint> boltCirclePoints(const BoltCircle& pattern);
std::vector<HolePoint> gridPoints(const Grid& pattern);

// A pattern from the operator's texts, in the order of the members above; the
// start angle may be left out (0). On failure `wrong` is the index of the
// first text that cannot be used, or texts.size() when their number is wrong.
std::optional<BoltCircle> readBoltCircle(std::span<const std::string> texts, std::size_t& wrong);
std::optional<Grid> readGrid(std::span<const std::string> texts, std::size_t& wrong);

}  // namespace tesmara
