#pragma once

#include <map>
#include <span>
#include <string>
#include <string_view>

#include "program/settings.hpp"

namespace tesmara {

enum class PieceKind {
    Literal,     // copied byte for byte, markers included
    Field,       // the text of one of the window's edit boxes, by field name
    FieldPoint,  // a field text through ensureDecimalPoint
    SafeHeight,  // GlobalSettings::safeHeight
    WorkOffset,  // GlobalSettings::workOffset
    Header,      // header block or nothing
    Trailer,     // trailer block or nothing
    FirstHoleX,  // multi-hole windows: first-hole coordinates and hole list
    FirstHoleY,
    HoleList,
};

struct Piece {
    PieceKind kind;
    std::string_view text;  // the literal, or the field name
};

constexpr Piece lit(std::string_view text) { return {PieceKind::Literal, text}; }
constexpr Piece field(std::string_view name) { return {PieceKind::Field, name}; }
constexpr Piece fieldWithPoint(std::string_view name) { return {PieceKind::FieldPoint, name}; }
constexpr Piece kSafeHeight{PieceKind::SafeHeight, {}};
constexpr Piece kWorkOffset{PieceKind::WorkOffset, {}};
constexpr Piece kHeader{PieceKind::Header, {}};
constexpr Piece kTrailer{PieceKind::Trailer, {}};
constexpr Piece kFirstHoleX{PieceKind::FirstHoleX, {}};
constexpr Piece kFirstHoleY{PieceKind::FirstHoleY, {}};
constexpr Piece kHoleList{PieceKind::HoleList, {}};

using Template = std::span<const Piece>;

// Field texts by field name, exactly as typed; a missing field is the empty text.
using FieldValues = std::map<std::string, std::string, std::less<>>;

std::string_view fieldText(const FieldValues& fields, std::string_view name);

// What a multi-hole window's main program reads of its hole state.
struct HoleValues {
    std::string_view firstHoleX;
    std::string_view firstHoleY;
    std::string_view holeList;
};

struct ProgramInputs {
    const FieldValues& fields;
    const GlobalSettings& settings;
    bool header = false;
    bool trailer = false;
    HoleValues holes = {};
};

// The pieces joined in order, nothing inserted, markers left as they are.
std::string joinPieces(Template pieces, const ProgramInputs& inputs);
void appendPieces(std::string& out, Template pieces, const ProgramInputs& inputs);

// The finished program: pieces joined, then every marker replaced by CR LF.
std::string generateProgram(Template pieces, const ProgramInputs& inputs);

}  // namespace tesmara
