#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "check/check.hpp"

namespace tesmara::check {

struct Rgb {
    std::uint8_t r = 0;
    std::uint8_t g = 0;
    std::uint8_t b = 0;
};

// Feed moves from green at the top of the cut to red at its deepest point.
Rgb depthColour(double z, double top, double bottom);
constexpr Rgb kRapidColour{150, 150, 150};
constexpr Rgb kCentreColour{30, 60, 200};      // crosses on the local zeros (hole centres)
constexpr Rgb kToolCentreColour{0, 110, 230};  // the tool centre where compensation moves it
constexpr Rgb kSweptColour{250, 215, 150};     // the area the tool sweeps

// Points along a segment, no farther than `tolerance` mm from the true arc.
void flattenSegment(const Segment& s, double tolerance, std::vector<Point3>& out);

// Every point the moves pass through, arcs included, rapids as well as feeds.
Extents moveExtents(const std::vector<Segment>& segments);

// What the tool sweeps on its feed moves, where the tool table knows it.
Extents sweptExtents(const CheckResult& result);

// A view maps work coordinates to pixels (y down): the top view shows X and
// Y, the side view X and Z.
struct View {
    enum class Kind { Top, Side } kind = Kind::Top;
    double left = 0.0;  // pixel frame of the view
    double top = 0.0;
    double width = 0.0;
    double height = 0.0;
    double scale = 1.0;   // pixels per mm along X (and Y in the top view)
    double vscale = 1.0;  // pixels per mm upwards; the side view stretches Z to fill its frame
    double minX = 0.0;    // work coordinates at the frame's lower left corner
    double minV = 0.0;    // Y (top view) or Z (side view)

    double px(const Point3& p) const { return left + (p.x - minX) * scale; }
    double py(const Point3& p) const {
        return top + height - ((kind == Kind::Top ? p.y : p.z) - minV) * vscale;
    }
};

struct Stroke {
    std::vector<double> xy;  // pixel x, y pairs
    Rgb colour;
    bool dashed = false;  // rapids
    bool wide = false;    // moves under cutter compensation (G41/G42), drawn as programmed
    int view = 0;         // index into PlotScene::views
    int line = 0;         // source line, to select it from a drawing; 0 for marks
    double band = 0.0;    // pixels: drawn as wide as the tool, under the moves
    bool filled = false;  // a closed outline, filled: the tool's width in the side view
};

struct TextLabel {
    std::string text;
    double x = 0.0;
    double y = 0.0;
};

// Everything a drawing needs, in pixels: the top view true to scale above the
// side view, which shares its X so the two line up, strokes, crosses on the local zeros and
// captions with the extents.
struct PlotScene {
    double width = 0.0;
    double height = 0.0;
    std::vector<View> views;
    std::vector<Stroke> strokes;
    std::vector<TextLabel> labels;
};

// A program that never ends runs up to the block limit, often the same loop a
// hundred thousand times; a drawing shows its first moves, which show that
// loop, and says how many it left out.
constexpr std::size_t kMaxDrawnSegments = 50'000;

// The two views over the extents of every move, fitted into width × height.
std::vector<View> layoutViews(const Extents& extents, double width, double height);

PlotScene buildScene(const CheckResult& result, double width, double height);
// The same with the views fitted to `frame` instead: moves outside it run out
// of their views, so a drawing can show the cut large and the approach from
// the reference point only as far as it fits.
PlotScene buildScene(const CheckResult& result, double width, double height, const Extents& frame);

std::string renderSvg(const PlotScene& scene);

}  // namespace tesmara::check
