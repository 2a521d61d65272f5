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
    Point3 shift;     // G52
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

inline bool hasM(const NcBlock& nc, int code) {
    return std::find(nc.m.begin(), nc.m.begin() + nc.mCount, code) != nc.m.begin() + nc.mCount;
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
    struct Frame {
        int returnBlock;
        int repeatsLeft;
        int program;
    };

    bool step();
    bool executeNc(const Block& block);
    bool readWords(const NcBlock& nc, Words& words);
    bool plan(const NcBlock& nc, const Words& words, ModalState& next);
    bool planArc(const Words& words, const ModalState& next, Segment& arc);
    Point3 target(const Words& words, const ModalState& next) const;
    void planHome(const Words& words, const ModalState& next);
    bool account(const Block& block, Segment& segment);
    void noteLocalOrigin(const ModalState& next);
    void expandBefore(const NcBlock& nc, const Words& words, const ModalState& next);
    void expandAfter(const NcBlock& nc);
    void expandMotion(const Segment& segment);
    void warn(const Block& block, Code code, std::string message);
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
    ExpandWriter m_expand;
    const CheckResult* m_centre;
    std::size_t m_moves = 0;  // motions accounted, to find their centre path pieces
    int m_pc = 0;
    int m_program = 0;
    bool m_running = true;
};

}  // namespace tesmara::check
