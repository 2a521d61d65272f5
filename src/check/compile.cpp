#include <algorithm>
#include <unordered_set>

#include "check/compiled.hpp"
#include "check/nc_words.hpp"
#include "check/reader.hpp"

namespace tesmara::check {

namespace {

constexpr int kMaxLoopNesting = 3;

struct OpenLoop {
    int id;
    int block;
};

class Compiler {
public:
    explicit Compiler(CompiledText& out) : m_out(out) {}

    void compileLine(std::string_view text, int line);
    void finishProgram();
    void resolveJumps();

private:
    void startProgram(LineReader& reader, int line);
    void compileBlock(LineReader& reader, Block& block);
    void compileStatement(LineReader& reader, std::string_view word, int col, Block& block);
    void compileAssignment(LineReader& reader, Block& block);
    void openLoop(LineReader& reader, int col, const Operand& cond, Block& block);
    void compileLoopEnd(LineReader& reader, int col, Block& block);
    void report(Code code, int line, int column, std::string message);
    ProgramInfo& program();

    CompiledText& m_out;
    std::vector<OpenLoop> m_loops;
    std::unordered_set<int> m_numbers;
};

ProgramInfo& Compiler::program() {
    if (m_out.programs.empty()) {
        m_out.programs.push_back({0, 0, 0, {}});
    }
    return m_out.programs.back();
}

void Compiler::report(Code code, int line, int column, std::string message) {
    const int number = m_out.programs.empty() ? 0 : m_out.programs.back().number;
    m_out.diagnostics.push_back({severityOf(code), code, number, line, column, std::move(message)});
}

void Compiler::compileLine(std::string_view text, int line) {
    LineReader reader(text);
    reader.skipBlanks();
    if (reader.atEnd()) {
        return;
    }
    if (reader.peek() == 'O') {
        try {
            startProgram(reader, line);
        } catch (const ReadError& e) {
            report(e.code, line, e.column, e.message);
        }
        return;
    }
    const int index = static_cast<int>(m_out.blocks.size());
    program();
    m_out.blocks.push_back({});
    Block block;
    block.line = line;
    block.program = static_cast<int>(m_out.programs.size()) - 1;
    try {
        reader.checkBrackets();
        compileBlock(reader, block);
        reader.skipBlanks();
        if (!reader.atEnd()) {
            reader.fail(Code::Syntax, quoted(reader.peek()) + " is not expected here");
        }
    } catch (const ReadError& e) {
        block.kind = BlockKind::Invalid;
        report(e.code, line, e.column, e.message);
    }
    m_out.blocks[index] = block;
}

void Compiler::startProgram(LineReader& reader, int line) {
    reader.advance();
    const int number = reader.readInteger("the program number after O");
    reader.skipBlanks();
    if (!reader.atEnd()) {
        reader.fail(Code::Syntax, "nothing but a comment may follow the program number");
    }
    finishProgram();
    const bool duplicate = !m_numbers.insert(number).second;
    const int first = static_cast<int>(m_out.blocks.size());
    m_out.programs.push_back({number, first, first, {}});
    if (duplicate) {
        report(Code::DuplicateProgram, line, 1,
               "O" + std::to_string(number) + " is defined twice; calls use the first one");
    }
}

void Compiler::finishProgram() {
    if (m_out.programs.empty()) {
        return;
    }
    ProgramInfo& p = m_out.programs.back();
    p.endBlock = static_cast<int>(m_out.blocks.size());
    for (const OpenLoop& loop : m_loops) {
        Block& b = m_out.blocks[loop.block];
        b.kind = BlockKind::Invalid;
        report(Code::LoopMismatch, b.line, 0,
               "DO" + std::to_string(loop.id) + " has no END" + std::to_string(loop.id));
    }
    m_loops.clear();
    std::stable_sort(p.labels.begin(), p.labels.end(),
                     [](const Label& a, const Label& b) { return a.number < b.number; });
}

void Compiler::compileBlock(LineReader& reader, Block& block) {
    if (reader.peek() == '/') {
        reader.fail(Code::NotSupported, "block delete '/' is not supported");
    }
    if (reader.peek() == 'N') {
        reader.advance();
        const int label = reader.readInteger("the label after N");
        program().labels.push_back({label, static_cast<int>(m_out.blocks.size()) - 1});
        reader.skipBlanks();
    }
    if (reader.peek() == '#') {
        compileAssignment(reader, block);
        return;
    }
    const std::string_view word = reader.peekWord();
    if (word == "IF" || word == "GOTO" || word == "WHILE" || word == "DO" || word == "END") {
        const int col = reader.column();
        reader.readWord();
        compileStatement(reader, word, col, block);
        return;
    }
    block.kind = BlockKind::Nc;
    block.nc = static_cast<int>(m_out.nc.size());
    NcBlock nc = readNcWords(reader, m_out.ops, [&](int column, std::string message) {
        report(Code::NoDecimalPoint, block.line, column, std::move(message));
    });
    m_out.nc.push_back(nc);
}

void Compiler::compileAssignment(LineReader& reader, Block& block) {
    block.kind = block.kind == BlockKind::IfThen ? BlockKind::IfThen : BlockKind::Assign;
    block.assignVar = reader.readTargetVariable();
    reader.expect('=', "after the variable");
    block.value = reader.readExpression(m_out.ops);
    reader.skipBlanks();
    if (block.assignVar == kAlarmVariable) {
        block.message = static_cast<int>(m_out.messages.size());
        m_out.messages.emplace_back(reader.lastComment());
    }
}

// GOTO's label: a literal is resolved once all labels are known.
void readGotoTarget(LineReader& reader, std::vector<Op>& pool, Block& block) {
    bool plain = false;
    bool point = false;
    block.cond = reader.readOperand("GOTO", pool, plain, point);
    if (plain && point) {
        reader.fail(Code::Syntax, "a GOTO label is a whole number");
    }
}

void Compiler::compileStatement(LineReader& reader, std::string_view word, int col, Block& block) {
    if (word == "GOTO") {
        block.kind = BlockKind::Goto;
        readGotoTarget(reader, m_out.ops, block);
        return;
    }
    if (word == "END") {
        compileLoopEnd(reader, col, block);
        return;
    }
    if (word == "DO") {
        Operand always;
        always.value = 1.0;
        openLoop(reader, col, always, block);  // DO without WHILE loops until a GOTO leaves
        return;
    }
    reader.skipBlanks();
    if (reader.peek() != '[') {
        reader.fail(Code::Syntax, std::string(word) + " must be followed by [condition]");
    }
    bool plain = false;
    bool point = false;
    const Operand cond = reader.readOperand(word, m_out.ops, plain, point);
    reader.skipBlanks();
    const std::string_view next = reader.readWord();
    if (word == "WHILE") {
        if (next != "DO") {
            reader.fail(Code::Syntax, "WHILE[...] must be followed by DO1, DO2 or DO3");
        }
        openLoop(reader, col, cond, block);
        return;
    }
    block.cond = cond;
    if (next == "GOTO") {
        block.kind = BlockKind::IfGoto;
        Block target;
        readGotoTarget(reader, m_out.ops, target);
        block.value = target.cond;
    } else if (next == "THEN") {
        block.kind = BlockKind::IfThen;
        reader.skipBlanks();
        compileAssignment(reader, block);
    } else {
        reader.fail(Code::Syntax, "IF[...] must be followed by GOTO or THEN");
    }
}

void Compiler::openLoop(LineReader& reader, int col, const Operand& cond, Block& block) {
    const int id = reader.readInteger("DO");
    if (id < 1 || id > kMaxLoopNesting || m_loops.size() == kMaxLoopNesting) {
        reader.failAt(Code::LoopMismatch, col, "loops are DO1 to DO3, nested at most 3 deep");
    }
    block.kind = BlockKind::While;
    block.value = cond;
    m_loops.push_back({id, static_cast<int>(m_out.blocks.size()) - 1});
}

void Compiler::compileLoopEnd(LineReader& reader, int col, Block& block) {
    const int id = reader.readInteger("END");
    if (m_loops.empty() || m_loops.back().id != id) {
        reader.failAt(Code::LoopMismatch, col,
                      "END" + std::to_string(id) + " does not close the innermost open DO" +
                          (m_loops.empty() ? "" : std::to_string(m_loops.back().id)));
    }
    const int index = static_cast<int>(m_out.blocks.size()) - 1;
    block.kind = BlockKind::End;
    block.target = m_loops.back().block;
    m_out.blocks[block.target].target = index + 1;
    m_loops.pop_back();
}

// Literal GOTO labels and M98 programs are looked up once here; a missing one
// is reported with its line and stops the run when it is reached.
void Compiler::resolveJumps() {
    for (Block& b : m_out.blocks) {
        const bool isGoto = b.kind == BlockKind::Goto || b.kind == BlockKind::IfGoto;
        if (isGoto) {
            const Operand& label = b.kind == BlockKind::Goto ? b.cond : b.value;
            if (label.kind == Operand::Kind::Const) {
                const int n = static_cast<int>(std::clamp(label.value, -1.0, 1e9));
                b.target = m_out.findLabel(b.program, n);
                if (b.target < 0) {
                    // Only an error when the branch is taken; the run says so then.
                    m_out.diagnostics.push_back(
                        {Severity::Warning, Code::LabelNotFound, m_out.programs[b.program].number,
                         b.line, 0,
                         "GOTO" + std::to_string(n) + ": there is no N" + std::to_string(n) +
                             " in this program; the run stops here if the branch is taken"});
                }
            }
        }
        if (b.kind == BlockKind::Nc) {
            resolveCall(m_out, b);
        }
    }
}

void indexPrograms(CompiledText& text) {
    text.programIndex.clear();
    for (std::size_t i = 0; i < text.programs.size(); ++i) {
        text.programIndex.emplace_back(text.programs[i].number, static_cast<std::int32_t>(i));
    }
    // Stable, so the first of two equal numbers stays in front and is the one kept.
    std::stable_sort(text.programIndex.begin(), text.programIndex.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    text.programIndex.erase(
        std::unique(text.programIndex.begin(), text.programIndex.end(),
                    [](const auto& a, const auto& b) { return a.first == b.first; }),
        text.programIndex.end());
}

}  // namespace

const ProgramInfo* CompiledText::findProgram(int number) const {
    const auto it = std::lower_bound(programIndex.begin(), programIndex.end(), number,
                                     [](const auto& entry, int n) { return entry.first < n; });
    return it != programIndex.end() && it->first == number ? &programs[it->second] : nullptr;
}

int CompiledText::findLabel(int program, int label) const {
    const std::vector<Label>& labels = programs[program].labels;
    const auto it = std::lower_bound(labels.begin(), labels.end(), label,
                                     [](const Label& l, int n) { return l.number < n; });
    return it != labels.end() && it->number == label ? it->block : -1;
}

CompiledText compileText(std::string_view text) {
    CompiledText out;
    // One block a line at most: grown once, never copied along the way.
    const auto lines = static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n')) + 1;
    out.blocks.reserve(lines);
    out.nc.reserve(lines);
    Compiler compiler(out);
    // A leading "%" opens the program text and the next "%" closes it; a text
    // without a leading "%" is read up to its first "%".
    bool opened = false;
    int line = 0;
    std::size_t pos = 0;
    while (pos <= text.size()) {
        std::size_t end = text.find('\n', pos);
        if (end == std::string_view::npos) {
            end = text.size();
        }
        std::string_view content = text.substr(pos, end - pos);
        if (content.ends_with('\r')) {
            content.remove_suffix(1);
        }
        ++line;
        pos = end + 1;
        const std::size_t first = content.find_first_not_of(" \t");
        if (first == std::string_view::npos) {
            continue;
        }
        if (content[first] == '%') {
            if (opened) {
                break;
            }
            opened = true;
            continue;
        }
        opened = true;
        compiler.compileLine(content, line);
    }
    compiler.finishProgram();
    indexPrograms(out);
    compiler.resolveJumps();
    return out;
}

}  // namespace tesmara::check
