#include "operations/multi/multi_hole.hpp"

#include <gtest/gtest.h>

#include <functional>

namespace tesmara {
namespace {

constexpr Piece kBlock[] = {lit("{&}#30="),  field("coordX"), lit("{&}#31="),
                            field("coordY"), lit("{&}M98 P"), field("subprogramNumber")};
constexpr Piece kBody[] = {lit("{&}G52 X#30 Y#31{&}F"), field("feedRate"), lit("{&}G0 Z")};
const MultiHole kMulti{kBlock, kBody, "标签12"};

TEST(AddHole, JoinsBlocksCountsAndLatchesTheFirstHole) {
    MultiHoleState state;
    EXPECT_EQ(
        addHole(state, kMulti, {{"coordX", "10"}, {"coordY", "2.5"}, {"subprogramNumber", "7"}}),
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

// Each step changes the list; the joined blocks and the first hole follow it.
// An emptied list keeps the first-hole coordinates it had last, as an opening does.
TEST(HoleList, EditsKeepBlocksAndFirstHoleInListOrder) {
    MultiHoleState state;
    const auto hole = [](const char* x, const char* y, const char* p) {
        return FieldValues{
            {"coordX", x}, {"coordY", y}, {"subprogramNumber", p}, {"feedRate", "9"}};
    };
    struct Step {
        const char* what;
        std::function<bool()> change;
        const char* list;
        const char* firstX;
        const char* firstY;
    };
    const Step steps[] = {
        {"add", [&] { return addHole(state, kMulti, hole("10", "2.5", "7")) == "1"; },
         "{&}#30=10{&}#31=2.5{&}M98 P7", "10.", "2.5"},
        {"add", [&] { return addHole(state, kMulti, hole("20", "", "8")) == "2"; },
         "{&}#30=10{&}#31=2.5{&}M98 P7{&}#30=20{&}#31={&}M98 P8", "10.", "2.5"},
        {"edit first", [&] { return replaceHole(state, kMulti, 0, hole("-1.5", "3", "7")); },
         "{&}#30=-1.5{&}#31=3{&}M98 P7{&}#30=20{&}#31={&}M98 P8", "-1.5", "3."},
        {"pattern",
         [&] {
             addHoles(state, kMulti, hole("", "", "9"),
                      {{"5.", "6.", {{"subprogramNumber", "4"}}}});
             return true;
         },
         "{&}#30=-1.5{&}#31=3{&}M98 P7{&}#30=20{&}#31={&}M98 P8{&}#30=5.{&}#31=6.{&}M98 P4", "-1.5",
         "3."},
        {"move last to top", [&] { return moveHole(state, 2, -2); },
         "{&}#30=5.{&}#31=6.{&}M98 P4{&}#30=-1.5{&}#31=3{&}M98 P7{&}#30=20{&}#31={&}M98 P8", "5.",
         "6."},
        {"move first down", [&] { return moveHole(state, 0, 1); },
         "{&}#30=-1.5{&}#31=3{&}M98 P7{&}#30=5.{&}#31=6.{&}M98 P4{&}#30=20{&}#31={&}M98 P8", "-1.5",
         "3."},
        {"delete first", [&] { return removeHole(state, 0); },
         "{&}#30=5.{&}#31=6.{&}M98 P4{&}#30=20{&}#31={&}M98 P8", "5.", "6."},
        {"undo the delete", [&] { return undoHoleChange(state); },
         "{&}#30=-1.5{&}#31=3{&}M98 P7{&}#30=5.{&}#31=6.{&}M98 P4{&}#30=20{&}#31={&}M98 P8", "-1.5",
         "3."},
        {"out of range",
         [&] {
             return !removeHole(state, 3) && !moveHole(state, 2, 1) && !moveHole(state, 0, -1) &&
                    !replaceHole(state, kMulti, 9, {});
         },
         "{&}#30=-1.5{&}#31=3{&}M98 P7{&}#30=5.{&}#31=6.{&}M98 P4{&}#30=20{&}#31={&}M98 P8", "-1.5",
         "3."},
        {"delete all",
         [&] { return removeHole(state, 0) && removeHole(state, 0) && removeHole(state, 0); }, "",
         "20.", "."},
        {"undo back to the start",
         [&] {
             while (undoHoleChange(state)) {
             }
             return state.undoStack.empty();
         },
         "", "10.", "2.5"},
    };
    for (const Step& step : steps) {
        EXPECT_TRUE(step.change()) << step.what;
        EXPECT_EQ(state.holeList, step.list) << step.what;
        EXPECT_EQ(state.firstHoleX, step.firstX) << step.what;
        EXPECT_EQ(state.firstHoleY, step.firstY) << step.what;
        EXPECT_EQ(state.holeCounter, static_cast<std::int32_t>(state.holes.size())) << step.what;
    }
}

TEST(HoleList, KeepsOnlyTheTextsTheBlockIsBuiltFrom) {
    MultiHoleState state;
    addHole(state, kMulti, {{"coordX", "1"}, {"feedRate", "200"}, {"subprogramNumber", "3"}});
    EXPECT_EQ(state.holes.at(0).texts,
              (FieldValues{{"coordX", "1"}, {"coordY", ""}, {"subprogramNumber", "3"}}));
    EXPECT_EQ(holeFieldNames(kMulti),
              (std::vector<std::string_view>{"coordX", "coordY", "subprogramNumber"}));
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
