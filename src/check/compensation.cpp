#include "check/compensation.hpp"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "check/format.hpp"
#include "check/offset_geometry.hpp"

namespace tesmara::check {

namespace {

constexpr double kSame = 1e-6;  // mm
constexpr double kStraight = 1e-9;

bool movesInPlane(const Segment& s) {
    return s.shape == Shape::Arc || norm(xy(s.end) - xy(s.start)) > kSame;
}

double sideSign(Compensation c) {
    return c == Compensation::Left ? 1.0 : -1.0;
}

std::string radiusText(double r, int reg) {
    return "radius " + formatShort(r, 4) + " (D" + std::to_string(reg) + ")";
}

// Start-up type A and corners by intersection: see the README.
class Compensator {
public:
    Compensator(const ToolTable& tools, CheckResult& result)
        : m_tools(tools), m_in(result.segments), m_result(result), m_out(result.centrePath) {}

    void run();

private:
    std::optional<double> radiusOf(const Segment& s);
    std::size_t nextInPlane(std::size_t i) const;
    bool uncompensated(std::size_t i);
    bool startUp(std::size_t i, double r);
    bool offsetMove(std::size_t i, double r);
    bool arcOffset(const Segment& s, double r, OffsetCurve& curve);
    bool corner(const Segment& s, const OffsetCurve& curve, std::size_t next, Vec& end);
    void outerCorner(const Segment& s, const Segment& n, Vec ta, Vec tb, Vec pb, Vec& end);
    bool finishMove(const Segment& s, Segment& e, Vec end, const OffsetCurve& curve);
    void addLine(const Segment& like, Vec from, Vec to);
    bool fail(const Segment& s, Code code, std::string message);

