#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "operations/operation.hpp"

namespace tesmara {

// The holes collected in one multi-hole window since it was last opened, and
// the first hole's coordinates, which outlive the opening.
struct MultiHoleState {
    std::string holeList;  // hole blocks, markers not yet replaced
    std::int32_t holeCounter = 0;
    std::int32_t firstHoleLatch = 0;
    std::string firstHoleX;
    std::string firstHoleY;

    void resetOnOpening();
    HoleValues values() const { return {firstHoleX, firstHoleY, holeList}; }
};

// "下一孔": appends the hole block joined from the current field texts and gives
// the new counter as the count label's caption.
std::string addHole(MultiHoleState& state, const MultiHole& multi, const FieldValues& fields);

enum class SubprogramEnding {
    File,       // "出程序": closes with "%"
    Workspace,  // "多出": ends on a line break so the next program starts on its own line
};

// "O" + number, the window's body, the safe height and the chosen ending;
// markers not yet replaced.
std::string buildSubprogram(const MultiHole& multi, const FieldValues& fields,
                            std::string_view safeHeight, SubprogramEnding ending);

// The main program every multi-hole window generates.
inline constexpr Piece kMultiHoleMainProgram[] = {
    kHeader,
    lit("M01{&}M6 T"),
    field("toolNumber"),
    lit("{&}G0 G90 G"),
    kWorkOffset,
    lit(" X"),
    kFirstHoleX,
    lit(" Y"),
    kFirstHoleY,
    lit(" M3 S"),
    field("spindleSpeed"),
    lit("{&}G43 H"),
    field("toolNumber"),
    lit(" Z"),
    kSafeHeight,
    lit(" M08"),
    kHoleList,
    lit("{&}M05{&}M09{&}G91 G28 Z0{&}"),
    kTrailer,
};

}  // namespace tesmara
