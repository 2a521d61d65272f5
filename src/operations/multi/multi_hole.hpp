#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "operations/operation.hpp"

namespace tesmara {

// One entry of a window's hole list: the texts of the hole-block fields as
// they were when the hole was added, and the block joined from them.
struct Hole {
    FieldValues texts;
    std::string block;  // markers not yet replaced
};

// The holes collected in one multi-hole window since it was last opened, and
// the first hole's coordinates, which outlive the opening.
struct MultiHoleState {
    std::vector<Hole> holes;
    std::string holeList;  // the holes' blocks joined in order
    std::int32_t holeCounter = 0;
    std::int32_t firstHoleLatch = 0;
    std::string firstHoleX;
    std::string firstHoleY;
    std::vector<std::vector<Hole>> undoStack;  // the list before each change

    void resetOnOpening();
    HoleValues values() const { return {firstHoleX, firstHoleY, holeList}; }
};

// "下一孔": appends the hole block joined from the current field texts and gives
// the new counter as the count label's caption.
std::string addHole(MultiHoleState& state, const MultiHole& multi, const FieldValues& fields);

// A hole at each point, with the other texts from `fields`; one undo step.
struct HolePoint {
    std::string x;
    std::string y;
    FieldValues texts;  // per-hole texts that replace those of `fields`
};
void addHoles(MultiHoleState& state, const MultiHole& multi, const FieldValues& fields,
              const std::vector<HolePoint>& points);

// Editing the list; each is one undo step. An index out of range changes
// nothing and gives false.
bool replaceHole(MultiHoleState& state, const MultiHole& multi, std::size_t index,
                 const FieldValues& fields);
bool removeHole(MultiHoleState& state, std::size_t index);
bool moveHole(MultiHoleState& state, std::size_t index, int offset);
bool undoHoleChange(MultiHoleState& state);

// The names of the fields a hole block is joined from, in table order.
std::vector<std::string_view> holeFieldNames(const MultiHole& multi);

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
