#pragma once

#include <optional>

#include "check/check.hpp"

namespace tesmara::check {

struct Vec {
    double x = 0.0;
    double y = 0.0;
};

inline Vec operator+(Vec a, Vec b) {
    return {a.x + b.x, a.y + b.y};
}
inline Vec operator-(Vec a, Vec b) {
    return {a.x - b.x, a.y - b.y};
}
inline Vec operator*(double k, Vec a) {
    return {k * a.x, k * a.y};
}
inline double dot(Vec a, Vec b) {
    return a.x * b.x + a.y * b.y;
}
inline double cross(Vec a, Vec b) {
    return a.x * b.y - a.y * b.x;
}
double norm(Vec a);
inline Vec xy(const Point3& p) {
    return {p.x, p.y};
}
inline Vec leftOf(Vec t) {
    return {-t.y, t.x};
}

// The unit direction of travel at the start or the end of a move in XY.
Vec startTangent(const Segment& s);
Vec endTangent(const Segment& s);

// A move's offset in XY: a line through `point` along `direction`, or a
// circle about `centre`.
struct OffsetCurve {
    bool circle = false;
    Vec point;
    Vec direction;
    Vec centre;
    double radius = 0.0;
};

// Where two offset curves meet nearest to `near`; nullopt when they do not.
std::optional<Vec> meet(const OffsetCurve& a, const OffsetCurve& b, Vec near);

// Makes `s` an arc about (cx, cy) from `from` to `to` in its own direction;
// `full` keeps a whole turn when the two points coincide.
void setArc(Segment& s, Vec centre, Vec from, Vec to, bool full);

}  // namespace tesmara::check
