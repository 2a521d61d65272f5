#include "check/tool_table.hpp"

#include <algorithm>
#include <charconv>
#include <cmath>

#include "check/format.hpp"

namespace tesmara::check {

namespace {

constexpr int kMaxNumber = 9999;

std::string_view trimmed(std::string_view s) {
    const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r'; };
    while (!s.empty() && blank(s.front())) {
        s.remove_prefix(1);
    }
    while (!s.empty() && blank(s.back())) {
        s.remove_suffix(1);
    }
    return s;
}

std::vector<std::string_view> cells(std::string_view line) {
    std::vector<std::string_view> out;
    std::size_t from = 0;
    for (std::size_t comma = line.find(','); comma != std::string_view::npos;
         comma = line.find(',', from)) {
        out.push_back(trimmed(line.substr(from, comma - from)));
        from = comma + 1;
    }
    out.push_back(trimmed(line.substr(from)));
    return out;
}

bool parseWhole(std::string_view text, int& value) {
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    return ec == std::errc() && end == text.data() + text.size() && value >= 0 &&
           value <= kMaxNumber;
}

bool parseLength(std::string_view text, double& value) {
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    return ec == std::errc() && end == text.data() + text.size() && std::isfinite(value);
}

ToolTableProblem readRow(const std::vector<std::string_view>& c, std::size_t columns, ToolEntry& e,
                         ToolTableRead& read) {
    if (c.size() != columns) {
        read.number = static_cast<int>(columns);
        read.cell = std::to_string(c.size());
        return ToolTableProblem::CellCount;
    }
    if (!parseWhole(c[0], e.tool) || e.tool == 0) {
        read.cell = c[0];
        return ToolTableProblem::BadTool;
    }
    if (!parseLength(c[1], e.diameter) || e.diameter <= 0.0) {
        read.cell = c[1];
        return ToolTableProblem::BadDiameter;
    }
    if (columns == 3 && !c[2].empty() &&
        (!parseWhole(c[2], e.radiusRegister) || !e.radiusRegister)) {
        read.cell = c[2];
        return ToolTableProblem::BadRegister;
    }
    return ToolTableProblem::None;
}

int registerOf(const ToolEntry& e) {
    return e.radiusRegister != 0 ? e.radiusRegister : e.tool;
}

ToolTableProblem duplicateOf(const ToolEntry& e, ToolTableRead& read) {
    for (const ToolEntry& other : read.table.tools) {
        if (other.tool == e.tool) {
            read.number = e.tool;
            return ToolTableProblem::RepeatedTool;
        }
        if (registerOf(other) == registerOf(e)) {
            read.cell = std::to_string(registerOf(e));
            read.number = other.tool;
            return ToolTableProblem::SharedRegister;
        }
    }
    return ToolTableProblem::None;
}

bool isHeader(const std::vector<std::string_view>& c) {
    return (c.size() == 2 || c.size() == 3) && c[0] == "tool" && c[1] == "diameter" &&
           (c.size() == 2 || c[2] == "radius_register");
}

}  // namespace

std::optional<double> ToolTable::diameter(int tool) const {
    const auto it = std::find_if(tools.begin(), tools.end(),
                                 [tool](const ToolEntry& e) { return e.tool == tool; });
    return it == tools.end() ? std::nullopt : std::optional(it->diameter);
}

std::optional<double> ToolTable::radius(int reg) const {
    if (reg == 0) {
        return 0.0;
    }
    const auto it = std::find_if(tools.begin(), tools.end(),
                                 [reg](const ToolEntry& e) { return registerOf(e) == reg; });
    return it == tools.end() ? std::nullopt : std::optional(it->diameter / 2);
}

ToolTableRead parseToolTable(std::string_view csv) {
    ToolTableRead read;
    if (csv.starts_with("\xEF\xBB\xBF")) {
        csv.remove_prefix(3);  // spreadsheet programs start their UTF-8 CSV with a BOM
    }
    std::size_t columns = 0;
    while (!csv.empty() && read.ok()) {
        const std::size_t end = std::min(csv.find('\n'), csv.size());
        const std::string_view line = trimmed(csv.substr(0, end));
        csv.remove_prefix(std::min(end + 1, csv.size()));
        ++read.line;
        if (line.empty()) {
            continue;
        }
        const std::vector<std::string_view> c = cells(line);
        if (columns == 0) {
            columns = c.size();
            if (!isHeader(c)) {
                read.problem = ToolTableProblem::BadHeader;
                read.cell = line;
            }
            continue;
        }
        ToolEntry e;
        read.problem = readRow(c, columns, e, read);
        if (read.ok()) {
            read.problem = duplicateOf(e, read);
        }
        if (read.ok()) {
            read.table.tools.push_back(e);
        }
    }
    if (columns == 0) {
        read.problem = ToolTableProblem::MissingHeader;
        read.line = 1;
    }
    return read;
}

std::string ToolTableRead::error() const {
    const std::string where = "line " + std::to_string(line) + ": ";
    switch (problem) {
        case ToolTableProblem::None:
            return {};
        case ToolTableProblem::MissingHeader:
            return where + "the header tool,diameter is missing";
        case ToolTableProblem::BadHeader:
            return where +
                   "the header must be tool,diameter or tool,diameter,radius_register, not '" +
                   cell + "'";
        case ToolTableProblem::CellCount:
            return where + "has " + cell + " cells, the header " + std::to_string(number);
        case ToolTableProblem::BadTool:
            return where + "tool '" + cell + "' is not a tool number from 1 to 9999";
        case ToolTableProblem::BadDiameter:
            return where + "diameter '" + cell + "' is not a length above 0";
        case ToolTableProblem::BadRegister:
            return where + "radius_register '" + cell + "' is not a register from 1 to 9999";
        case ToolTableProblem::RepeatedTool:
            return where + "tool " + std::to_string(number) + " is listed twice";
        case ToolTableProblem::SharedRegister:
            return where + "D" + cell + " already holds the radius of tool " +
                   std::to_string(number);
    }
    return {};
}

std::string toolTableCsv(const ToolTable& table) {
    std::string out = "tool,diameter,radius_register\n";
    for (const ToolEntry& e : table.tools) {
        out += std::to_string(e.tool) + "," + formatShort(e.diameter, 4) + "," +
               (e.radiusRegister != 0 ? std::to_string(e.radiusRegister) : std::string()) + "\n";
    }
    return out;
}

}  // namespace tesmara::check
