#include "operations/multi/multi_hole.hpp"

#include "program/text.hpp"

namespace tesmara {

namespace {

constexpr std::string_view kFileEnding = "{&}G52 X0 Y0{&}M99{&}%";
constexpr std::string_view kWorkspaceEnding = "{&}G52 X0 Y0{&}M99{&}";

}  // namespace

void MultiHoleState::resetOnOpening() {
    holeList.clear();
    holeCounter = 0;
    firstHoleLatch = 0;
}

std::string addHole(MultiHoleState& state, const MultiHole& multi, const FieldValues& fields) {
    const GlobalSettings unused;
    appendPieces(state.holeList, multi.holeBlock, {fields, unused});
    ++state.holeCounter;
    ++state.firstHoleLatch;
    if (state.firstHoleLatch == 1) {
        state.firstHoleX = ensureDecimalPoint(fieldText(fields, kCoordX));
        state.firstHoleY = ensureDecimalPoint(fieldText(fields, kCoordY));
    }
    return std::to_string(state.holeCounter);
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
