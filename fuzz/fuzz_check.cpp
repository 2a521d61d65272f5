// libFuzzer entry: any bytes are read, run and expanded without a crash,
// undefined behaviour, a run past the block limit or a figure that is not a
// number.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "check/check.hpp"

namespace {

constexpr std::int64_t kBlockLimit = 20'000;

bool finite(const tesmara::check::Point3& p) {
    return std::isfinite(p.x) && std::isfinite(p.y) && std::isfinite(p.z);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    tesmara::check::CheckOptions options;
    options.blockLimit = kBlockLimit;
    std::string expanded;
    options.expandTo = [&expanded](std::string_view piece) { expanded.append(piece); };
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const tesmara::check::CheckResult r = tesmara::check::checkProgram(text, options);
    if (r.summary.blocksExecuted > kBlockLimit) {
        __builtin_trap();
    }
    for (const tesmara::check::Segment& s : r.segments) {
        if (!finite(s.start) || !finite(s.end) || !std::isfinite(s.sweep)) {
            __builtin_trap();
        }
    }
    const tesmara::check::Summary& sum = r.summary;
    if (!std::isfinite(sum.feedLength + sum.rapidLength + sum.cycleSeconds) ||
        expanded.find("inf") != std::string::npos ||
        expanded.find("nan") != std::string::npos) {
        __builtin_trap();
    }
    return 0;
}
