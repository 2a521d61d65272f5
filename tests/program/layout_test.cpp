#include "program/layout.hpp"

#include <gtest/gtest.h>

#include "program/template.hpp"

namespace tesmara {
namespace {

TEST(Layout, FilesFrameTheirTextsWithNothingAdded) {
    EXPECT_EQ(singleProgramFile(""), "%\r\nO100\r\n%");
    EXPECT_EQ(singleProgramFile("G0 X1.\r\n"), "%\r\nO100\r\nG0 X1.\r\n%");
    EXPECT_EQ(fileWithSubprogram("M01\r\n", "O7\r\nM99\r\n%"), "%\r\nO100\r\nM01\r\nO7\r\nM99\r\n%");
    EXPECT_EQ(fileWithSubprogram("", "O\r\nM99\r\n%"), "%\r\nO100\r\nO\r\nM99\r\n%");
    EXPECT_EQ(consolidatedFile("", ""), "%\r\n%");
    EXPECT_EQ(consolidatedFile(kWorkspaceMainStart, ""), "%\r\nO100\r\n%");
    EXPECT_EQ(consolidatedFile("O100\r\nA\r\nB\r\n", "O7\r\nM99\r\n"),
              "%\r\nO100\r\nA\r\nB\r\nO7\r\nM99\r\n%");
}

TEST(Template, JoinsPiecesInOrderAndFindsMarkersAcrossTheirBorders) {
    constexpr Piece pieces[] = {
        kHeader, lit("#1="), field("a"), lit("}X"), kSafeHeight, lit(" G"),
        kWorkOffset, fieldWithPoint("b"), lit("{&}"), kTrailer,
    };
    const FieldValues fields{{"a", "5{&"}, {"b", "7"}};
    const GlobalSettings settings{"25.", "55"};
    EXPECT_EQ(generateProgram(pieces, {fields, settings}), "#1=5\r\nX25. G557.\r\n");
    EXPECT_EQ(generateProgram(pieces, {fields, settings, true, true}),
              "G40 G17 G49 G80\r\nG91 G28 Z0\r\n#1=5\r\nX25. G557.\r\nG28 Y0\r\nM30\r\n");
    const FieldValues missing;
    EXPECT_EQ(generateProgram(pieces, {missing, settings}), "#1=}X25. G55.\r\n");
}

}  // namespace
}  // namespace tesmara
