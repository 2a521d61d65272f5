#include "cli/hole_words.hpp"

#include <vector>

#include "app/output.hpp"
#include "holes/coordinate_text.hpp"
#include "holes/hole_files.hpp"
#include "holes/patterns.hpp"
#include "holes/thread_table.hpp"

namespace tesmara::cli {

namespace {

constexpr std::string_view kPrefix = "tesmara-cli generate: ";

std::string reasonOf(const ImportProblem& problem) {
    switch (problem.error) {
        case ImportError::FileUnreadable:
            return "cannot be read: " + problem.detail;
        case ImportError::NotRegularFile:
            return "is not a regular file (a folder, pipe or device)";
        case ImportError::NoXYColumns:
            return "the header names no X or no Y column";
        case ImportError::UnknownColumn:
            return "column '" + problem.detail + "' is not X, Y or a per-hole field";
        case ImportError::RepeatedColumn:
            return "column '" + problem.detail + "' is named twice";
        case ImportError::TooManyCells:
            return "more cells than columns";
        case ImportError::MissingCoordinate:
            return problem.detail + " is missing";
        case ImportError::NotANumber:
            return "'" + problem.detail + "' is not a number";
        case ImportError::NoCircles:
            return "the drawing has no circles";
        case ImportError::BadRadius:
            return "circle with radius " + problem.detail;
        case ImportError::NoCircleOfDiameter:
            return "the drawing has no circle of diameter " + problem.detail;
        case ImportError::DxfNotBuiltIn:
            return "this build reads no DXF drawings";
        case ImportError::BadPatternValue:
            return "the value of " + problem.detail + " cannot be used";
    }
    return {};
}

bool tellProblems(const HoleImport& read, std::string_view file, std::ostream& err) {
    for (const ImportProblem& problem : read.problems) {
        err << kPrefix << file;
        if (problem.line > 0) {
            err << ":" << problem.line;
        }
        err << ": " << reasonOf(problem) << "\n";
    }
    return read.problems.empty();
}

std::vector<std::string> splitCommas(std::string_view text) {
    std::vector<std::string> parts;
    std::size_t start = 0;
    for (std::size_t comma; (comma = text.find(',', start)) != std::string_view::npos;
         start = comma + 1) {
        parts.emplace_back(text.substr(start, comma - start));
    }
    parts.emplace_back(text.substr(start));
    return parts;
}

// What the pattern's value at `index` must be.
std::string_view expectation(bool circle, std::size_t index) {
    if (circle) {
        return index == 2 ? "DIAMETER, a number from 0"
                          : (index == 3 ? "COUNT, a whole number from 1 to 1000" : "a number");
    }
    return index >= 4 ? "a count from 1 with NX*NY at most 1000" : "a number";
}

std::optional<std::vector<HolePoint>> patternPoints(const HoleWord& word, std::ostream& err) {
    const bool circle = word.kind == HoleWord::Kind::BoltCircle;
    const std::vector<std::string> texts = splitCommas(word.value);
    std::size_t wrong = 0;
    std::vector<HolePoint> points;
    if (circle) {
        if (const auto pattern = readBoltCircle(texts, wrong)) {
            points = boltCirclePoints(*pattern);
        }
    } else if (const auto pattern = readGrid(texts, wrong)) {
        points = gridPoints(*pattern);
    }
    if (!points.empty()) {
        return points;
    }
    const std::string_view form =
        circle ? "--bolt-circle X,Y,DIAMETER,COUNT[,START]" : "--grid X,Y,DX,DY,NX,NY";
    err << kPrefix << form << ": ";
    if (wrong == texts.size()) {
        err << "'" << word.value << "' has " << texts.size() << " values\n";
    } else {
        err << "'" << texts[wrong] << "' is not " << expectation(circle, wrong) << "\n";
    }
    return std::nullopt;
}

bool fillThread(const HoleWord& word, const Operation& op, FieldValues& fields, std::ostream& err) {
    if (findField(op, "threadPitch") == nullptr) {
        err << kPrefix << "--thread is only for the thread operations; " << op.id
            << " has no thread fields\n";
        return false;
    }
    const auto thread = findThread(word.value);
    if (!thread) {
        err << kPrefix << "--thread '" << word.value
            << "' is not an ISO metric thread of the table (M3 to M64, e.g. M10 or M10x1.25)\n";
        return false;
    }
    const ThreadTexts texts = threadTexts(*thread);
    fields["threadMajorDiameter"] = texts.majorDiameter;
    fields["threadPitch"] = texts.pitch;
    fields["threadMinorDiameter"] = texts.minorDiameter;
    return true;
}

}  // namespace

std::optional<HoleWord::Kind> holeWordKind(std::string_view option) {
    using enum HoleWord::Kind;
    if (option == "--holes")
        return Csv;
    if (option == "--dxf")
        return Dxf;
    if (option == "--bolt-circle")
        return BoltCircle;
    if (option == "--grid")
        return Grid;
    if (option == "--thread")
        return Thread;
    return std::nullopt;
}

bool applyHoleWord(const HoleWord& word, const Operation& op, FieldValues& fields,
                   MultiHoleState& holes, std::ostream& err) {
    if (word.kind == HoleWord::Kind::Thread) {
        return fillThread(word, op, fields, err);
    }
    if (op.multiHole == nullptr) {
        err << kPrefix << "holes can be added only in the multi-hole operations; " << op.id
            << " is a single operation\n";
        return false;
    }
    std::optional<std::vector<HolePoint>> points;
    if (word.kind == HoleWord::Kind::Csv || word.kind == HoleWord::Kind::Dxf) {
        std::optional<double> diameter;
        if (word.diameter && !(diameter = parseNumber(*word.diameter))) {
            err << kPrefix << "--diameter '" << *word.diameter << "' is not a number\n";
            return false;
        }
        const HoleImport read = word.kind == HoleWord::Kind::Csv
                                    ? readHoleCsvFile(utf8Path(word.value), op)
                                    : readDxfHoles(utf8Path(word.value), diameter);
        if (tellProblems(read, word.value, err)) {
            points = read.points;
        }
    } else {
        points = patternPoints(word, err);
    }
    if (!points) {
        return false;
    }
    addHoles(holes, *op.multiHole, fields, *points);
    return true;
}

}  // namespace tesmara::cli
