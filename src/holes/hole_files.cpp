#include "holes/hole_files.hpp"

#include <cerrno>
#include <cmath>
#include <cstring>
#include <fstream>
#include <sstream>

#include "holes/coordinate_text.hpp"
#include "holes/dxf_circles.hpp"
#include "holes/hole_csv.hpp"

namespace tesmara {

namespace {

constexpr double kDiameterTolerance = 0.0005;

// The whole file, or why not in `problem`.
std::optional<std::string> readBytes(const std::filesystem::path& path, ImportProblem& problem) {
    std::error_code ec;
    const auto type = std::filesystem::status(path, ec).type();
    if (!ec && type != std::filesystem::file_type::regular) {
        problem = {0, ImportError::NotRegularFile, {}};
        return std::nullopt;
    }
    errno = 0;
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    if (in) {
        bytes << in.rdbuf();
    }
    if (!in) {
        problem = {0, ImportError::FileUnreadable, std::strerror(errno != 0 ? errno : EIO)};
        return std::nullopt;
    }
    return bytes.str();
}

}  // namespace

HoleImport readHoleCsvFile(const std::filesystem::path& path, const Operation& op) {
    ImportProblem problem;
    const auto bytes = readBytes(path, problem);
    return bytes ? readHoleCsv(*bytes, op) : HoleImport{{}, {problem}};
}

HoleImport readDxfHoles(const std::filesystem::path& path, std::optional<double> diameter) {
    ImportProblem problem;
    const auto bytes = readBytes(path, problem);
    if (!bytes) {
        return {{}, {problem}};
    }
    DxfCircles drawing = readDxfCircles(*bytes);
    HoleImport result{{}, std::move(drawing.problems)};
    for (const DxfCircle& circle : drawing.circles) {
        if (!diameter || std::abs(circle.diameter - *diameter) <= kDiameterTolerance) {
            result.points.push_back({coordinateText(circle.x), coordinateText(circle.y), {}});
        }
    }
    if (result.points.empty() && result.problems.empty()) {
        result.problems.push_back(
            diameter ? ImportProblem{0, ImportError::NoCircleOfDiameter, coordinateText(*diameter)}
                     : ImportProblem{0, ImportError::NoCircles, {}});
    }
    return result;
}

}  // namespace tesmara
