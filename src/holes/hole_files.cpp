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

// The whole file, or the system's reason in `reason`.
std::optional<std::string> readBytes(const std::filesystem::path& path, std::string& reason) {
    std::error_code ec;
    if (std::filesystem::is_directory(path, ec)) {
        reason = std::strerror(EISDIR);
        return std::nullopt;
    }
    errno = 0;
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    if (in) {
        bytes << in.rdbuf();
    }
    if (!in) {
        reason = std::strerror(errno != 0 ? errno : EIO);
        return std::nullopt;
    }
    return bytes.str();
}

HoleImport unreadable(std::string reason) {
    return {{}, {{0, ImportError::FileUnreadable, std::move(reason)}}};
}

}  // namespace

HoleImport readHoleCsvFile(const std::filesystem::path& path, const Operation& op) {
    std::string reason;
    const auto bytes = readBytes(path, reason);
    return bytes ? readHoleCsv(*bytes, op) : unreadable(reason);
}

HoleImport readDxfHoles(const std::filesystem::path& path, std::optional<double> diameter) {
    std::string reason;
    const auto bytes = readBytes(path, reason);
    if (!bytes) {
        return unreadable(reason);
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
