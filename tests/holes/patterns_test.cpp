#include "holes/patterns.hpp"

#include <gtest/gtest.h>

#include "holes/coordinate_text.hpp"

namespace tesmara {
namespace {

TEST(CoordinateText, PointAlwaysAtMostThreeDecimals) {
    const std::pair<double, const char*> cases[] = {
        {50, "50."},        {35.35534, "35.355"}, {-0.5, "-0.5"},
        {0, "0."},          {-0.0004, "0."},      {0.1 + 0.2, "0.3"},
        {-12.0004, "-12."}, {1e-9, "0."},         {123456.7896, "123456.79"},
        {-7.25, "-7.25"},
    };
    for (const auto& [value, text] : cases) {
        EXPECT_EQ(coordinateText(value), text) << value;
    }
}

TEST(ParseNumber, AcceptsDecimalsRejectsTheRest) {
    EXPECT_EQ(parseNumber(" 12 "), 12.0);
    EXPECT_EQ(parseNumber("-3.5"), -3.5);
    EXPECT_EQ(parseNumber("+.5"), 0.5);
    for (const char* bad : {"", " ", "1,5", "12a", "inf", "nan", "--1", "1e999"}) {
        EXPECT_FALSE(parseNumber(bad)) << bad;
    }
}

using Points = std::vector<std::pair<std::string, std::string>>;

Points coordinates(const std::vector<HolePoint>& points) {
    Points out;
    for (const HolePoint& p : points) {
        out.emplace_back(p.x, p.y);
    }
    return out;
}

TEST(BoltCircle, PointsCounterClockwiseFromTheStartAngle) {
    struct Case {
        BoltCircle pattern;
        Points expected;
    };
    const Case cases[] = {
        {{0, 0, 100, 4, 0}, {{"50.", "0."}, {"0.", "50."}, {"-50.", "0."}, {"0.", "-50."}}},
        {{0, 0, 100, 4, 360}, {{"50.", "0."}, {"0.", "50."}, {"-50.", "0."}, {"0.", "-50."}}},
        {{0, 0, 100, 2, 45}, {{"35.355", "35.355"}, {"-35.355", "-35.355"}}},
        {{-10, -20, 20, 3, 90}, {{"-10.", "-10."}, {"-18.66", "-25."}, {"-1.34", "-25."}}},
        {{5, 5, 10, 1, 180}, {{"0.", "5."}}},
        {{1, 2, 0, 2, 0}, {{"1.", "2."}, {"1.", "2."}}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(coordinates(boltCirclePoints(c.pattern)), c.expected)
            << c.pattern.count << " holes from " << c.pattern.startAngle;
    }
    EXPECT_TRUE(boltCirclePoints({0, 0, 10, 0, 0}).empty());
    EXPECT_TRUE(boltCirclePoints({0, 0, -10, 3, 0}).empty());
}

TEST(Grid, RowAfterRowFromTheFirstHole) {
    EXPECT_EQ(coordinates(gridPoints({0, 0, 10, 5, 3, 2})), (Points{{"0.", "0."},
                                                                    {"10.", "0."},
                                                                    {"20.", "0."},
                                                                    {"0.", "5."},
                                                                    {"10.", "5."},
                                                                    {"20.", "5."}}));
    EXPECT_EQ(coordinates(gridPoints({-1.5, 2, -0.25, -2, 2, 2})),
              (Points{{"-1.5", "2."}, {"-1.75", "2."}, {"-1.5", "0."}, {"-1.75", "0."}}));
    EXPECT_EQ(coordinates(gridPoints({7, 8, 10, 10, 1, 1})), (Points{{"7.", "8."}}));
    EXPECT_EQ(gridPoints({0, 0, 1, 1, 1000, 1}).size(), 1000u);
    EXPECT_TRUE(gridPoints({0, 0, 1, 1, 1000, 2}).empty());
}

TEST(ReadPattern, NamesTheFirstValueThatCannotBeUsed) {
    struct Case {
        std::vector<std::string> texts;
        std::size_t wrong;  // texts.size() when the number of values is wrong
    };
    const Case circles[] = {
        {{"0", "0", "100"}, 3},         {{"0", "0", "100", "4", "0", "1"}, 6},
        {{"a", "0", "100", "4"}, 0},    {{"0", "0", "-1", "4"}, 2},
        {{"0", "0", "100", "0"}, 3},    {{"0", "0", "100", "2.5"}, 3},
        {{"0", "0", "100", "1001"}, 3}, {{"0", "0", "100", "4", "x"}, 4},
    };
    for (const Case& c : circles) {
        std::size_t wrong = 99;
        EXPECT_FALSE(readBoltCircle(c.texts, wrong));
        EXPECT_EQ(wrong, c.wrong) << c.texts.size();
    }
    std::size_t wrong = 99;
    const auto circle = readBoltCircle(std::vector<std::string>{"1", "-2", "30", "6"}, wrong);
    ASSERT_TRUE(circle);
    EXPECT_EQ(circle->count, 6);
    EXPECT_EQ(circle->startAngle, 0.0);

    const Case grids[] = {
        {{"0", "0", "1", "1", "2"}, 5},
        {{"0", "0", "x", "1", "2", "2"}, 2},
        {{"0", "0", "1", "1", "0", "2"}, 4},
        {{"0", "0", "1", "1", "500", "3"}, 5},
    };
    for (const Case& c : grids) {
        EXPECT_FALSE(readGrid(c.texts, wrong));
        EXPECT_EQ(wrong, c.wrong) << c.texts.size();
    }
    const auto grid = readGrid(std::vector<std::string>{"0", "0", "5", "5", "500", "2"}, wrong);
    ASSERT_TRUE(grid);
    EXPECT_EQ(grid->countX * grid->countY, 1000);
}

}  // namespace
}  // namespace tesmara
