#include "holes/hole_csv.hpp"

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

#include "holes/coordinate_text.hpp"

namespace tesmara {

namespace {

constexpr std::string_view kBom = "\xEF\xBB\xBF";

std::vector<std::string> splitCells(std::string_view line) {
    std::vector<std::string> cells;
    std::size_t start = 0;
    while (true) {
        const std::size_t end = line.find_first_of(",;\t", start);
        std::string_view cell = trimmed(line.substr(start, end - start));
        if (cell.size() >= 2 && cell.front() == '"' && cell.back() == '"') {
            cell = cell.substr(1, cell.size() - 2);
        }
        cells.emplace_back(cell);
        if (end == std::string_view::npos) {
            return cells;
        }
        start = end + 1;
    }
}

// The field a column header names, or nothing.
std::optional<std::string> columnField(std::string_view name, const Operation& op) {
    for (std::string_view axis : {kCoordX, kCoordY}) {
        const char letter = axis == kCoordX ? 'X' : 'Y';
        const bool isLetter = name.size() == 1 && (name[0] == letter || name[0] == letter + 32);
        if (isLetter || name == axis || name == std::string("坐标") + letter) {
            return std::string(axis);
        }
    }
    const auto perHole = holeFieldNames(*op.multiHole);
    for (const Field& f : op.fields) {
        const bool named = name == f.name || name == f.control;
        if (named && std::find(perHole.begin(), perHole.end(), f.name) != perHole.end()) {
            return std::string(f.name);
        }
    }
    return std::nullopt;
}

// The field of each column, in cell order.
struct Columns {
    std::vector<std::string> fields;
};

std::optional<Columns> readHeader(const std::vector<std::string>& cells, int line,
                                  const Operation& op, std::vector<ImportProblem>& problems) {
    Columns columns;
    for (const std::string& cell : cells) {
        const auto name = columnField(cell, op);
        if (!name) {
            problems.push_back({line, ImportError::UnknownColumn, cell});
            return std::nullopt;
        }
        if (std::find(columns.fields.begin(), columns.fields.end(), *name) !=
            columns.fields.end()) {
            problems.push_back({line, ImportError::RepeatedColumn, cell});
            return std::nullopt;
        }
        columns.fields.push_back(*name);
    }
    const auto has = [&](std::string_view f) {
        return std::find(columns.fields.begin(), columns.fields.end(), f) != columns.fields.end();
    };
    if (!has(kCoordX) || !has(kCoordY)) {
        problems.push_back({line, ImportError::NoXYColumns, {}});
        return std::nullopt;
    }
    return columns;
}

std::optional<HolePoint> readRow(const std::vector<std::string>& cells, const Columns& columns,
                                 int line, std::vector<ImportProblem>& problems) {
    if (cells.size() > columns.fields.size()) {
        problems.push_back({line, ImportError::TooManyCells, {}});
        return std::nullopt;
    }
    HolePoint point;
    for (std::size_t i = 0; i < columns.fields.size(); ++i) {
        const std::string& name = columns.fields[i];
        const std::string cell = i < cells.size() ? cells[i] : std::string();
        if (name == kCoordX || name == kCoordY) {
            const auto value = parseNumber(cell);
            if (!value) {
                problems.push_back(cell.empty()
                                       ? ImportProblem{line, ImportError::MissingCoordinate,
                                                       name == kCoordX ? "X" : "Y"}
                                       : ImportProblem{line, ImportError::NotANumber, cell});
                return std::nullopt;
            }
            (name == kCoordX ? point.x : point.y) = coordinateText(*value);
        } else if (!cell.empty()) {
            point.texts[name] = cell;
        }
    }
    return point;
}

}  // namespace

HoleImport readHoleCsv(std::string_view text, const Operation& op) {
    if (text.starts_with(kBom)) {
        text.remove_prefix(kBom.size());
    }
    HoleImport result;
    std::optional<Columns> columns;
    bool first = true;
    int line = 0;
    for (std::size_t start = 0; start <= text.size();) {
        const std::size_t end = std::min(text.find('\n', start), text.size());
        const std::string_view raw = text.substr(start, end - start);
        start = end + 1;
        ++line;
        if (trimmed(raw).empty() || trimmed(raw).starts_with('#')) {
            continue;
        }
        const std::vector<std::string> cells = splitCells(raw);
        if (first) {
            first = false;
            if (!parseNumber(cells[0])) {
                columns = readHeader(cells, line, op, result.problems);
                if (!columns) {
                    return result;
                }
                continue;
            }
            columns = Columns{{std::string(kCoordX), std::string(kCoordY)}};
        }
        if (auto point = readRow(cells, *columns, line, result.problems)) {
            result.points.push_back(std::move(*point));
        }
    }
    return result;
}

}  // namespace tesmara
