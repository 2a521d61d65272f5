#include "program/text.hpp"

#include <gtest/gtest.h>

namespace tesmara {
namespace {

struct TextCase {
    std::string_view input;
    std::string_view expected;
};

TEST(ReplaceLineMarkers, ReplacesEveryMarkerLeftToRightWithoutOverlap) {
    const TextCase cases[] = {
        {"", ""},
        {"G0", "G0"},
        {"{&}", "\r\n"},
        {"A{&}B{&}", "A\r\nB\r\n"},
        {"{&}{&}{&}", "\r\n\r\n\r\n"},
        {"{&&}", "{&&}"},
        {"{{&}}", "{\r\n}"},
        {"{&}&}", "\r\n&}"},
        {"{&", "{&"},
        {"&}", "&}"},
        {"坐标{&}X", "坐标\r\nX"},
        {"{&}坐标{&}", "\r\n坐标\r\n"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(replaceLineMarkers(c.input), c.expected) << "input: " << c.input;
    }
}

TEST(EnsureDecimalPoint, AppendsAPointOnlyWhenThereIsNone) {
    const TextCase cases[] = {
        {"", "."},       {"30", "30."},     {"30.", "30."},   {"12.5", "12.5"},
        {".5", ".5"},    {"3.0.", "3.0."},  {"abc", "abc."},  {"a.b", "a.b"},
        {" ", " ."},     {"-7", "-7."},     {"坐标", "坐标."},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ensureDecimalPoint(c.input), c.expected) << "input: " << c.input;
    }
}

TEST(Blocks, HeaderAndTrailerAreTheirLinesWithCrLf) {
    EXPECT_EQ(kHeaderBlock, replaceLineMarkers("G40 G17 G49 G80{&}G91 G28 Z0{&}"));
    EXPECT_EQ(kTrailerBlock, replaceLineMarkers("G28 Y0{&}M30{&}"));
}

}  // namespace
}  // namespace tesmara
