#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace tesmara {

// An ISO metric thread of the standard selection (first and second choice
// sizes, M3 to M64), coarse or fine pitch.
struct MetricThread {
    double diameter;
    double pitch;
    bool coarse;
};

std::span<const MetricThread> metricThreads();

// "M10" for a coarse thread, "M10x1.25" for a fine one.
std::string threadName(const MetricThread& thread);

// A thread of the table by its name: "M10" is the coarse pitch, "M10x1.25"
// (also "m10X1.25", "M10×1.25") the pitch given; nothing when not in the table.
std::optional<MetricThread> findThread(std::string_view name);

// The texts the thread windows need: nominal diameter, pitch, and the
// internal minor diameter D1 = D - 1.082532 P, each through coordinateText.
struct ThreadTexts {
    std::string majorDiameter;
    std::string pitch;
    std::string minorDiameter;
};
ThreadTexts threadTexts(const MetricThread& thread);

}  // namespace tesmara
