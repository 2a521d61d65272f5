#include "check/plot.hpp"

#include <algorithm>
#include <cmath>

#include "check/format.hpp"
#include "check/report.hpp"

namespace tesmara::check {

namespace {

constexpr double kMargin = 28.0;
constexpr double kGap = 36.0;
constexpr double kMinSpan = 1.0;          // mm, so a flat or straight path still has a frame
constexpr double kTolerance = 0.02;       // mm, for the extents
constexpr double kPixelTolerance = 0.25;  // what a drawn arc may stray, in pixels
constexpr double kTopShare = 0.7;         // of the height at most, so the side view keeps room

std::string hex(Rgb c) {
    constexpr char kHex[] = "0123456789abcdef";
    std::string out = "#";
    for (const std::uint8_t v : {c.r, c.g, c.b}) {
        out += kHex[v >> 4];
        out += kHex[v & 0xf];
    }
    return out;
}

std::string extentsCaption(const Summary& s) {
    if (!s.feedExtents.valid) {
        return "no feed moves";
    }
    const Extents& e = s.feedExtents;
    return "feed X " + formatShort(e.min.x) + " to " + formatShort(e.max.x) + ", Y " +
           formatShort(e.min.y) + " to " + formatShort(e.max.y) + ", Z " + formatShort(e.min.z) +
           " to " + formatShort(e.max.z) + "; cycle " + durationText(s.cycleSeconds);
}

const std::vector<Segment>& centrePathOf(const CheckResult& r) {
    return r.centrePath.empty() ? r.segments : r.centrePath;
}

// Under the moves: a band as wide as the tool along each feed of the tool
// centre in the top view, and in the side view the width the tool covers.
void addSweep(const CheckResult& r, PlotScene& scene) {
    const std::vector<Segment>& path = centrePathOf(r);
    const View& top = scene.views[0];
    const View& side = scene.views[1];
    std::vector<Point3> points;
    const std::size_t drawn = std::min(path.size(), kMaxDrawnSegments);
    for (std::size_t i = 0; i < drawn; ++i) {
        const Segment& s = path[i];
        const std::optional<double> d = r.tools.diameter(s.tool);
        if (s.kind != MoveKind::Feed || !d) {
            continue;
        }
        points.clear();
        flattenSegment(s, kTolerance, points);
        Stroke band{{}, kSweptColour, false, false, 0, s.line, *d * top.scale};
        Extents across;
        for (const Point3& p : points) {
            band.xy.push_back(top.px(p));
            band.xy.push_back(top.py(p));
            across.add(p);
        }
        scene.strokes.push_back(std::move(band));
        const double left = side.px({across.min.x - *d / 2, 0, 0});
        const double right = side.px({across.max.x + *d / 2, 0, 0});
        const double low = side.py(across.min) + 1;
        const double high = std::min(side.py(across.max) - 1, low - 2);
        scene.strokes.push_back({{left, low, right, low, right, high, left, high},
                                 kSweptColour,
                                 false,
                                 false,
                                 1,
                                 s.line,
                                 0.0,
                                 true});
    }
}

// Over the moves: where compensation moves the tool centre off the programmed path.
void addToolCentre(const CheckResult& r, PlotScene& scene) {
    std::vector<Point3> points;
    const std::size_t drawn = std::min(r.centrePath.size(), kMaxDrawnSegments);
    for (std::size_t i = 0; i < drawn; ++i) {
        const Segment& s = r.centrePath[i];
        if (s.compensation == Compensation::Off || !r.tools.radius(s.compensationRegister)) {
            continue;
        }
        points.clear();
        flattenSegment(s, kTolerance, points);
        for (int v = 0; v < 2; ++v) {
            Stroke stroke{{}, kToolCentreColour, s.kind == MoveKind::Rapid, false, v, s.line};
            for (const Point3& p : points) {
                stroke.xy.push_back(scene.views[v].px(p));
                stroke.xy.push_back(scene.views[v].py(p));
            }
            scene.strokes.push_back(std::move(stroke));
        }
    }
}

std::string strokeElement(const Stroke& s) {
    std::string out;
    if (s.filled) {
        out = "<polygon fill=\"" + hex(s.colour) + "\"";
    } else if (s.band > 0.0) {
        out = "<polyline fill=\"none\" stroke=\"" + hex(s.colour) + "\" stroke-width=\"" +
              formatShort(s.band, 2) + "\" stroke-linecap=\"round\" stroke-linejoin=\"round\"";
    } else {
        out = "<polyline fill=\"none\" stroke=\"" + hex(s.colour) + "\"" +
              (s.dashed ? " stroke-dasharray=\"4 3\"" : "") + (s.wide ? " stroke-width=\"2\"" : "");
    }
    out += " points=\"";
    for (std::size_t i = 0; i < s.xy.size(); i += 2) {
        out += (i ? " " : "") + formatShort(s.xy[i], 2) + "," + formatShort(s.xy[i + 1], 2);
    }
    return out + "\"/>\n";
}

}  // namespace

Rgb depthColour(double z, double top, double bottom) {
    const double span = top - bottom;
    const double t = span > 0.0 ? std::clamp((top - z) / span, 0.0, 1.0) : 1.0;
    return {static_cast<std::uint8_t>(40 + 200 * t), static_cast<std::uint8_t>(170 - 140 * t),
            static_cast<std::uint8_t>(60 - 30 * t)};
}

void flattenSegment(const Segment& s, double tolerance, std::vector<Point3>& out) {
    out.push_back(s.start);
    if (s.shape == Shape::Arc) {
        const double step = 2.0 * std::acos(std::max(0.0, 1.0 - tolerance / s.radius));
        const int n = std::clamp(
            static_cast<int>(std::ceil(std::fabs(s.sweep) / std::max(step, 1e-3))), 2, 720);
        for (int i = 1; i < n; ++i) {
            const double t = static_cast<double>(i) / n;
            const double a = s.startAngle + t * s.sweep;
            out.push_back({s.centreX + s.radius * std::cos(a), s.centreY + s.radius * std::sin(a),
                           s.start.z + t * (s.end.z - s.start.z)});
        }
    }
    out.push_back(s.end);
}

Extents moveExtents(const std::vector<Segment>& segments) {
    Extents e;
    std::vector<Point3> points;
    for (const Segment& s : segments) {
        points.clear();
        flattenSegment(s, kTolerance * 10, points);
        for (const Point3& p : points) {
            e.add(p);
        }
    }
    return e;
}

Extents sweptExtents(const CheckResult& result) {
    const std::vector<Segment>& path = centrePathOf(result);
    Extents e;
    std::vector<Point3> points;
    for (std::size_t i = 0; i < std::min(path.size(), kMaxDrawnSegments); ++i) {
        const Segment& s = path[i];
        const std::optional<double> d = result.tools.diameter(s.tool);
        if (s.kind != MoveKind::Feed || !d) {
            continue;
        }
        points.clear();
        flattenSegment(s, kTolerance * 10, points);
        for (const Point3& p : points) {
            e.add({p.x - *d / 2, p.y - *d / 2, p.z});
            e.add({p.x + *d / 2, p.y + *d / 2, p.z});
        }
    }
    return e;
}

std::vector<View> layoutViews(const Extents& e, double width, double height) {
    const Point3 lo = e.valid ? e.min : Point3{};
    const Point3 hi = e.valid ? e.max : Point3{};
    const double dx = std::max(hi.x - lo.x, kMinSpan);
    const double dy = std::max(hi.y - lo.y, kMinSpan);
    const double dz = std::max(hi.z - lo.z, kMinSpan);
    const double usable = std::max(1.0, height - 2 * kMargin - kGap);
    const double scale =
        std::max(1e-6, std::min((width - 2 * kMargin) / dx, kTopShare * usable / dy));
    const double sideHeight = usable - dy * scale;
    View top{View::Kind::Top, kMargin, kMargin, dx * scale, dy * scale, scale, scale, lo.x, lo.y};
    View side{View::Kind::Side, kMargin,    kMargin + dy * scale + kGap,
              dx * scale,       sideHeight, scale,
              sideHeight / dz,  lo.x,       lo.z};
    return {top, side};
}

PlotScene buildScene(const CheckResult& result, double width, double height) {
    Extents frame = moveExtents(result.segments);
    if (const Extents swept = sweptExtents(result); swept.valid) {
        frame.add(swept.min);
        frame.add(swept.max);
    }
    return buildScene(result, width, height, frame);
}

PlotScene buildScene(const CheckResult& result, double width, double height, const Extents& frame) {
    PlotScene scene{width, height, layoutViews(frame, width, height), {}, {}};
    const View& top = scene.views[0];
    const View& side = scene.views[1];
    const double stretch = side.vscale / side.scale;
    scene.labels.push_back({"top view (X, Y)", top.left, top.top - 8});
    scene.labels.push_back(
        {"side view (X, Z" + (std::fabs(stretch - 1.0) > 0.01
                                  ? ", Z drawn " + formatShort(stretch, 1) + " times larger)"
                                  : std::string(")")),
         side.left, side.top - 8});
    scene.labels.push_back({extentsCaption(result.summary), kMargin, height - 8});
    const Summary& sum = result.summary;
    const double cutTop = sum.feedExtents.valid ? sum.feedExtents.max.z : 0.0;
    const double cutBottom = sum.feedExtents.valid ? sum.feedExtents.min.z : 0.0;
    const std::size_t drawn = std::min(result.segments.size(), kMaxDrawnSegments);
    if (static_cast<std::int64_t>(drawn) < sum.moves) {
        scene.labels.push_back(
            {"first " + std::to_string(drawn) + " of " + std::to_string(sum.moves) + " moves drawn",
             kMargin, height - 22});
    }
    const std::size_t under = scene.strokes.size();
    addSweep(result, scene);
    if (scene.strokes.size() > under) {
        scene.labels.push_back({"shaded: swept by the tool; blue: tool centre where compensated",
                                top.left + top.width / 2, top.top - 8});
    }
    // The arcs lie in X and Y, which both views draw at the same scale.
    const double tolerance = kPixelTolerance / top.scale;
    std::vector<Point3> points;
    for (std::size_t i = 0; i < drawn; ++i) {
        const Segment& s = result.segments[i];
        points.clear();
        flattenSegment(s, tolerance, points);
        const bool rapid = s.kind == MoveKind::Rapid;
        const Rgb colour =
            rapid ? kRapidColour : depthColour(std::min(s.start.z, s.end.z), cutTop, cutBottom);
        for (int v = 0; v < 2; ++v) {
            Stroke stroke{{}, colour, rapid, s.compensation != Compensation::Off, v, s.line};
            for (const Point3& p : points) {
                stroke.xy.push_back(scene.views[v].px(p));
                stroke.xy.push_back(scene.views[v].py(p));
            }
            scene.strokes.push_back(std::move(stroke));
        }
    }
    addToolCentre(result, scene);
    constexpr double kCross = 5.0;
    for (const Point3& o : sum.localOrigins) {
        const double x = top.px(o);
        const double y = top.py(o);
        scene.strokes.push_back(
            {{x - kCross, y, x + kCross, y}, kCentreColour, false, false, 0, 0});
        scene.strokes.push_back(
            {{x, y - kCross, x, y + kCross}, kCentreColour, false, false, 0, 0});
    }
    return scene;
}

std::string renderSvg(const PlotScene& scene) {
    std::string out = "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" +
                      formatShort(scene.width) + "\" height=\"" + formatShort(scene.height) +
                      "\" font-family=\"sans-serif\" font-size=\"12\">\n"
                      "<rect width=\"100%\" height=\"100%\" fill=\"white\"/>\n";
    for (const View& v : scene.views) {
        out += "<rect x=\"" + formatShort(v.left, 1) + "\" y=\"" + formatShort(v.top, 1) +
               "\" width=\"" + formatShort(v.width, 1) + "\" height=\"" + formatShort(v.height, 1) +
               "\" fill=\"none\" stroke=\"#dddddd\"/>\n";
    }
    for (const Stroke& s : scene.strokes) {
        out += strokeElement(s);
    }
    for (const TextLabel& l : scene.labels) {
        out += "<text x=\"" + formatShort(l.x, 1) + "\" y=\"" + formatShort(l.y, 1) + "\">" +
               l.text + "</text>\n";
    }
    return out + "</svg>\n";
}

}  // namespace tesmara::check
