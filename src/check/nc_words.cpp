#include "check/nc_words.hpp"

#include <algorithm>
#include <cmath>

namespace tesmara::check {

namespace {

enum class Group : std::uint8_t {
    NonModal,
    Motion,
    Plane,
    Distance,
    Polar,
    Compensation,
    LengthComp,
    WorkOffset,
    Cycle,
    FeedMode,
};

struct GCode {
    int number;
    Group group;
};

// The G codes this check runs, with their modal group; two of one group in a
// block are a conflict.
constexpr GCode kGCodes[] = {
    {0, Group::Motion},        {1, Group::Motion},        {2, Group::Motion},
    {3, Group::Motion},        {15, Group::Polar},        {16, Group::Polar},
    {17, Group::Plane},        {28, Group::NonModal},     {40, Group::Compensation},
    {41, Group::Compensation}, {42, Group::Compensation}, {43, Group::LengthComp},
    {49, Group::LengthComp},   {52, Group::NonModal},     {54, Group::WorkOffset},
    {55, Group::WorkOffset},   {56, Group::WorkOffset},   {57, Group::WorkOffset},
    {58, Group::WorkOffset},   {59, Group::WorkOffset},   {80, Group::Cycle},
    {90, Group::Distance},     {91, Group::Distance},     {94, Group::FeedMode},
};

constexpr int kMCodes[] = {0, 1, 2, 3, 4, 5, 6, 8, 9, 30, 98, 99};

constexpr std::string_view kAddressList = "G M X Y Z I J R F S T D H P L, and N first";

bool isAxis(Address a) {
    return static_cast<int>(a) <= static_cast<int>(Address::R);
}

void applyGCode(const GCode& g, NcBlock& nc) {
    const int n = g.number;
    switch (g.group) {
        case Group::Motion:
            nc.motion = static_cast<Motion>(n);
            break;
        case Group::Polar:
            nc.polar = n == 16 ? 1 : 0;
            break;
        case Group::Distance:
            nc.absolute = n == 90 ? 1 : 0;
            break;
        case Group::Compensation:
            nc.compensation = static_cast<std::int8_t>(n - 40);
            break;
        case Group::LengthComp:
            nc.lengthComp = n == 43 ? 1 : 0;
            break;
        case Group::WorkOffset:
            nc.workOffset = static_cast<std::int8_t>(n - 54);
            break;
        case Group::NonModal:
            (n == 28 ? nc.home : nc.localShift) = true;
            break;
        case Group::Plane:
        case Group::Cycle:
        case Group::FeedMode:
            break;
    }
}

int readCodeNumber(LineReader& reader, char letter) {
    reader.skipBlanks();
    if (reader.peek() == '#' || reader.peek() == '[') {
        reader.fail(Code::NotSupported,
                    std::string(1, letter) + " from a variable is not supported");
    }
    const int col = reader.column();
    const int n = reader.readInteger(std::string(1, letter));
    if (reader.peek() == '.') {
        reader.failAt(Code::NotSupported, col,
                      std::string(1, letter) + std::to_string(n) + ". is not supported");
    }
    return n;
}

void readGCode(LineReader& reader, int col, NcBlock& nc, unsigned& groups) {
    const int n = readCodeNumber(reader, 'G');
    const auto it = std::find_if(std::begin(kGCodes), std::end(kGCodes),
                                 [n](const GCode& g) { return g.number == n; });
    if (it == std::end(kGCodes)) {
        reader.failAt(Code::NotSupported, col,
                      "G" + std::to_string(n) + " is not supported by this check" +
                          (n == 18 || n == 19 ? " (only the XY plane, G17)" : ""));
    }
    const unsigned groupBit = 1u << static_cast<int>(it->group);
    if (groups & groupBit) {
        reader.failAt(Code::ModalConflict, col,
                      "G" + std::to_string(n) +
                          " conflicts with another G code of its group "
                          "in the same block");
    }
    groups |= groupBit;
    applyGCode(*it, nc);
}

void readMCode(LineReader& reader, int col, NcBlock& nc) {
    const int n = readCodeNumber(reader, 'M');
    if (std::find(std::begin(kMCodes), std::end(kMCodes), n) == std::end(kMCodes)) {
        reader.failAt(Code::NotSupported, col,
                      "M" + std::to_string(n) + " is not supported by this check");
    }
    if (nc.mCount == nc.m.size()) {
        reader.failAt(Code::NotSupported, col, "more than 4 M codes in one block");
    }
    nc.m[nc.mCount++] = static_cast<std::uint8_t>(n);
}

void readAddress(LineReader& reader, int col, Address a, NcBlock& nc, std::vector<Op>& pool,
                 const PointWarning& warn) {
    const char letter = kAddressLetters[static_cast<int>(a)];
    if (nc.wordMask & bit(a)) {
        reader.failAt(Code::RepeatedAddress, col,
                      std::string(1, letter) + " appears twice in one block");
    }
    bool plain = false;
    bool point = false;
    const Operand value = reader.readOperand(std::string(1, letter), pool, plain, point);
    if (plain && !point && isAxis(a) && value.value != 0.0) {
        const std::string word(reader.since(col));
        warn(col, word + " has no decimal point: read here as " + word.substr(1) +
                      " mm, while many controls read it as thousandths of a mm");
    }
    if (isAxis(a) && value.kind == Operand::Kind::Expr) {
        // ROUND in an axis address rounds to the address's least increment.
        for (int i = value.first; i < value.first + value.count; ++i) {
            if (pool[i].code == OpCode::Round) {
                pool[i].code = OpCode::RoundAddress;
            }
        }
    }
    nc.wordMask |= bit(a);
    nc.words[static_cast<int>(a)] = value;
    nc.columns[static_cast<int>(a)] = static_cast<std::uint16_t>(col <= 0xffff ? col : 0);
}

}  // namespace

NcBlock readNcWords(LineReader& reader, std::vector<Op>& pool, const PointWarning& warn) {
    NcBlock nc;
    unsigned groups = 0;
    for (reader.skipBlanks(); !reader.atEnd(); reader.skipBlanks()) {
        const int col = reader.column();
        const std::string_view word = reader.peekWord();
        if (word.empty()) {
            reader.fail(Code::Syntax, quoted(reader.peek()) + " is not expected here");
        }
        if (word.size() > 1) {
            reader.fail(Code::UnknownAddress, "'" + std::string(word) +
                                                  "' is not an address; the addresses are " +
                                                  std::string(kAddressList));
        }
        reader.advance();
        const char letter = word[0];
        const std::size_t index = kAddressLetters.find(letter);
        if (letter == 'G') {
            readGCode(reader, col, nc, groups);
        } else if (letter == 'M') {
            readMCode(reader, col, nc);
        } else if (index != std::string_view::npos) {
            readAddress(reader, col, static_cast<Address>(index), nc, pool, warn);
        } else if (letter == 'N' || letter == 'O') {
            reader.failAt(Code::Syntax, col, std::string(1, letter) + " may only start a block");
        } else {
            reader.failAt(Code::UnknownAddress, col,
                          std::string("address ") + letter + " is not known; the addresses are " +
                              std::string(kAddressList));
        }
    }
    return nc;
}

void resolveCall(CompiledText& text, Block& block) {
    const NcBlock& nc = text.nc[block.nc];
    if (std::find(nc.m.begin(), nc.m.begin() + nc.mCount, 98) == nc.m.begin() + nc.mCount) {
        return;
    }
    const Operand& p = nc.words[static_cast<int>(Address::P)];
    if (!(nc.wordMask & bit(Address::P))) {
        text.diagnostics.push_back({Severity::Error, Code::Syntax,
                                    text.programs[block.program].number, block.line, 0,
                                    "M98 needs P with the number of the program to call"});
        block.kind = BlockKind::Invalid;
        return;
    }
    const int number = static_cast<int>(std::clamp(std::round(p.value), -1.0, 1e9));
    if (p.kind == Operand::Kind::Const && text.findProgram(number) == nullptr) {
        const std::string name = "O" + std::to_string(number);
        text.diagnostics.push_back({Severity::Error, Code::MissingProgram,
                                    text.programs[block.program].number, block.line, 0,
                                    "M98 calls " + name + ", which is not in this text"});
        block.kind = BlockKind::Invalid;
    }
}

}  // namespace tesmara::check
