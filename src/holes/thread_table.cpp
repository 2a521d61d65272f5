#include "holes/thread_table.hpp"

#include <cmath>

#include "holes/coordinate_text.hpp"

namespace tesmara {

namespace {

// Coarse pitch first, then the fine pitches from the largest.
// clang-format off
constexpr MetricThread kThreads[] = {
    {3, 0.5, true}, {3, 0.35, false},
    {3.5, 0.6, true}, {3.5, 0.35, false},
    {4, 0.7, true}, {4, 0.5, false},
    {5, 0.8, true}, {5, 0.5, false},
    {6, 1, true}, {6, 0.75, false},
    {7, 1, true}, {7, 0.75, false},
    {8, 1.25, true}, {8, 1, false}, {8, 0.75, false},
    {10, 1.5, true}, {10, 1.25, false}, {10, 1, false}, {10, 0.75, false},
    {12, 1.75, true}, {12, 1.5, false}, {12, 1.25, false}, {12, 1, false},
    {14, 2, true}, {14, 1.5, false}, {14, 1.25, false}, {14, 1, false},
    {16, 2, true}, {16, 1.5, false}, {16, 1, false},
    {18, 2.5, true}, {18, 2, false}, {18, 1.5, false}, {18, 1, false},
    {20, 2.5, true}, {20, 2, false}, {20, 1.5, false}, {20, 1, false},
    {22, 2.5, true}, {22, 2, false}, {22, 1.5, false}, {22, 1, false},
    {24, 3, true}, {24, 2, false}, {24, 1.5, false}, {24, 1, false},
    {27, 3, true}, {27, 2, false}, {27, 1.5, false}, {27, 1, false},
    {30, 3.5, true}, {30, 3, false}, {30, 2, false}, {30, 1.5, false}, {30, 1, false},
    {33, 3.5, true}, {33, 3, false}, {33, 2, false}, {33, 1.5, false},
    {36, 4, true}, {36, 3, false}, {36, 2, false}, {36, 1.5, false},
    {39, 4, true}, {39, 3, false}, {39, 2, false}, {39, 1.5, false},
    {42, 4.5, true}, {42, 4, false}, {42, 3, false}, {42, 2, false}, {42, 1.5, false},
    {45, 4.5, true}, {45, 4, false}, {45, 3, false}, {45, 2, false}, {45, 1.5, false},
    {48, 5, true}, {48, 4, false}, {48, 3, false}, {48, 2, false}, {48, 1.5, false},
    {52, 5, true}, {52, 4, false}, {52, 3, false}, {52, 2, false}, {52, 1.5, false},
    {56, 5.5, true}, {56, 4, false}, {56, 3, false}, {56, 2, false}, {56, 1.5, false},
    {60, 5.5, true}, {60, 4, false}, {60, 3, false}, {60, 2, false}, {60, 1.5, false},
    {64, 6, true}, {64, 4, false}, {64, 3, false}, {64, 2, false}, {64, 1.5, false},
};
// clang-format on

constexpr double kMinorFactor = 1.082532;

// "10." → "10", "1.25" stays: the way sizes are written on a drawing.
std::string plain(double value) {
    std::string text = coordinateText(value);
    if (text.back() == '.') {
        text.pop_back();
    }
    return text;
}

}  // namespace

std::span<const MetricThread> metricThreads() {
    return kThreads;
}

std::string threadName(const MetricThread& thread) {
    std::string name = "M" + plain(thread.diameter);
    if (!thread.coarse) {
        name += "x" + plain(thread.pitch);
    }
    return name;
}

std::optional<MetricThread> findThread(std::string_view name) {
    std::string key(trimmed(name));
    for (char& c : key) {
        c = c == 'm' ? 'M' : (c == 'X' ? 'x' : c);
    }
    if (const auto cross = key.find("×"); cross != std::string::npos) {
        key.replace(cross, std::string_view("×").size(), "x");
    }
    for (const MetricThread& thread : kThreads) {
        const std::string fine = "M" + plain(thread.diameter) + "x" + plain(thread.pitch);
        if (key == threadName(thread) || key == fine) {
            return thread;
        }
    }
    return std::nullopt;
}

ThreadTexts threadTexts(const MetricThread& thread) {
    return {coordinateText(thread.diameter), coordinateText(thread.pitch),
            coordinateText(thread.diameter - kMinorFactor * thread.pitch)};
}

}  // namespace tesmara
