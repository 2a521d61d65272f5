#include "holes/thread_table.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <set>

namespace tesmara {
namespace {

TEST(ThreadTable, FillsMajorPitchAndMinorByTheFormula) {
    struct Case {
        const char* name;
        const char* major;
        const char* pitch;
        const char* minor;  // D - 1.082532 P to three decimals
    };
    const Case cases[] = {
        {"M10", "10.", "1.5", "8.376"},     {"M10x1.25", "10.", "1.25", "8.647"},
        {"M3x0.35", "3.", "0.35", "2.621"}, {"M3.5", "3.5", "0.6", "2.85"},
        {"M64x4", "64.", "4.", "59.67"},    {"M24", "24.", "3.", "20.752"},
    };
    for (const Case& c : cases) {
        const auto thread = findThread(c.name);
        ASSERT_TRUE(thread) << c.name;
        const ThreadTexts texts = threadTexts(*thread);
        EXPECT_EQ(texts.majorDiameter, c.major) << c.name;
        EXPECT_EQ(texts.pitch, c.pitch) << c.name;
        EXPECT_EQ(texts.minorDiameter, c.minor) << c.name;
    }
}

TEST(ThreadTable, NamesAsWrittenOnADrawing) {
    EXPECT_EQ(findThread("m10X1.25")->pitch, 1.25);
    EXPECT_EQ(findThread(" M10×1.25 ")->pitch, 1.25);
    EXPECT_TRUE(findThread("M10x1.5")->coarse);
    for (const char* missing : {"", "M11", "M10x2", "M10x", "10", "M3x0.5x1", "M1"}) {
        EXPECT_FALSE(findThread(missing)) << missing;
    }
}

TEST(ThreadTable, EverySizeFromM3ToM64HasOneCoarsePitchFirst) {
    std::set<double> sizes;
    double previous = 0;
    for (const MetricThread& t : metricThreads()) {
        EXPECT_GE(t.diameter, 3.0);
        EXPECT_LE(t.diameter, 64.0);
        EXPECT_EQ(t.coarse, t.diameter != previous) << threadName(t);
        EXPECT_EQ(findThread(threadName(t))->pitch, t.pitch) << threadName(t);
        sizes.insert(t.diameter);
        previous = t.diameter;
    }
    EXPECT_EQ(sizes.size(), 27u);
}

}  // namespace
}  // namespace tesmara
