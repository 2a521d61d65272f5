#pragma once

#include <array>
#include <atomic>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "check/compiled.hpp"
#include "check/diagnostic.hpp"
#include "check/tool_table.hpp"

namespace tesmara::check {

struct Point3 {
    double x = 0.0;
    double y = 0.0;
    double z = 0.0;
};

enum class MoveKind : std::uint8_t { Rapid, Feed };
enum class Shape : std::uint8_t { Line, Arc };

// One executed motion in work coordinates, G52 and polar resolved. Arcs lie
// in the XY plane; a helix changes Z linearly over the sweep.
struct Segment {
    MoveKind kind = MoveKind::Rapid;
    Shape shape = Shape::Line;
    Compensation compensation = Compensation::Off;
    bool clockwise = false;
    Point3 start;
    Point3 end;
    double centreX = 0.0;
    double centreY = 0.0;
    double radius = 0.0;
    double startAngle = 0.0;  // radians, from +X
    double sweep = 0.0;       // radians, negative when clockwise; ±2π for a full circle
    double feed = 0.0;        // mm/min
    double spindle = 0.0;     // rpm, 0 when stopped
    std::int32_t tool = 0;
    std::int32_t compensationRegister = 0;  // D
    std::int32_t program = 0;               // O number
    std::int32_t line = 0;                  // 1-based line of the checked text
};

struct Extents {
    bool valid = false;
    Point3 min;
    Point3 max;
    // Inline: every feed move adds its points.
    void add(const Point3& p) {
        if (!valid) {
            min = max = p;
            valid = true;
            return;
        }
        min = {p.x < min.x ? p.x : min.x, p.y < min.y ? p.y : min.y, p.z < min.z ? p.z : min.z};
        max = {p.x > max.x ? p.x : max.x, p.y > max.y ? p.y : max.y, p.z > max.z ? p.z : max.z};
    }
};

// Full turns about one centre (a hole, a groove, a thread): what the tool
// sweeps there, from the tool centre path and the tool's diameter.
struct CircleCut {
    double x = 0.0;
    double y = 0.0;
    double innerDiameter = 0.0;  // 0 when the tool passes over the centre
    double outerDiameter = 0.0;
    double toolDiameter = 0.0;
    Compensation compensation = Compensation::Off;  // of the first full turn
    bool toolInside = false;  // compensated with the tool inside the programmed circle
    std::int32_t program = 0;
    std::int32_t line = 0;  // of the first full turn

    // What compensation leaves: a hole's wall, or a boss's outside.
    std::optional<double> finishedDiameter() const;
};

struct Summary {
    std::int64_t blocksExecuted = 0;
    std::int64_t moves = 0;     // every executed move, also those not kept for drawing
    double feedLength = 0.0;    // mm
    double rapidLength = 0.0;   // mm
    double cycleSeconds = 0.0;  // feeds at F, rapids at the configured rate; no acceleration
    Extents feedExtents;
    std::optional<double> deepestZ;
    std::vector<int> toolsUsed;  // in the order they were first used
    // Each local zero a G52 set (other than the work zero), in order: the
    // hole and groove centres of the generated programs.
    std::vector<Point3> localOrigins;
    bool ended = false;                       // reached M30, M02 or the end of the main program
    bool endless = false;                     // stopped at the block limit: the cycle time is unknown
    std::vector<CircleCut> circles;           // when the tool table knows the tool
    std::vector<int> registersWithoutRadius;  // D words used under G41/G42 the table lacks
};

// How IF and WHILE compare: with a small relative tolerance, or exactly as
// the binary values stand.
enum class Comparison : std::uint8_t { Tolerant, Exact };

struct CheckOptions {
    std::int64_t blockLimit = 2'000'000;
    double rapidRate = 20'000.0;          // mm/min
    Point3 reference{0.0, 0.0, 100.0};    // where G28 goes, per axis
    std::array<Point3, 6> workOffsets{};  // G54..G59
    // Where the tool stands when the program starts, in work coordinates;
    // without it, at the reference Z above the first X and Y the program sets.
    std::optional<Point3> start;
    Comparison comparison = Comparison::Tolerant;
    bool centreLine = false;  // expand the tool centre path, G40 throughout
    ToolTable tools;          // diameters and radius registers; empty: unknown
    // Moves kept in CheckResult::segments: a program that never ends would
    // otherwise fill the memory with the same loop. The summary counts them all.
    std::size_t segmentLimit = 200'000;
    // Receives the run as plain G-code, piece after piece while it runs, so
    // that a long run is never held whole; empty: not expanded.
    std::function<void(std::string_view)> expandTo;
    // Set by another thread to stop the run soon; the result then tells so.
    const std::atomic<bool>* cancel = nullptr;
};

struct CheckResult {
    std::vector<Segment> segments;  // the first CheckOptions::segmentLimit moves
    // The tool centre with cutter compensation applied, when a tool table is
    // given and a move is compensated (else empty: the segments are the centre
    // path); centreFirst[i] is the first piece of segments[i], one more at the end.
    std::vector<Segment> centrePath;
    std::vector<std::uint32_t> centreFirst;
    ToolTable tools;  // the table of the run, for drawing the tool
    Summary summary;
    std::vector<Diagnostic> diagnostics;  // reading first, then running, each in order
    std::vector<double> variables;        // #0..#999 at the end, NaN for vacant
    bool cancelled = false;               // stopped by CheckOptions::cancel: nothing is complete

    bool hasError() const;
    // A variable's value at the end of the run, nullopt when vacant.
    std::optional<double> variable(int number) const;
};

CheckResult run(const CompiledText& text, const CheckOptions& options = {});
// The same into `result`, whose buffers are kept: a preview that checks after
// every change reuses one result and allocates nothing once it has grown.
void run(const CompiledText& text, const CheckOptions& options, CheckResult& result);
CheckResult checkProgram(std::string_view text, const CheckOptions& options = {});

}  // namespace tesmara::check
