#include "program/template.hpp"

#include "program/text.hpp"

namespace tesmara {

std::string_view fieldText(const FieldValues& fields, std::string_view name) {
    const auto found = fields.find(name);
    return found == fields.end() ? std::string_view{} : std::string_view{found->second};
}

namespace {

std::string_view pieceText(const Piece& piece, const ProgramInputs& in) {
    switch (piece.kind) {
        case PieceKind::Literal: return piece.text;
        case PieceKind::Field:
        case PieceKind::FieldPoint: return fieldText(in.fields, piece.text);
        case PieceKind::SafeHeight: return in.settings.safeHeight;
        case PieceKind::WorkOffset: return in.settings.workOffset;
        case PieceKind::Header: return in.header ? kHeaderBlock : std::string_view{};
        case PieceKind::Trailer: return in.trailer ? kTrailerBlock : std::string_view{};
        case PieceKind::FirstHoleX: return in.holes.firstHoleX;
        case PieceKind::FirstHoleY: return in.holes.firstHoleY;
        case PieceKind::HoleList: return in.holes.holeList;
    }
    return {};
}

}  // namespace

void appendPieces(std::string& out, Template pieces, const ProgramInputs& inputs) {
    for (const Piece& piece : pieces) {
        const std::string_view text = pieceText(piece, inputs);
        out.append(text);
        if (piece.kind == PieceKind::FieldPoint && text.find('.') == std::string_view::npos) {
            out.push_back('.');
        }
    }
}

std::string joinPieces(Template pieces, const ProgramInputs& inputs) {
    std::size_t size = 0;
    for (const Piece& piece : pieces) {
        size += pieceText(piece, inputs).size() + 1;  // room for an added point
    }
    std::string out;
    out.reserve(size);
    appendPieces(out, pieces, inputs);
    return out;
}

std::string generateProgram(Template pieces, const ProgramInputs& inputs) {
    std::string program = joinPieces(pieces, inputs);
    replaceLineMarkersInPlace(program);
    return program;
}

}  // namespace tesmara
