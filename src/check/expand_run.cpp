// The run written as plain G-code, block by block as it executes.
#include "check/format.hpp"
#include "check/machine.hpp"

namespace tesmara::check {

void Machine::expandBefore(const NcBlock& nc, const Words& w, const ModalState& next) {
    if (hasM(nc, 6)) {
        m_expand.line("T" + std::to_string(next.tool) + " M6");
    }
    if (hasM(nc, 3) || hasM(nc, 4)) {
        m_expand.line((hasM(nc, 3) ? "M3 S" : "M4 S") + formatShort(next.speed));
    } else if (w.has(Address::S)) {
        m_expand.line("S" + formatShort(next.speed));
    }
    if (hasM(nc, 8)) {
        m_expand.line("M8");
    }
    if (next.lengthComp != m_state.lengthComp || (next.lengthComp && w.has(Address::H))) {
        m_expand.line(next.lengthComp ? "G43 H" + std::to_string(next.lengthRegister) : "G49");
    }
}

void Machine::expandAfter(const NcBlock& nc) {
    for (int m : {5, 9, 0, 1}) {
        if (hasM(nc, m)) {
            m_expand.line("M" + std::to_string(m));
        }
    }
}

std::uint8_t Machine::commandedAxes(const Words& w, const ModalState& next) {
    const bool planar = w.has(Address::X) || w.has(Address::Y);
    std::uint8_t axes = w.has(Address::Z) ? 4 : 0;
    for (int i = 0; i < 2; ++i) {
        if (w.has(i == 0 ? Address::X : Address::Y) || (next.polar && planar)) {
            axes |= static_cast<std::uint8_t>(1u << i);
        }
    }
    return axes;
}

bool Machine::centreLine() const {
    return m_centre != nullptr && !m_centre->centreFirst.empty();
}

// The pieces of the tool centre path that the accounted move became, with
// the axes its block commanded and X and Y wherever the offset moves them.
void Machine::expandCentre(const Segment& s) {
    const std::vector<std::uint32_t>& first = m_centre->centreFirst;
    if (m_moves + 1 >= first.size()) {
        return;
    }
    for (std::uint32_t i = first[m_moves]; i < first[m_moves + 1]; ++i) {
        Segment piece = m_centre->centrePath[i];
        piece.compensation = Compensation::Off;
        const bool sideways = piece.start.x != piece.end.x || piece.start.y != piece.end.y ||
                              piece.end.x != s.end.x || piece.end.y != s.end.y;
        m_expand.motion(piece, static_cast<std::uint8_t>(m_blockAxes | (sideways ? 3 : 0)));
    }
}

// Only the axes the block commanded are written, so the output never moves
// an axis the original leaves where it is, whatever the start point; polar
// words move X and Y together. A reference return stays one.
void Machine::expandMotion(const NcBlock& nc, const Words& w, const ModalState& next,
                           std::size_t first) {
    const std::vector<Segment>& segments = m_result.segments;
    if (first == segments.size()) {
        return;
    }
    constexpr Address kAxes[] = {Address::X, Address::Y, Address::Z};
    constexpr double Point3::*kMember[] = {&Point3::x, &Point3::y, &Point3::z};
    if (nc.home) {
        // The intermediate point: absolute with G52 folded in, or the increments as written.
        std::string text = next.absolute ? "G28" : "G91 G28";
        for (int i = 0; i < 3; ++i) {
            if (w.has(kAxes[i])) {
                text += std::string(" ") + kAddressLetters[static_cast<int>(kAxes[i])] +
                        formatNumber(next.absolute ? segments[first].end.*kMember[i] : w[kAxes[i]]);
            }
        }
        m_expand.line(text);
        if (!next.absolute) {
            m_expand.line("G90");
        }
        return;
    }
    m_expand.motion(segments[first], commandedAxes(w, next));
}

}  // namespace tesmara::check