    const ToolTable& m_tools;
    const std::vector<Segment>& m_in;
    CheckResult& m_result;
    std::vector<Segment>& m_out;
    std::vector<Segment> m_corner;  // pieces after the move being offset
    Point3 m_at;                    // the tool centre
    bool m_active = false;
    double m_radius = 0.0;  // of the move before, which a change of D starts from
};

std::optional<double> Compensator::radiusOf(const Segment& s) {
    const std::optional<double> r = m_tools.radius(s.compensationRegister);
    std::vector<int>& unknown = m_result.summary.registersWithoutRadius;
    if (!r && std::find(unknown.begin(), unknown.end(), s.compensationRegister) == unknown.end()) {
        unknown.push_back(s.compensationRegister);
    }
    return r;
}

std::size_t Compensator::nextInPlane(std::size_t i) const {
    for (std::size_t j = i + 1; j < m_in.size(); ++j) {
        if (movesInPlane(m_in[j]) || m_in[j].compensation != m_in[i].compensation) {
            return j;
        }
    }
    return m_in.size();
}

bool Compensator::fail(const Segment& s, Code code, std::string message) {
    m_result.diagnostics.push_back(
        {severityOf(code), code, s.program, s.line, 0, std::move(message)});
    return false;
}

void Compensator::addLine(const Segment& like, Vec from, Vec to) {
    if (norm(to - from) < kSame) {
        return;
    }
    Segment& piece = m_corner.emplace_back(like);
    piece.shape = Shape::Line;
    piece.start = {from.x, from.y, like.end.z};
    piece.end = {to.x, to.y, like.end.z};
}

void Compensator::run() {
    m_out.clear();
    std::vector<std::uint32_t>& first = m_result.centreFirst;
    first.clear();
    for (std::size_t i = 0; i < m_in.size(); ++i) {
        const Segment& s = m_in[i];
        first.push_back(static_cast<std::uint32_t>(m_out.size()));
        const std::optional<double> r =
            s.compensation == Compensation::Off ? std::nullopt : radiusOf(s);
        bool ok = true;
        if (!r) {
            ok = uncompensated(i);
        } else if (!movesInPlane(s)) {
            Segment& e = m_out.emplace_back(s);
            e.start = m_at;
            e.end = {m_at.x, m_at.y, s.end.z};
        } else {
            ok = m_active ? offsetMove(i, *r) : startUp(i, *r);
        }
        if (!ok) {
            break;
        }
        m_at = m_out.empty() ? s.end : m_out.back().end;
    }
    first.resize(m_in.size(), static_cast<std::uint32_t>(m_out.size()));
    first.push_back(static_cast<std::uint32_t>(m_out.size()));
}

// A move without compensation; the first after offset moves is the cancel,
// which leaves from the offset point.
bool Compensator::uncompensated(std::size_t i) {
    const Segment& s = m_in[i];
    Segment& e = m_out.emplace_back(s);
    if (m_active) {
        m_active = false;
        if (s.shape == Shape::Arc) {
            return fail(s, Code::CompensationOnArc,
                        "cutter compensation must be cancelled (G40) on a straight move, "
                        "not on an arc");
        }
        e.start = m_at;
    }
    return true;
}

// The vector at the end of the start-up move stands square to the start of
// the next move (to this move's own end when none follows under compensation).
bool Compensator::startUp(std::size_t i, double r) {
    const Segment& s = m_in[i];
    if (s.shape == Shape::Arc) {
        return fail(s, Code::CompensationOnArc,
                    "cutter compensation must start (G41/G42) on a straight move, not on an arc");
    }
    const std::size_t j = nextInPlane(i);
    const bool follows = j < m_in.size() && m_in[j].compensation == s.compensation;
    OffsetCurve unused;
    // A hole too small for the tool is the finding, not the start-up it spoils.
    if (follows && m_in[j].shape == Shape::Arc && !arcOffset(m_in[j], r, unused)) {
        return false;
    }
    const Vec t = follows ? startTangent(m_in[j]) : endTangent(s);
    const Vec end = xy(s.end) + r * sideSign(s.compensation) * leftOf(t);
    Segment& e = m_out.emplace_back(s);
    e.start = m_at;
    e.end = {end.x, end.y, s.end.z};
    if (dot(end - xy(e.start), xy(s.end) - xy(s.start)) < 0.0) {
        return fail(s, Code::CompensationInterference,
                    "the start-up move is too short for the " +
                        radiusText(r, s.compensationRegister) +
                        ": the tool centre would move against the programmed direction");
    }
    m_active = true;
    m_radius = r;
    return true;
}

bool Compensator::arcOffset(const Segment& s, double r, OffsetCurve& curve) {
    const double inward = (s.clockwise ? -1.0 : 1.0) * sideSign(s.compensation);
    curve = {true, {}, {}, {s.centreX, s.centreY}, s.radius - inward * r};
    if (curve.radius <= kSame) {
        return fail(
            s, Code::ToolTooLarge,
            "the tool is too large for this inside arc: " + radiusText(r, s.compensationRegister) +
                " is not smaller than the arc radius " + formatShort(s.radius, 4));
    }
    return true;
}

bool Compensator::offsetMove(std::size_t i, double r) {
    const Segment& s = m_in[i];
    const double side = sideSign(s.compensation);
    m_corner.clear();
    OffsetCurve curve;
    if (s.shape == Shape::Arc) {
        if (!arcOffset(s, r, curve)) {
            return false;
        }
        const Vec radial = xy(m_at) - curve.centre;
        const Vec onCircle = curve.centre + (curve.radius / std::max(norm(radial), kSame)) * radial;
        if (norm(onCircle - xy(m_at)) > kSame) {  // D changed: step onto the new offset
            m_out.emplace_back(s);
            m_out.back().shape = Shape::Line;
            m_out.back().start = m_at;
            m_out.back().end = {onCircle.x, onCircle.y, m_at.z};
            m_at = m_out.back().end;
        }
    } else {
        const Vec nominal = xy(s.end) + r * side * leftOf(endTangent(s));
        curve = {false, xy(m_at), nominal - xy(m_at), {}, 0.0};
        if (norm(curve.direction) < kSame) {
            curve.direction = endTangent(s);
        }
    }
    Vec end = xy(s.end) + r * side * leftOf(endTangent(s));
    m_radius = r;
    const std::size_t j = nextInPlane(i);
    if (j < m_in.size() && m_in[j].compensation == s.compensation &&
        m_tools.radius(m_in[j].compensationRegister) && !corner(s, curve, j, end)) {
        return false;
    }
    Segment e = s;
    if (!finishMove(s, e, end, curve)) {
        return false;
    }
    if (e.shape == Shape::Line || e.sweep != 0.0) {
        m_out.push_back(e);
    }
    m_out.insert(m_out.end(), m_corner.begin(), m_corner.end());
    return true;
}

// Where the offset of `s` ends before the move `next`: inside a corner where
// the two offsets meet, outside it along both tangents, joined by lines.
bool Compensator::corner(const Segment& s, const OffsetCurve& curve, std::size_t next, Vec& end) {
    const Segment& n = m_in[next];
    const double side = sideSign(s.compensation);
    const double r = m_radius;
    const Vec ta = endTangent(s);
    const Vec tb = startTangent(n);
    const Vec pb = xy(s.end) + r * side * leftOf(tb);
    if (norm(end - pb) < kSame) {
        return true;
    }
    const double turn = cross(ta, tb) * side;
    if (turn > kStraight) {
        OffsetCurve other{false, pb, tb, {}, 0.0};
        if (n.shape == Shape::Arc) {
            const double inward = (n.clockwise ? -1.0 : 1.0) * side;
            other = {true, {}, {}, {n.centreX, n.centreY}, n.radius - inward * r};
        }
        const std::optional<Vec> at = meet(curve, other, xy(s.end));
        if (!at) {
            return fail(s, Code::ArcOffsetUnreachable,
                        "with the " + radiusText(r, s.compensationRegister) +
                            " the offset of this move cannot reach its end next to the "
                            "following move");
        }
        end = *at;
    } else if (std::fabs(turn) <= kStraight && dot(ta, tb) > 0.0) {
        addLine(s, end, pb);  // a new radius on a straight continuation
    } else {
        outerCorner(s, n, ta, tb, pb, end);
    }
    return true;
}

// Round an outside corner: where the tangents meet when the corner is obtuse,
// else each offset runs on by the radius and one line joins them.
void Compensator::outerCorner(const Segment& s, const Segment& n, Vec ta, Vec tb, Vec pb,
                              Vec& end) {
    const Vec pa = end;
    Vec a = pa + m_radius * ta;
    Vec b = pb - m_radius * tb;
    if (dot(ta, tb) >= 0.0) {
        const OffsetCurve first{false, pa, ta, {}, 0.0};
        const OffsetCurve second{false, pb, tb, {}, 0.0};
        a = b = meet(first, second, pa).value_or(pa);
    }
    if (s.shape == Shape::Line) {
        end = a;
    } else {
        addLine(s, pa, a);
    }
    addLine(s, a, b);
    if (n.shape == Shape::Arc) {
        addLine(s, b, pb);
    }
}

bool Compensator::finishMove(const Segment& s, Segment& e, Vec end, const OffsetCurve& curve) {
    e.start = m_at;
    e.end = {end.x, end.y, s.end.z};
    const std::string radius = radiusText(m_radius, s.compensationRegister);
    if (s.shape == Shape::Line) {
        if (dot(end - xy(m_at), xy(s.end) - xy(s.start)) < -kSame) {
            return fail(s, Code::CompensationInterference,
                        "with the " + radius +
                            " the tool centre runs backwards against the programmed move: "
                            "the tool would cut into the wall");
        }
        return true;
    }
    const bool full = std::fabs(s.sweep) > 2 * std::numbers::pi - 1e-9;
    setArc(e, curve.centre, xy(m_at), end, full);
    if (std::fabs(e.sweep) > std::fabs(s.sweep) + 1e-6) {
        return fail(s, Code::CompensationInterference,
                    "with the " + radius +
                        " the offset arc would run backwards past its end: the tool would cut "
                        "into the wall");
    }
    return true;
}

}  // namespace

void compensate(const ToolTable& tools, CheckResult& result) {
    result.centrePath.clear();
    result.centreFirst.clear();
    // Without compensation the centre path is the programmed one; a long run
    // is not stored twice.
    const bool any =
        std::any_of(result.segments.begin(), result.segments.end(),
                    [](const Segment& s) { return s.compensation != Compensation::Off; });
    if (!tools.empty() && any) {
        Compensator(tools, result).run();
        return;
    }
    std::vector<int>& unknown = result.summary.registersWithoutRadius;
    for (const Segment& s : result.segments) {
        if (s.compensation != Compensation::Off && s.compensationRegister != 0 &&
            std::find(unknown.begin(), unknown.end(), s.compensationRegister) == unknown.end()) {
            unknown.push_back(s.compensationRegister);
        }
    }
}

}  // namespace tesmara::check
