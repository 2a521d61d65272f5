#include "check/machine.hpp"

#include <algorithm>
#include <limits>
#include <bit>
#include <cmath>

#include "check/circles.hpp"
#include "check/compensation.hpp"
#include "check/format.hpp"

namespace tesmara::check {

namespace {

constexpr int kMaxCallDepth = 10;
// Expression operations a block may take on average before the run counts
// as one that does not end.
constexpr std::int64_t kOpsPerBlock = 16;

bool isTrue(double v) {
    return orZero(v) != 0.0;
}

}  // namespace

Machine::Machine(const CompiledText& text, const CheckOptions& options, CheckResult& result,
                 const CheckResult* centre)
    : m_text(text),
      m_options(options),
      m_result(result),
      m_vars(kVariableCount, vacant()),
      m_eval(text.ops, m_vars.data(), options.comparison == Comparison::Exact),
      m_warned(text.blocks.size(), 0),
      m_arcSide(text.blocks.size(), 0),
      m_expand(options.expandTo),
      m_centre(centre) {
    if (options.start) {
        m_state.position = *options.start;
    } else {
        m_state.position = {0.0, 0.0, options.reference.z};
        m_state.unsettled = 3;
    }
}

void Machine::run() {
    if (m_text.programs.empty()) {
        m_result.summary.ended = true;
        return;
    }
    m_pc = m_text.programs[0].firstBlock;
    while (m_running && step()) {
    }
    m_result.variables.assign(m_vars.begin(), m_vars.end());
    if (m_expand.enabled()) {
        m_expand.finish();
    }
}

bool Machine::error(Code code, std::string message) {
    const Block& b = m_text.blocks[m_pc];
    m_result.summary.endless = code == Code::BlockLimit;
    m_result.diagnostics.push_back(
        {Severity::Error, code, m_text.programs[b.program].number, b.line, 0, std::move(message)});
    m_running = false;
    return false;
}

void Machine::finish() {
    m_running = false;
    m_result.summary.ended = true;
    if (m_result.summary.moves > 0 && m_state.position.z <= 0.0) {
        m_result.diagnostics.push_back(
            {Severity::Warning, Code::NotSafeAtEnd, m_lastMove.program, m_lastMove.line, 0,
             "the program ends with the tool at Z" + formatNumber(m_state.position.z) +
                 ", not above the work"});
    }
}

bool Machine::step() {
    const ProgramInfo& program = m_text.programs[m_program];
    if (m_pc >= program.endBlock) {
        if (m_frames.empty()) {
            finish();
            return false;
        }
        return giveBack({});
    }
    const Block& b = m_text.blocks[m_pc];
    if (b.kind == BlockKind::Invalid) {
        m_running = false;  // told when the text was read
        return false;
    }
    if (cancelled()) {
        return false;
    }
    const std::int64_t limit = m_options.blockLimit;
    const bool tooLong = m_eval.work() / kOpsPerBlock > limit;  // no overflow at any limit
    if (++m_result.summary.blocksExecuted > limit || tooLong) {
        --m_result.summary.blocksExecuted;
        return error(Code::BlockLimit,
                     "the program does not end: more than " + std::to_string(limit) +
                         (tooLong ? " blocks' worth of expression work done" : " blocks executed") +
                         " (is a depth per cut or step 0?)");
    }
    const bool going = dispatch(b);
    if (m_eval.takeFragile()) {
        warn(b, Code::FragileComparison,
             "this comparison holds or fails only by rounding: exactly the values differ, "
             "within the tolerance they are equal; on a control that compares exactly "
             "the loop runs once more, once less, or never ends (--compare exact runs it so)");
    }
    return going;
}

bool Machine::condition(const Operand& operand, bool& holds) {
    const double c = m_eval.operand(operand);
    if (m_eval.failed()) {
        return error(m_eval.fault().code, m_eval.fault().message);
    }
    holds = isTrue(c);
    return true;
}

bool Machine::dispatch(const Block& b) {
    bool holds = false;
    switch (b.kind) {
        case BlockKind::Nc:
            return executeNc(b);
        case BlockKind::Assign:
            return assign(b) && (++m_pc, true);
        case BlockKind::Goto:
            return jump(b, b.cond);
        case BlockKind::IfGoto:
            return condition(b.cond, holds) && (holds ? jump(b, b.value) : (++m_pc, true));
        case BlockKind::IfThen:
            return condition(b.cond, holds) && (!holds || assign(b)) && (++m_pc, true);
        case BlockKind::While:
            if (!condition(b.value, holds)) {
                return false;
            }
            m_pc = holds ? m_pc + 1 : b.target;
            return true;
        case BlockKind::End:
            m_pc = b.target;
            return true;
        case BlockKind::Invalid:
            break;
    }
    return false;
}

// Looked at once every few thousand blocks: often enough to stop within a
// millisecond, seldom enough to cost nothing.
bool Machine::cancelled() {
    constexpr std::int64_t kEvery = 4096;
    if (m_options.cancel == nullptr || m_result.summary.blocksExecuted % kEvery != 0 ||
        !m_options.cancel->load(std::memory_order_relaxed)) {
        return false;
    }
    m_result.cancelled = true;
    m_running = false;
    return true;
}

bool Machine::assign(const Block& b) {
    const double v = m_eval.operand(b.value);
    if (m_eval.failed()) {
        return error(m_eval.fault().code, m_eval.fault().message);
    }
    if (b.assignVar == kAlarmVariable) {
        const std::string& text = m_text.messages[b.message];
        return error(Code::Alarm, "alarm " + formatShort(orZero(v)) +
                                      (text.empty() ? std::string() : ": " + text));
    }
    if (std::isinf(v)) {
        return error(Code::OutOfRange, "#" + std::to_string(b.assignVar) + " would be infinite");
    }
    m_vars[b.assignVar] = v;
    return true;
}

bool Machine::jump(const Block& b, const Operand& label) {
    if (b.target >= 0) {
        m_pc = b.target;
        return true;
    }
    const double v = m_eval.operand(label);
    if (m_eval.failed()) {
        return error(m_eval.fault().code, m_eval.fault().message);
    }
    const int n = whole(orZero(v));
    const int target = m_text.findLabel(b.program, n);
    if (target < 0) {
        return error(Code::MissingLabel, "GOTO" + std::to_string(n) + ": there is no N" +
                                             std::to_string(n) + " in this program");
    }
    m_pc = target;
    return true;
}

bool Machine::call(const Words& words) {
    if (!words.has(Address::P)) {
        return error(Code::MissingProgram, "M98 P is vacant: no program to call");
    }
    const int number = whole(words[Address::P]);
    const ProgramInfo* p = m_text.findProgram(number);
    if (p == nullptr) {
        return error(Code::MissingProgram,
                     "M98 calls O" + std::to_string(number) + ", which is not in this text");
    }
    const int repeats = words.has(Address::L) ? whole(words[Address::L]) : 1;
    if (repeats <= 0) {
        ++m_pc;
        return true;
    }
    if (static_cast<int>(m_frames.size()) >= kMaxCallDepth) {
        return error(Code::SubprogramNesting, "subprograms call each other more than " +
                                                  std::to_string(kMaxCallDepth) + " levels deep");
    }
    m_frames.push_back({m_pc + 1, repeats - 1, m_program});
    m_program = static_cast<int>(p - m_text.programs.data());
    m_pc = p->firstBlock;
    return true;
}

// M99, or the end of a subprogram's text: repeat for L, else back to the caller.
bool Machine::giveBack(const Words& words) {
    if (m_frames.empty()) {
        const ProgramInfo& main = m_text.programs[0];
        m_pc = main.firstBlock;
    } else if (m_frames.back().repeatsLeft > 0) {
        --m_frames.back().repeatsLeft;
        m_pc = m_text.programs[m_program].firstBlock;
        return true;
    } else {
        m_pc = m_frames.back().returnBlock;
        m_program = m_frames.back().program;
        m_frames.pop_back();
    }
    if (!words.has(Address::P)) {
        return true;
    }
    const int n = whole(words[Address::P]);
    const int target = m_text.findLabel(m_program, n);
    if (target < 0) {
        return error(Code::MissingLabel, "M99 P" + std::to_string(n) + ": there is no N" +
                                             std::to_string(n) + " to return to");
    }
    m_pc = target;
    return true;
}

bool Machine::flow(const NcBlock& nc, const Words& words) {
    if (hasM(nc, 30) || hasM(nc, 2)) {
        finish();
        return false;
    }
    if (hasM(nc, 98)) {
        return call(words);
    }
    if (hasM(nc, 99)) {
        return giveBack(words);
    }
    ++m_pc;
    return true;
}

bool Machine::readWords(const NcBlock& nc, Words& words) {
    for (unsigned mask = nc.wordMask; mask != 0; mask &= mask - 1) {
        const int i = std::countr_zero(mask);
        const double v = m_eval.operand(nc.words[i]);
        if (m_eval.failed()) {
            return error(m_eval.fault().code, m_eval.fault().message);
        }
        if (std::isinf(v)) {
            return error(Code::OutOfRange,
                         std::string("the value of ") + kAddressLetters[i] + " is infinite");
        }
        if (!isVacant(v)) {
            words.value[i] = v;
            words.present |= std::uint16_t(1u << i);
        }
    }
    return true;
}

void run(const CompiledText& text, const CheckOptions& options, CheckResult& result) {
    result.segments.clear();
    result.summary = {};
    result.diagnostics = text.diagnostics;
    result.cancelled = false;
    CheckOptions first = options;
    if (options.centreLine && options.expandTo) {
        // The second run writes the centre path of every move, so the first
        // keeps them all, not only those a drawing needs.
        first.expandTo = nullptr;
        first.segmentLimit = std::numeric_limits<std::size_t>::max() / 2;
    }
    Machine(text, first, result).run();
    result.tools = options.tools;
    compensate(options.tools, result);
    summariseCircles(options.tools, result);
    if (!options.centreLine || !options.expandTo || result.hasError() || result.cancelled) {
        return;
    }
    // The centre path needs the moves after each one, so it is written by a
    // second run that replaces every move by its pieces.
    CheckResult again;
    Machine(text, options, again, &result).run();
}

CheckResult run(const CompiledText& text, const CheckOptions& options) {
    CheckResult result;
    run(text, options, result);
    return result;
}

CheckResult checkProgram(std::string_view text, const CheckOptions& options) {
    return run(compileText(text), options);
}

bool CheckResult::hasError() const {
    return std::any_of(diagnostics.begin(), diagnostics.end(),
                       [](const Diagnostic& d) { return d.severity == Severity::Error; });
}

std::optional<double> CheckResult::variable(int number) const {
    if (number < 0 || number >= static_cast<int>(variables.size()) || isVacant(variables[number])) {
        return std::nullopt;
    }
    return variables[number];
}

}  // namespace tesmara::check
