#pragma once

#include <algorithm>
#include <cmath>
#include <vector>

#include "check/check.hpp"
#include "check/evaluate.hpp"
#include "check/expand_writer.hpp"

namespace tesmara::check {

enum class Spindle : std::int8_t { Stopped, Clockwise, CounterClockwise };

// The modal state a block reads and, when it succeeds, replaces.
struct ModalState {
    Point3 position;  // work coordinates, G52 and work offset included
    // X (1) and Y (2) of a start nobody gave: unknown until a block sets them.
    std::uint8_t unsettled = 0;
    Point3 shift;  // G52
    Motion motion = Motion::Rapid;
    bool absolute = true;
    bool polar = false;
    Compensation compensation = Compensation::Off;
    int compensationRegister = 0;
    bool lengthComp = false;
    int lengthRegister = 0;
    int workOffset = 0;
    double feed = 0.0;
    double speed = 0.0;
    Spindle spindle = Spindle::Stopped;
    int selectedTool = 0;
    int tool = 0;
};

// The words of one NC block after evaluation; vacant words are absent and
// their values never read.
struct Words {
    std::uint16_t present = 0;
    double value[kAddressCount];
    bool has(Address a) const { return (present & bit(a)) != 0; }
    double operator[](Address a) const { return value[static_cast<int>(a)]; }
};

// Asked several times of every block, which mostly has no M code at all.
inline bool hasM(const NcBlock& nc, int code) {
    for (int i = 0; i < nc.mCount; ++i) {
        if (nc.m[static_cast<std::size_t>(i)] == code) {
            return true;
        }
    }
    return false;
}

// A register or label number from a word's value, clamped so any value converts.
inline int whole(double v) {
    return static_cast<int>(std::lround(std::clamp(v, -1e9, 1e9)));
}

class Machine {
public:
    // `centre`: a finished run of the same text whose tool centre path the
    // expanded program writes instead of the programmed moves.
    Machine(const CompiledText& text, const CheckOptions& options, CheckResult& result,
            const CheckResult* centre = nullptr);
    void run();

private:
    struct Totals {
        double feed;
        double rapid;
        double seconds;
    };
    struct Frame {
        int returnBlock;
        int repeatsLeft;
        int program;
    };

    bool step();
    bool cancelled();
    // Room for the two moves a block may make; grown only now and then.
    void makeRoom() {
        if (m_result.segments.capacity() - m_result.segments.size() < 2) {
            growSegments();
        }
    }
    void growSegments();
    bool dispatch(const Block& block);
    bool condition(const Operand& operand, bool& holds);
    bool executeNc(const Block& block);
    bool readWords(const NcBlock& nc, Words& words);
    bool plan(const NcBlock& nc, const Words& words, ModalState& next);
    bool planArc(const Words& words, const ModalState& next, Segment& arc);
    bool radiusKeepsItsSign(const Words& words, const Segment& arc);
    Point3 origin(const ModalState& state) const;
    Point3 target(const Words& words, const ModalState& next) const;
    void planHome(const Words& words, const ModalState& next);
    void settleStart(const Words& words, bool home, ModalState& next);
    bool finite(std::size_t first);
    void inspect(const Block& block, const NcBlock& nc, const Words& words, const ModalState& next,
                 std::size_t first);
    bool account(const Block& block, Segment& segment);
    bool totalsFinite(const Totals& before);
    void noteLocalOrigin(const ModalState& next);
    void expandBefore(const NcBlock& nc, const Words& words, const ModalState& next);
    void expandMotion(const NcBlock& nc, const Words& words, const ModalState& next,
                      std::size_t first);
    void expandAfter(const NcBlock& nc);
    void expandCentre(const Segment& segment);
    static std::uint8_t commandedAxes(const Words& words, const ModalState& next);
    bool centreLine() const;
    void warn(const Block& block, Code code, std::string message, int column = 0);
    bool flow(const NcBlock& nc, const Words& words);
    bool call(const Words& words);
    bool giveBack(const Words& words);
    bool jump(const Block& block, const Operand& label);
    bool assign(const Block& block);
    bool error(Code code, std::string message);
    void finish();

    const CompiledText& m_text;
    const CheckOptions& m_options;
    CheckResult& m_result;
    std::vector<double> m_vars;
    Evaluator m_eval;
    ModalState m_state;
    std::vector<Frame> m_frames;
    std::vector<std::uint32_t> m_warned;  // per block, one bit per warning code
    std::vector<std::int8_t> m_arcSide;   // per block, which side of its centre an arc started
    ExpandWriter m_expand;
    struct Place {
        int program = 0;
        int line = 0;
    } m_lastMove;  // where the last move came from, also when it is not kept
    const CheckResult* m_centre;
    std::size_t m_moves = 0;  // motions accounted, to find their centre path pieces
    std::uint8_t m_blockAxes = 7;  // the axes the executing block commanded
    bool m_blockExpanded = true;   // written as programmed, not as centre path pieces
    int m_pc = 0;
    int m_program = 0;
    bool m_running = true;
};

}  // namespace tesmara::check
