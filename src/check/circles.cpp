#include "check/circles.hpp"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace tesmara::check {

namespace {

constexpr double kTurn = 2 * std::numbers::pi - 1e-6;
constexpr double kSame = 1e-4;  // mm
// A runaway program may circle about countless centres; the summary is for reading.
constexpr std::size_t kMaxCentres = 1000;
constexpr std::size_t kMaxRadii = 64;

struct Ring {
    double radius = 0.0;
    double sweep = 0.0;  // radians, added up
};

struct Centre {
    CircleCut cut;
    bool full = false;
    std::vector<Ring> rings;
};

bool toolInside(const Segment& s) {
    return (s.compensation == Compensation::Left) != s.clockwise;
}

void addFullTurn(Centre& c, const Segment& s, double toolRadius) {
    const double inner = 2 * std::max(0.0, s.radius - toolRadius);
    const double outer = 2 * (s.radius + toolRadius);
    if (!c.full) {
        c.full = true;
        c.cut.innerDiameter = inner;
        c.cut.outerDiameter = outer;
        c.cut.compensation = s.compensation;
        c.cut.toolInside = toolInside(s);
        c.cut.program = s.program;
        c.cut.line = s.line;
        return;
    }
    c.cut.innerDiameter = std::min(c.cut.innerDiameter, inner);
    c.cut.outerDiameter = std::max(c.cut.outerDiameter, outer);
}

void addArc(std::vector<Centre>& centres, const Segment& s, double toolDiameter) {
    auto it = std::find_if(centres.begin(), centres.end(), [&](const Centre& c) {
        return std::fabs(c.cut.x - s.centreX) < kSame && std::fabs(c.cut.y - s.centreY) < kSame &&
               c.cut.toolDiameter == toolDiameter;
    });
    if (it == centres.end()) {
        if (centres.size() >= kMaxCentres) {
            return;
        }
        it = centres.insert(centres.end(), Centre{});
        it->cut.x = s.centreX;
        it->cut.y = s.centreY;
        it->cut.toolDiameter = toolDiameter;
    }
    auto ring = std::find_if(it->rings.begin(), it->rings.end(),
                             [&](const Ring& r) { return std::fabs(r.radius - s.radius) < kSame; });
    if (ring == it->rings.end()) {
        if (it->rings.size() >= kMaxRadii) {
            return;
        }
        ring = it->rings.insert(it->rings.end(), Ring{s.radius, 0.0});
    }
    const bool wasFull = ring->sweep >= kTurn;
    ring->sweep += std::fabs(s.sweep);
    if (!wasFull && ring->sweep >= kTurn) {
        addFullTurn(*it, s, toolDiameter / 2);
    }
}

}  // namespace

std::optional<double> CircleCut::finishedDiameter() const {
    if (compensation == Compensation::Off) {
        return std::nullopt;
    }
    return toolInside ? outerDiameter : innerDiameter;
}

void summariseCircles(const ToolTable& tools, CheckResult& result) {
    const std::vector<Segment>& path =
        result.centrePath.empty() ? result.segments : result.centrePath;
    std::vector<Centre> centres;
    for (const Segment& s : path) {
        // A compensated arc whose radius is unknown is drawn as programmed, not as cut.
        const bool unknown =
            s.compensation != Compensation::Off && !tools.radius(s.compensationRegister);
        if (s.shape != Shape::Arc || s.kind != MoveKind::Feed || unknown) {
            continue;
        }
        if (const std::optional<double> d = tools.diameter(s.tool)) {
            addArc(centres, s, *d);
        }
    }
    for (const Centre& c : centres) {
        if (c.full) {
            result.summary.circles.push_back(c.cut);
        }
    }
}

}  // namespace tesmara::check
