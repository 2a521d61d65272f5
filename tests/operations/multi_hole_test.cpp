#include "operations/multi/multi_hole.hpp"

#include <gtest/gtest.h>

namespace tesmara {
namespace {

constexpr Piece kBlock[] = {lit("{&}#30="), field("coordX"), lit("{&}#31="), field("coordY"),
                            lit("{&}M98 P"), field("subprogramNumber")};
constexpr Piece kBody[] = {lit("{&}G52 X#30 Y#31{&}F"), field("feedRate"), lit("{&}G0 Z")};
const MultiHole kMulti{kBlock, kBody, "标签12"};

TEST(AddHole, JoinsBlocksCountsAndLatchesTheFirstHole) {
    MultiHoleState state;
    EXPECT_EQ(addHole(state, kMulti, {{"coordX", "10"}, {"coordY", "2.5"}, {"subprogramNumber", "7"}}),
              "1");
    EXPECT_EQ(addHole(state, kMulti, {{"coordX", "20"}, {"subprogramNumber", "8"}}), "2");
    EXPECT_EQ(state.holeList, "{&}#30=10{&}#31=2.5{&}M98 P7{&}#30=20{&}#31={&}M98 P8");
    EXPECT_EQ(state.firstHoleX, "10.");
    EXPECT_EQ(state.firstHoleY, "2.5");
    EXPECT_EQ(state.holeCounter, 2);
    EXPECT_EQ(state.firstHoleLatch, 2);

    state.resetOnOpening();
    EXPECT_EQ(state.holeList, "");
    EXPECT_EQ(state.holeCounter, 0);
    EXPECT_EQ(state.firstHoleX, "10.") << "first-hole coordinates outlive the opening";

    EXPECT_EQ(addHole(state, kMulti, {}), "1");
    EXPECT_EQ(state.firstHoleX, ".");
    EXPECT_EQ(state.firstHoleY, ".");
    EXPECT_EQ(state.holeList, "{&}#30={&}#31={&}M98 P");
}

TEST(BuildSubprogram, FramesTheBodyWithNumberSafeHeightAndEnding) {
    const FieldValues fields{{"subprogramNumber", "9"}, {"feedRate", "200"}};
    EXPECT_EQ(buildSubprogram(kMulti, fields, "30.", SubprogramEnding::File),
              "O9{&}G52 X#30 Y#31{&}F200{&}G0 Z30.{&}G52 X0 Y0{&}M99{&}%");
    EXPECT_EQ(buildSubprogram(kMulti, {}, "5.", SubprogramEnding::Workspace),
              "O{&}G52 X#30 Y#31{&}F{&}G0 Z5.{&}G52 X0 Y0{&}M99{&}");
}

}  // namespace
}  // namespace tesmara
