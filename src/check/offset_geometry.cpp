#include "check/offset_geometry.hpp"

#include <cmath>
#include <numbers>

namespace tesmara::check {

namespace {

constexpr double kTwoPi = 2 * std::numbers::pi;
constexpr double kSame = 1e-7;  // mm

Vec unit(Vec a) {
    const double n = norm(a);
    return n > 0.0 ? (1.0 / n) * a : Vec{};
}

Vec arcTangent(const Segment& s, double angle) {
    const Vec t{-std::sin(angle), std::cos(angle)};
    return s.clockwise ? -1.0 * t : t;
}

std::optional<Vec> lineLine(const OffsetCurve& a, const OffsetCurve& b) {
    const double d = cross(a.direction, b.direction);
    if (std::fabs(d) < 1e-12) {
        return std::nullopt;
    }
    const double t = cross(b.point - a.point, b.direction) / d;
    return a.point + t * a.direction;
}

// Both points where a line meets a circle, nearest to `near` first.
std::optional<Vec> lineCircle(const OffsetCurve& line, const OffsetCurve& c, Vec near) {
    const Vec f = line.point - c.centre;
    const Vec d = unit(line.direction);
    const double b = dot(f, d);
    const double disc = b * b - (dot(f, f) - c.radius * c.radius);
    if (disc < -kSame) {
        return std::nullopt;
    }
    const double root = std::sqrt(std::max(0.0, disc));
    const Vec p1 = line.point + (-b - root) * d;
    const Vec p2 = line.point + (-b + root) * d;
    return norm(p1 - near) <= norm(p2 - near) ? p1 : p2;
}

std::optional<Vec> circleCircle(const OffsetCurve& a, const OffsetCurve& b, Vec near) {
    const Vec between = b.centre - a.centre;
    const double d = norm(between);
    if (d < kSame || d > a.radius + b.radius + kSame ||
        d < std::fabs(a.radius - b.radius) - kSame) {
        return std::nullopt;
    }
    const double along = (d * d + a.radius * a.radius - b.radius * b.radius) / (2 * d);
    const double h = std::sqrt(std::max(0.0, a.radius * a.radius - along * along));
    const Vec u = (1.0 / d) * between;
    const Vec mid = a.centre + along * u;
    const Vec p1 = mid + h * leftOf(u);
    const Vec p2 = mid - h * leftOf(u);
    return norm(p1 - near) <= norm(p2 - near) ? p1 : p2;
}

}  // namespace

double norm(Vec a) {
    return std::hypot(a.x, a.y);
}

Vec startTangent(const Segment& s) {
    return s.shape == Shape::Arc ? arcTangent(s, s.startAngle) : unit(xy(s.end) - xy(s.start));
}

Vec endTangent(const Segment& s) {
    return s.shape == Shape::Arc ? arcTangent(s, s.startAngle + s.sweep)
                                 : unit(xy(s.end) - xy(s.start));
}

std::optional<Vec> meet(const OffsetCurve& a, const OffsetCurve& b, Vec near) {
    if (!a.circle && !b.circle) {
        return lineLine(a, b);
    }
    if (!a.circle) {
        return lineCircle(a, b, near);
    }
    if (!b.circle) {
        return lineCircle(b, a, near);
    }
    return circleCircle(a, b, near);
}

void setArc(Segment& s, Vec centre, Vec from, Vec to, bool full) {
    s.shape = Shape::Arc;
    s.centreX = centre.x;
    s.centreY = centre.y;
    s.radius = norm(from - centre);
    s.startAngle = std::atan2(from.y - centre.y, from.x - centre.x);
    double sweep = std::atan2(to.y - centre.y, to.x - centre.x) - s.startAngle;
    if (full && norm(to - from) < kSame) {
        sweep = 0.0;
    }
    while (s.clockwise ? sweep >= 0.0 : sweep <= 0.0) {
        sweep += s.clockwise ? -kTwoPi : kTwoPi;
    }
    // A tiny overshoot past the start is a whole turn only when the move was one.
    if (!full && std::fabs(sweep) > kTwoPi - 1e-9) {
        sweep = 0.0;
    }
    s.sweep = sweep;
    s.start.x = from.x;
    s.start.y = from.y;
    s.end.x = to.x;
    s.end.y = to.y;
}

}  // namespace tesmara::check
