#include "holes/dxf_circles.hpp"

#include <dl_creationadapter.h>
#include <dl_dxf.h>

#include <cmath>
#include <sstream>

#include "holes/coordinate_text.hpp"

namespace tesmara {

namespace {

// The lines where a CIRCLE entity starts, in file order: the library reports
// circles in the same order but without their lines.
std::vector<int> circleLines(const std::string& bytes) {
    std::vector<int> lines;
    std::istringstream in(bytes);
    std::string previous;
    std::string current;
    int number = 0;
    while (std::getline(in, current)) {
        ++number;
        if (trimmed(current) == "CIRCLE" && trimmed(previous) == "0") {
            lines.push_back(number);
        }
        previous = current;
    }
    return lines;
}

class CircleCollector : public DL_CreationAdapter {
public:
    explicit CircleCollector(std::vector<int> lines) : m_lines(std::move(lines)) {}

    void addBlock(const DL_BlockData&) override { m_inBlock = true; }
    void endBlock() override { m_inBlock = false; }

    void addCircle(const DL_CircleData& data) override {
        const int line = m_seen < m_lines.size() ? m_lines[m_seen] : 0;
        ++m_seen;
        if (m_inBlock) {
            return;
        }
        if (!std::isfinite(data.radius) || data.radius <= 0.0 || !std::isfinite(data.cx) ||
            !std::isfinite(data.cy)) {
            m_result.problems.push_back(
                {line, ImportError::BadRadius, coordinateText(data.radius)});
            return;
        }
        // A circle drawn with its normal pointing down has its X mirrored.
        const double* normal = getExtrusion()->getDirection();
        const double x = normal != nullptr && normal[2] < 0.0 ? -data.cx : data.cx;
        m_result.circles.push_back({x, data.cy, 2.0 * data.radius, line});
    }

    DxfCircles take() { return std::move(m_result); }

private:
    std::vector<int> m_lines;
    std::size_t m_seen = 0;
    bool m_inBlock = false;
    DxfCircles m_result;
};

}  // namespace

DxfCircles readDxfCircles(const std::string& bytes) {
    CircleCollector collector(circleLines(bytes));
    std::istringstream in(bytes);
    DL_Dxf dxf;
    dxf.in(in, &collector);
    return collector.take();
}

}  // namespace tesmara
