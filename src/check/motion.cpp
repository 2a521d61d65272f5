#include <algorithm>
#include <cmath>
#include <numbers>

#include "check/format.hpp"
#include "check/machine.hpp"

namespace tesmara::check {

namespace {

constexpr double kPi = std::numbers::pi;
constexpr double kDegree = kPi / 180.0;
constexpr double kSamePoint = 1e-9;
constexpr double kArcReach = 1e-4;  // mm an R arc may fall short of its end point
constexpr const char* kNegativeRadiusCause =
    "; R is negative because the radius it is computed from is: in a thread, the tool radius "
    "is larger than the thread's minor radius";

constexpr std::uint16_t kAxes = bit(Address::X) | bit(Address::Y) | bit(Address::Z);

double length(const Segment& s) {
    const double dz = s.end.z - s.start.z;
    if (s.shape == Shape::Arc) {
        const double along = s.radius * s.sweep;
        return std::sqrt(along * along + dz * dz);
    }
    const double dx = s.end.x - s.start.x;
    const double dy = s.end.y - s.start.y;
    return std::sqrt(dx * dx + dy * dy + dz * dz);
}

// Whether the arc's whole circle, over its Z, lies within the extents: then
// none of its points can widen them. Most arcs of a loop are like that.
bool arcWithin(const Segment& s, const Extents& e) {
    const double r = s.radius;
    return e.valid && s.centreX - r >= e.min.x && s.centreX + r <= e.max.x &&
           s.centreY - r >= e.min.y && s.centreY + r <= e.max.y &&
           std::min(s.start.z, s.end.z) >= e.min.z && std::max(s.start.z, s.end.z) <= e.max.z;
}

// Start, end and every point on an axis through the centre that the sweep passes.
void addArcExtents(const Segment& s, Extents& extents) {
    if (arcWithin(s, extents)) {
        return;
    }
    extents.add(s.start);
    extents.add(s.end);
    constexpr double kQuarter = kPi / 2;
    constexpr double kCos[] = {1, 0, -1, 0};
    const double from = std::min(s.startAngle, s.startAngle + s.sweep);
    const double to = std::max(s.startAngle, s.startAngle + s.sweep);
    for (double k = std::ceil(from / kQuarter); k * kQuarter <= to; ++k) {
        const int q = static_cast<int>(k) & 3;  // two's complement keeps negative k in 0..3
        const double t = (k * kQuarter - s.startAngle) / s.sweep;
        extents.add({s.centreX + s.radius * kCos[q], s.centreY + s.radius * kCos[(q + 3) & 3],
                     s.start.z + t * (s.end.z - s.start.z)});
    }
}

void applyModes(const NcBlock& nc, const Words& words, ModalState& next) {
    if (nc.motion != Motion::None) {
        next.motion = nc.motion;
    }
    if (nc.absolute >= 0) {
        next.absolute = nc.absolute == 1;
    }
    if (nc.polar >= 0) {
        next.polar = nc.polar == 1;
    }
    if (nc.compensation >= 0) {
        next.compensation = static_cast<Compensation>(nc.compensation);
    }
    if (words.has(Address::D)) {
        next.compensationRegister = whole(words[Address::D]);
    }
    if (nc.lengthComp >= 0) {
        next.lengthComp = nc.lengthComp == 1;
    }
    if (words.has(Address::H)) {
        next.lengthRegister = whole(words[Address::H]);
    }
    if (nc.workOffset >= 0) {
        next.workOffset = nc.workOffset;
    }
    if (words.has(Address::F)) {
        next.feed = words[Address::F];
    }
    if (words.has(Address::S)) {
        next.speed = words[Address::S];
    }
    if (words.has(Address::T)) {
        next.selectedTool = whole(words[Address::T]);
    }
    if (hasM(nc, 6)) {
        next.tool = next.selectedTool;
    }
    if (hasM(nc, 3) || hasM(nc, 4)) {
        next.spindle = hasM(nc, 3) ? Spindle::Clockwise : Spindle::CounterClockwise;
    }
}

}  // namespace

Point3 Machine::origin(const ModalState& state) const {
    const Point3& offset = m_options.workOffsets[state.workOffset];
    return {offset.x + state.shift.x, offset.y + state.shift.y, offset.z + state.shift.z};
}

Point3 Machine::target(const Words& w, const ModalState& next) const {
    const Point3 origin = this->origin(next);
    const Point3& at = next.position;
    Point3 t = at;
    if (next.absolute) {
        t.z = w.has(Address::Z) ? origin.z + w[Address::Z] : at.z;
    } else {
        t.z = at.z + (w.has(Address::Z) ? w[Address::Z] : 0.0);
    }
    if (next.polar && (w.has(Address::X) || w.has(Address::Y))) {
        const Point3 from = next.absolute ? origin : at;
        const double dx = at.x - origin.x;
        const double dy = at.y - origin.y;
        const double r =
            w.has(Address::X) ? w[Address::X] : (next.absolute ? std::hypot(dx, dy) : 0.0);
        const double a = w.has(Address::Y) ? w[Address::Y] * kDegree
                                           : (next.absolute ? std::atan2(dy, dx) : 0.0);
        t.x = from.x + r * std::cos(a);
        t.y = from.y + r * std::sin(a);
        return t;
    }
    if (next.absolute) {
        t.x = w.has(Address::X) ? origin.x + w[Address::X] : at.x;
        t.y = w.has(Address::Y) ? origin.y + w[Address::Y] : at.y;
    } else {
        t.x = at.x + (w.has(Address::X) ? w[Address::X] : 0.0);
        t.y = at.y + (w.has(Address::Y) ? w[Address::Y] : 0.0);
    }
    return t;
}

// A start nobody gave has no X and Y: an axis a rapid sets absolutely starts
// where it is set, so that move has no length; an axis a move needs before it
// is set (a feed, an arc, an incremental or polar move) starts at the local zero.
void Machine::settleStart(const Words& w, bool home, ModalState& next) {
    constexpr double Point3::*kPlane[] = {&Point3::x, &Point3::y};
    constexpr Address kLetter[] = {Address::X, Address::Y};
    const bool polar = next.polar && !home;
    const bool rapid = home || next.motion == Motion::Rapid;
    const bool planar = w.has(Address::X) || w.has(Address::Y);
    const Point3 zero = origin(next);
    for (int axis = 0; axis < 2; ++axis) {
        const auto flag = static_cast<std::uint8_t>(1u << axis);
        const bool commanded = w.has(kLetter[axis]) || (polar && planar);
        if (!(next.unsettled & flag) || (rapid && !commanded)) {
            continue;
        }
        const double local = zero.*kPlane[axis];
        const double at = commanded && next.absolute && !polar ? local + w[kLetter[axis]] : local;
        next.position.*kPlane[axis] = at;
        next.unsettled &= static_cast<std::uint8_t>(~flag);
        // Earlier moves never moved this axis: they happened where it now is.
        for (Segment& s : m_result.segments) {
            s.start.*kPlane[axis] = at;
            s.end.*kPlane[axis] = at;
        }
    }
}

void Machine::planHome(const Words& w, const ModalState& next) {
    ModalState cartesian = next;
    cartesian.polar = false;
    const Point3 via = target(w, cartesian);
    Point3 home = via;
    home.x = w.has(Address::X) ? m_options.reference.x : via.x;
    home.y = w.has(Address::Y) ? m_options.reference.y : via.y;
    home.z = w.has(Address::Z) ? m_options.reference.z : via.z;
    makeRoom();
    Segment& first = m_result.segments.emplace_back();
    first.start = next.position;
    first.end = via;
    Segment& second = m_result.segments.emplace_back();
    second.start = via;
    second.end = home;
}

bool Machine::planArc(const Words& w, const ModalState& next, Segment& arc) {
    const bool cw = next.motion == Motion::ArcCw;
    const Point3& s = arc.start;
    const Point3& e = arc.end;
    const double dx = e.x - s.x;
    const double dy = e.y - s.y;
    const double d = std::hypot(dx, dy);
    if (w.has(Address::R)) {
        const double r = std::fabs(w[Address::R]);
        if (r < kSamePoint) {
            return error(Code::ArcRadiusNotPositive,
                         "R" + formatNumber(w[Address::R]) + ": the arc's radius has become zero");
        }
        if (d < kSamePoint) {
            return error(Code::ArcWithoutCentre,
                         "an arc with R cannot be a full circle; use I and J");
        }
        if (d / 2 > r + kArcReach) {
            return error(Code::ArcRadiusTooSmall,
                         "R" + formatNumber(w[Address::R]) + " cannot reach the end point: it is " +
                             formatNumber(d) + " mm from the start, more than the diameter " +
                             formatNumber(2 * r) +
                             (w[Address::R] < 0.0 ? kNegativeRadiusCause : ""));
        }
        const double h = std::sqrt(std::max(0.0, r * r - d * d / 4));
        const double side = (cw ? -1.0 : 1.0) * (w[Address::R] < 0 ? -1.0 : 1.0);
        arc.centreX = s.x + dx / 2 - side * h * dy / d;
        arc.centreY = s.y + dy / 2 + side * h * dx / d;
    } else if (w.has(Address::I) || w.has(Address::J)) {
        arc.centreX = s.x + (w.has(Address::I) ? w[Address::I] : 0.0);
        arc.centreY = s.y + (w.has(Address::J) ? w[Address::J] : 0.0);
    } else {
        return error(Code::ArcWithoutCentre, "G2/G3 needs I and J, or R, for its centre");
    }
    arc.radius = std::hypot(s.x - arc.centreX, s.y - arc.centreY);
    if (arc.radius < kSamePoint) {
        return error(Code::ArcRadiusNotPositive,
                     "the arc's centre lies on its start point: its radius has become zero");
    }
    if (!radiusKeepsItsSign(w, arc)) {
        return false;
    }
    arc.shape = Shape::Arc;
    arc.clockwise = cw;
    arc.startAngle = std::atan2(s.y - arc.centreY, s.x - arc.centreX);
    double sweep = std::atan2(e.y - arc.centreY, e.x - arc.centreX) - arc.startAngle;
    if (d < kSamePoint) {
        sweep = 0.0;
    }
    while (cw ? sweep >= 0.0 : sweep <= 0.0) {
        sweep += cw ? -2 * kPi : 2 * kPi;
    }
    arc.sweep = sweep;
    return true;
}

// Grown to the segment limit and no further, so that a run that goes on and
// on holds no more moves than the limit.
void Machine::growSegments() {
    std::vector<Segment>& segments = m_result.segments;
    const std::size_t most = m_options.segmentLimit + 2;
    segments.reserve(std::min(std::max<std::size_t>(64, 2 * segments.capacity()), most));
}

// A radius a loop shrinks turns negative silently: R changes sign, or a full
// circle by I and J starts on the other side of its centre than when the same
// line ran before.
bool Machine::radiusKeepsItsSign(const Words& w, const Segment& arc) {
    const double dx = arc.start.x - arc.centreX;
    const double dy = arc.start.y - arc.centreY;
    const bool circle = std::hypot(arc.end.x - arc.start.x, arc.end.y - arc.start.y) < kSamePoint;
    std::int8_t side = 0;
    if (w.has(Address::R)) {
        side = w[Address::R] < 0.0 ? -1 : 1;
    } else if (circle) {
        side = static_cast<std::int8_t>(std::fabs(dx) >= std::fabs(dy) ? (dx < 0 ? -1 : 1)
                                                                       : (dy < 0 ? -2 : 2));
    }
    std::int8_t& before = m_arcSide[m_pc];
    if (side != 0 && before == -side) {
        return error(Code::ArcRadiusNotPositive,
                     "the radius of this arc has become negative: when the line ran before, "
                     "its centre lay on the other side (is a taper or a step larger than the "
                     "radius?)");
    }
    before = before == 0 ? side : before;
    return true;
}

// Appends the block's motions to the segments; the caller drops them again
// when the block fails.
bool Machine::plan(const NcBlock& nc, const Words& w, ModalState& next) {
    applyModes(nc, w, next);
    std::vector<Segment>& segments = m_result.segments;
    const std::size_t first = segments.size();
    if (nc.home) {
        settleStart(w, true, next);
        planHome(w, next);
    } else if (nc.localShift) {
        next.shift.x = w.has(Address::X) ? w[Address::X] : next.shift.x;
        next.shift.y = w.has(Address::Y) ? w[Address::Y] : next.shift.y;
        next.shift.z = w.has(Address::Z) ? w[Address::Z] : next.shift.z;
    } else {
        const bool arc = next.motion == Motion::ArcCw || next.motion == Motion::ArcCcw;
        const std::uint16_t centre = bit(Address::I) | bit(Address::J) | bit(Address::R);
        if ((w.present & kAxes) || (arc && (w.present & centre))) {
            settleStart(w, false, next);
            makeRoom();
            Segment& s = segments.emplace_back();
            s.start = next.position;
            s.end = target(w, next);
            if (arc && !planArc(w, next, s)) {
                return false;
            }
            s.kind = next.motion == Motion::Rapid ? MoveKind::Rapid : MoveKind::Feed;
        }
    }
    for (std::size_t i = first; i < segments.size(); ++i) {
        Segment& s = segments[i];
        s.feed = next.feed;
        s.spindle = next.spindle == Spindle::Stopped ? 0.0 : next.speed;
        s.tool = next.tool;
        s.compensation = next.compensation;
        s.compensationRegister = next.compensationRegister;
        next.position = s.end;
    }
    return true;
}

void Machine::warn(const Block& block, Code code, std::string message, int column) {
    const int index = static_cast<int>(&block - m_text.blocks.data());
    const std::uint32_t flag =
        1u << (static_cast<int>(code) - static_cast<int>(Code::RapidBelowZero));
    if (m_warned[index] & flag) {
        return;
    }
    m_warned[index] |= flag;
    m_result.diagnostics.push_back({Severity::Warning, code, m_text.programs[block.program].number,
                                    block.line, column, std::move(message)});
}

// No position, length or time may overflow; every figure stays a number.
bool Machine::finite(std::size_t first) {
    const std::vector<Segment>& segments = m_result.segments;
    for (std::size_t i = first; i < segments.size(); ++i) {
        const Segment& s = segments[i];
        const double values[] = {s.start.x, s.start.y, s.start.z, s.end.x, s.end.y,  s.end.z,
                                 s.centreX, s.centreY, s.radius,  s.sweep, length(s)};
        if (!std::all_of(std::begin(values), std::end(values),
                         [](double v) { return std::isfinite(v); })) {
            return error(Code::OutOfRange, "a position of this block is too large to compute");
        }
    }
    return true;
}

// The totals before the block are given back when its moves overflow them.
bool Machine::totalsFinite(const Totals& before) {
    Summary& s = m_result.summary;
    if (std::isfinite(s.feedLength + s.rapidLength + s.cycleSeconds)) {
        return true;
    }
    s.feedLength = before.feed;
    s.rapidLength = before.rapid;
    s.cycleSeconds = before.seconds;
    return error(Code::OutOfRange, "the lengths or the time of the run are too large to compute");
}

// Warnings about the block as a whole, before it moves.
void Machine::inspect(const Block& block, const NcBlock& nc, const Words& w, const ModalState& next,
                      std::size_t first) {
    const auto column = [&](Address a) { return int(nc.columns[static_cast<int>(a)]); };
    const int tool = next.tool != 0 ? next.tool : next.selectedTool;
    if (nc.lengthComp == 1 && w.has(Address::H) && tool != 0 && next.lengthRegister != tool) {
        warn(block, Code::LengthOffsetNotTool,
             "G43 H" + std::to_string(next.lengthRegister) + " takes the length of tool " +
                 std::to_string(next.lengthRegister) + ", but the tool is T" + std::to_string(tool),
             column(Address::H));
    }
    const std::vector<Segment>& segments = m_result.segments;
    if (nc.home && next.absolute && w.has(Address::Z) && first < segments.size() &&
        segments[first].end.z < m_state.position.z - kSamePoint) {
        warn(block, Code::HomeThroughWork,
             "G28 in G90 goes down to Z" + formatNumber(segments[first].end.z) +
                 " before it goes up to the reference; G91 G28 Z0 goes straight up",
             column(Address::Z));
    }
}

// Totals and warnings of one planned segment; false for a line that goes
// nowhere, which is dropped.
bool Machine::account(const Block& block, Segment& s) {
    const double len = length(s);
    if (s.shape == Shape::Line && len < kSamePoint) {
        return false;
    }
    s.program = m_text.programs[block.program].number;
    s.line = block.line;
    Summary& sum = m_result.summary;
    ++sum.moves;
    m_lastMove = {s.program, s.line};
    const double dx = s.end.x - s.start.x;
    const double dy = s.end.y - s.start.y;
    const bool sideways = dx * dx + dy * dy > kSamePoint * kSamePoint;
    // Going up without the tool length is harmless; going down is how a tool
    // longer than expected hits the work.
    if (s.end.z < s.start.z - kSamePoint && !m_state.lengthComp) {
        warn(block, Code::ZBeforeLengthComp,
             "Z moves down before tool length compensation (G43 H) is on");
    }
    if (s.kind == MoveKind::Rapid) {
        sum.rapidLength += len;
        sum.cycleSeconds += len / m_options.rapidRate * 60.0;
        if (s.end.z < -kSamePoint && s.end.z < s.start.z - kSamePoint) {
            warn(block, Code::RapidIntoWork,
                 "rapid move down to Z" + formatNumber(s.end.z) + ", below the work's Z0",
                 m_text.nc[block.nc].columns[static_cast<int>(Address::Z)]);
        }
        if (sideways && std::min(s.start.z, s.end.z) < -kSamePoint) {
            warn(block, Code::RapidBelowZero,
                 "rapid move in X/Y with the tool below Z0 (at Z" +
                     formatNumber(std::min(s.start.z, s.end.z)) + ")");
        }
    } else {
        sum.feedLength += len;
        if (s.feed > 0.0) {
            sum.cycleSeconds += len / s.feed * 60.0;
        } else {
            warn(block, Code::FeedRateZero, "feed move with no feed rate (F is vacant or 0)");
        }
        if (s.spindle == 0.0) {
            warn(block, Code::SpindleStopped, "feed move with the spindle stopped");
        }
        if (s.shape == Shape::Arc) {
            addArcExtents(s, sum.feedExtents);
        } else {
            sum.feedExtents.add(s.start);
            sum.feedExtents.add(s.end);
        }
    }
    // Where the program moved to, not where the tool stood before it began.
    sum.deepestZ = sum.deepestZ ? std::min(*sum.deepestZ, s.end.z) : s.end.z;
    if (m_expand.enabled() && !m_blockExpanded) {
        expandCentre(s);
    }
    ++m_moves;
    return true;
}

void Machine::noteLocalOrigin(const ModalState& next) {
    const Point3 origin = this->origin(next);
    std::vector<Point3>& origins = m_result.summary.localOrigins;
    const bool none = next.shift.x == 0.0 && next.shift.y == 0.0 && next.shift.z == 0.0;
    const bool same = !origins.empty() && origins.back().x == origin.x &&
                      origins.back().y == origin.y && origins.back().z == origin.z;
    if (!none && !same) {
        origins.push_back(origin);
    }
}

bool Machine::executeNc(const Block& block) {
    const NcBlock& nc = m_text.nc[block.nc];
    std::vector<Segment>& segments = m_result.segments;
    const std::size_t first = segments.size();
    Words w;
    ModalState next = m_state;
    if (!readWords(nc, w) || !plan(nc, w, next) || !finite(first)) {
        segments.resize(first);
        return false;
    }
    inspect(block, nc, w, next, first);
    if (m_expand.enabled()) {
        expandBefore(nc, w, next);
        m_blockAxes = commandedAxes(w, next);
        // A reference return stays one on the centre path too.
        m_blockExpanded = !centreLine() || nc.home;
        if (m_blockExpanded) {
            expandMotion(nc, w, next, first);
        }
    }
    if (hasM(nc, 6)) {
        std::vector<int>& tools = m_result.summary.toolsUsed;
        if (std::find(tools.begin(), tools.end(), next.tool) == tools.end()) {
            tools.push_back(next.tool);
        }
    }
    if (nc.localShift) {
        noteLocalOrigin(next);
    }
    m_state = next;
    const Summary& sum = m_result.summary;
    const Totals before{sum.feedLength, sum.rapidLength, sum.cycleSeconds};
    std::size_t kept = first;
    for (std::size_t i = first; i < segments.size(); ++i) {
        if (account(block, segments[i]) && kept++ != i) {
            segments[kept - 1] = segments[i];
        }
    }
    if (m_expand.enabled() && !m_blockExpanded && kept == first) {
        expandMotion(nc, w, next, first);  // no length from the assumed start: as programmed
    }
    segments.resize(std::min(kept, m_options.segmentLimit));
    if (!totalsFinite(before)) {
        return false;
    }
    if (hasM(nc, 5)) {
        m_state.spindle = Spindle::Stopped;
    }
    if (m_expand.enabled()) {
        expandAfter(nc);
    }
    return flow(nc, w);
}

}  // namespace tesmara::check
