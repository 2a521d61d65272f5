// The tool table as CSV: what is read, what is refused and on which line.
#include <gtest/gtest.h>

#include <string>

#include "check/tool_table.hpp"

namespace tesmara::check {
namespace {

TEST(ToolTable, RegistersTakeTheRadiusOfTheirTool) {
    const ToolTableRead read =
        parseToolTable("\xEF\xBB\xBFtool,diameter,radius_register\r\n3,10,\r\n\r\n5, 6.35 ,23\n");
    ASSERT_EQ(read.error(), "");
    EXPECT_EQ(read.table.diameter(3), 10.0);
    EXPECT_EQ(read.table.radius(3), 5.0);
    EXPECT_EQ(read.table.diameter(5), 6.35);
    EXPECT_EQ(read.table.radius(23), 3.175);
    EXPECT_EQ(read.table.radius(5), std::nullopt) << "tool 5 keeps its radius in D23";
    EXPECT_EQ(read.table.diameter(4), std::nullopt);
    EXPECT_EQ(read.table.radius(0), 0.0) << "D0 cancels the offset";
}

TEST(ToolTable, WrittenTableReadsBackTheSame) {
    const ToolTable table{{{3, 10.0, 0}, {5, 6.35, 23}}};
    const ToolTableRead read = parseToolTable(toolTableCsv(table));
    ASSERT_EQ(read.error(), "");
    ASSERT_EQ(read.table.tools.size(), 2u);
    EXPECT_EQ(read.table.tools[1].tool, 5);
    EXPECT_EQ(read.table.tools[1].diameter, 6.35);
    EXPECT_EQ(read.table.tools[1].radiusRegister, 23);
}

struct BadCase {
    const char* csv;
    const char* error;  // the start of the message, which names the line
};

TEST(ToolTable, RefusesWhatItCannotReadNamingTheLine) {
    const BadCase cases[] = {
        {"", "line 1: the header tool,diameter is missing"},
        {"tool;diameter\n3;10\n", "line 1: the header must be"},
        {"tool,diameter\n3,10\nx,10\n", "line 3: tool 'x' is not a tool number"},
        {"tool,diameter\n0,10\n", "line 2: tool '0'"},
        {"tool,diameter\n3,0\n", "line 2: diameter '0' is not a length above 0"},
        {"tool,diameter\n3,10mm\n", "line 2: diameter '10mm'"},
        {"tool,diameter\n3,10,23\n", "line 2: has 3 cells, the header 2"},
        {"tool,diameter,radius_register\n3,10,D3\n", "line 2: radius_register 'D3'"},
        {"tool,diameter\n3,10\n\n3,12\n", "line 4: tool 3 is listed twice"},
        {"tool,diameter,radius_register\n3,10\n", "line 2: has 2 cells"},
        {"tool,diameter,radius_register\n3,10,7\n7,8,\n", "line 3: D7 already holds the radius"},
    };
    for (const BadCase& c : cases) {
        const ToolTableRead read = parseToolTable(c.csv);
        EXPECT_TRUE(read.error().starts_with(c.error)) << c.csv << "\ngave: " << read.error();
    }
}

}  // namespace
}  // namespace tesmara::check
