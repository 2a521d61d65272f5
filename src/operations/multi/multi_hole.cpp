#include "operations/multi/multi_hole.hpp"

#include <algorithm>

#include "program/text.hpp"

namespace tesmara {

namespace {

constexpr std::string_view kFileEnding = "{&}G52 X0 Y0{&}M99{&}%";
constexpr std::string_view kWorkspaceEnding = "{&}G52 X0 Y0{&}M99{&}";
// Each step keeps a copy of the whole list; a few are plenty for "撤销".
constexpr std::size_t kUndoSteps = 20;

Hole makeHole(const MultiHole& multi, const FieldValues& fields) {
    const GlobalSettings unused;
    Hole hole;
    for (std::string_view name : holeFieldNames(multi)) {
        hole.texts[std::string(name)] = std::string(fieldText(fields, name));
    }
    appendPieces(hole.block, multi.holeBlock, {hole.texts, unused});
    return hole;
}

// The joined list, the counters and the first hole follow the holes. An empty
// list keeps the first-hole coordinates, as an opening does.
void followList(MultiHoleState& state) {
    state.holeList.clear();
    for (const Hole& hole : state.holes) {
        state.holeList += hole.block;
    }
    state.holeCounter = static_cast<std::int32_t>(state.holes.size());
    state.firstHoleLatch = state.holeCounter;
    if (!state.holes.empty()) {
        const FieldValues& first = state.holes.front().texts;
        state.firstHoleX = ensureDecimalPoint(fieldText(first, kCoordX));
        state.firstHoleY = ensureDecimalPoint(fieldText(first, kCoordY));
    }
}

void rememberForUndo(MultiHoleState& state) {
    if (state.undoStack.size() == kUndoSteps) {
        state.undoStack.erase(state.undoStack.begin());
    }
    state.undoStack.push_back(state.holes);
}

}  // namespace

void MultiHoleState::resetOnOpening() {
    holes.clear();
    holeList.clear();
    holeCounter = 0;
    firstHoleLatch = 0;
    undoStack.clear();
}

std::string addHole(MultiHoleState& state, const MultiHole& multi, const FieldValues& fields) {
    rememberForUndo(state);
    state.holes.push_back(makeHole(multi, fields));
    followList(state);
    return std::to_string(state.holeCounter);
}

void addHoles(MultiHoleState& state, const MultiHole& multi, const FieldValues& fields,
              const std::vector<HolePoint>& points) {
    if (points.empty()) {
        return;
    }
    rememberForUndo(state);
    for (const HolePoint& point : points) {
        FieldValues texts = fields;
        for (const auto& [name, text] : point.texts) {
            texts[name] = text;
        }
        texts[std::string(kCoordX)] = point.x;
        texts[std::string(kCoordY)] = point.y;
        state.holes.push_back(makeHole(multi, texts));
    }
    followList(state);
}

bool replaceHole(MultiHoleState& state, const MultiHole& multi, std::size_t index,
                 const FieldValues& fields) {
    if (index >= state.holes.size()) {
        return false;
    }
    rememberForUndo(state);
    state.holes[index] = makeHole(multi, fields);
    followList(state);
    return true;
}

bool removeHole(MultiHoleState& state, std::size_t index) {
    if (index >= state.holes.size()) {
        return false;
    }
    rememberForUndo(state);
    state.holes.erase(state.holes.begin() + static_cast<std::ptrdiff_t>(index));
    followList(state);
    return true;
}

bool moveHole(MultiHoleState& state, std::size_t index, int offset) {
    const auto target = static_cast<std::ptrdiff_t>(index) + offset;
    if (index >= state.holes.size() || target < 0 ||
        target >= static_cast<std::ptrdiff_t>(state.holes.size()) || offset == 0) {
        return false;
    }
    rememberForUndo(state);
    const auto from = state.holes.begin() + static_cast<std::ptrdiff_t>(index);
    if (offset < 0) {
        std::rotate(state.holes.begin() + target, from, from + 1);
    } else {
        std::rotate(from, from + 1, state.holes.begin() + target + 1);
    }
    followList(state);
    return true;
}

bool undoHoleChange(MultiHoleState& state) {
    if (state.undoStack.empty()) {
        return false;
    }
    state.holes = std::move(state.undoStack.back());
    state.undoStack.pop_back();
    followList(state);
    return true;
}

std::vector<std::string_view> holeFieldNames(const MultiHole& multi) {
    std::vector<std::string_view> names;
    for (const Piece& piece : multi.holeBlock) {
        const bool isField = piece.kind == PieceKind::Field || piece.kind == PieceKind::FieldPoint;
        if (isField && std::find(names.begin(), names.end(), piece.text) == names.end()) {
            names.push_back(piece.text);
        }
    }
    return names;
}

std::string buildSubprogram(const MultiHole& multi, const FieldValues& fields,
                            std::string_view safeHeight, SubprogramEnding ending) {
    const GlobalSettings unused;
    std::string out = "O";
    out.append(fieldText(fields, kSubprogramNumber));
    appendPieces(out, multi.subprogramBody, {fields, unused});
    out.append(safeHeight);
    out.append(ending == SubprogramEnding::File ? kFileEnding : kWorkspaceEnding);
    return out;
}

}  // namespace tesmara
