#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tesmara::check {

// One tool the operator keeps: its diameter, and the offset register D that
// holds its radius (0: the register of the tool's own number).
struct ToolEntry {
    int tool = 0;
    double diameter = 0.0;  // mm
    int radiusRegister = 0;
};

struct ToolTable {
    std::vector<ToolEntry> tools;

    bool empty() const { return tools.empty(); }
    std::optional<double> diameter(int tool) const;
    // The radius register D holds; D0 is the control's zero offset.
    std::optional<double> radius(int reg) const;
};

enum class ToolTableProblem {
    None,
    MissingHeader,
    BadHeader,
    CellCount,  // `number`: the header's cells
    BadTool,
    BadDiameter,
    BadRegister,
    RepeatedTool,
    SharedRegister,  // `number`: the tool whose radius the register already holds
};

// A table read from CSV text: the header `tool,diameter`, optionally
// `,radius_register`, then one row per tool. Reading stops at the first problem.
struct ToolTableRead {
    ToolTable table;
    ToolTableProblem problem = ToolTableProblem::None;
    int line = 0;      // 1-based line of the problem
    std::string cell;  // the text refused
    int number = 0;

    bool ok() const { return problem == ToolTableProblem::None; }
    // "line 3: diameter 'x' is not a length above 0"; empty when read.
    std::string error() const;
};

ToolTableRead parseToolTable(std::string_view csv);

// The same CSV, as the desktop program keeps the table.
std::string toolTableCsv(const ToolTable& table);

}  // namespace tesmara::check
