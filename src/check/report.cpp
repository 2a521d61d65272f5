#include "check/report.hpp"

#include <algorithm>
#include <cmath>

#include "check/format.hpp"

namespace tesmara::check {

namespace {

// Length of the well-formed UTF-8 sequence at `i`, 0 when it is not one.
std::size_t utf8Length(std::string_view text, std::size_t i) {
    const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(text[k]); };
    const unsigned char c = byte(i);
    const std::size_t n = c < 0x80         ? 1
                          : (c >> 5) == 6  ? 2
                          : (c >> 4) == 14 ? 3
                          : (c >> 3) == 30 ? 4
                                           : 0;
    if (n == 0 || i + n > text.size() || (n == 2 && c < 0xc2)) {
        return 0;
    }
    for (std::size_t k = 1; k < n; ++k) {
        if ((byte(i + k) & 0xc0) != 0x80) {
            return 0;
        }
    }
    const bool overlong =
        (n == 3 && c == 0xe0 && byte(i + 1) < 0xa0) || (n == 4 && c == 0xf0 && byte(i + 1) < 0x90);
    const bool surrogate = n == 3 && c == 0xed && byte(i + 1) >= 0xa0;
    const bool beyond = n == 4 && (c > 0xf4 || (c == 0xf4 && byte(i + 1) >= 0x90));
    return overlong || surrogate || beyond ? 0 : n;
}

// A JSON string; bytes that are not UTF-8 (a comment in another code page)
// become U+FFFD, so the output is always valid JSON.
std::string jsonString(std::string_view text) {
    std::string out = "\"";
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        const std::size_t n = utf8Length(text, i);
        if (n == 0) {
            out += "\\ufffd";
        } else if (n > 1) {
            out.append(text.substr(i, n));
            i += n - 1;
        } else if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (static_cast<unsigned char>(c) < 0x20) {
            constexpr char kHex[] = "0123456789abcdef";
            out += "\\u00";
            out += kHex[(c >> 4) & 0xf];
            out += kHex[c & 0xf];
        } else {
            out += c;
        }
    }
    return out + "\"";
}

std::string rangeText(const Extents& e) {
    if (!e.valid) {
        return "none";
    }
    return "X " + formatNumber(e.min.x, 3) + " to " + formatNumber(e.max.x, 3) + ", Y " +
           formatNumber(e.min.y, 3) + " to " + formatNumber(e.max.y, 3) + ", Z " +
           formatNumber(e.min.z, 3) + " to " + formatNumber(e.max.z, 3);
}

std::string toolsText(const std::vector<int>& tools) {
    std::string out;
    for (const int t : tools) {
        out += (out.empty() ? "T" : ", T") + std::to_string(t);
    }
    return out.empty() ? "none" : out;
}

std::string jsonPoint(const Point3& p) {
    return "{\"x\":" + formatShort(p.x, 4) + ",\"y\":" + formatShort(p.y, 4) +
           ",\"z\":" + formatShort(p.z, 4) + "}";
}

std::string circleText(const CircleCut& c) {
    std::string out = "circle at X" + formatShort(c.x, 3) + " Y" + formatShort(c.y, 3) + " (" +
                      (c.program != 0 ? "O" + std::to_string(c.program) + " " : std::string()) +
                      "line " + std::to_string(c.line) + "), tool diameter " +
                      formatShort(c.toolDiameter, 3) + ": swept diameter " +
                      formatShort(c.innerDiameter, 3) + " to " + formatShort(c.outerDiameter, 3);
    if (const std::optional<double> finished = c.finishedDiameter()) {
        out +=
            std::string(c.toolInside ? ", finished hole diameter " : ", finished boss diameter ") +
            formatShort(*finished, 3);
    }
    return out;
}

std::string registersText(const std::vector<int>& registers) {
    std::string out;
    for (const int r : registers) {
        out += (out.empty() ? "D" : ", D") + std::to_string(r);
    }
    return out;
}

std::string jsonCircle(const CircleCut& c) {
    const std::optional<double> finished = c.finishedDiameter();
    return "{\"x\":" + formatShort(c.x, 4) + ",\"y\":" + formatShort(c.y, 4) +
           ",\"program\":" + std::to_string(c.program) + ",\"line\":" + std::to_string(c.line) +
           ",\"toolDiameter\":" + formatShort(c.toolDiameter, 4) +
           ",\"innerDiameter\":" + formatShort(c.innerDiameter, 4) +
           ",\"outerDiameter\":" + formatShort(c.outerDiameter, 4) +
           (finished ? ",\"finishedDiameter\":" + formatShort(*finished, 4) : std::string()) + "}";
}

}  // namespace

std::string durationText(double seconds) {
    const double total = std::round(seconds);
    if (total < 60) {
        return formatShort(total, 0) + " s";
    }
    const double minutes = std::floor(total / 60);
    const double rest = std::clamp(total - minutes * 60, 0.0, 59.0);
    return formatShort(minutes, 0) + " min " + formatShort(rest, 0) + " s";
}

std::string whereText(const Diagnostic& d) {
    std::string out = (d.program != 0 ? "O" + std::to_string(d.program) + " " : std::string()) +
                      "line " + std::to_string(d.line);
    return d.column > 0 ? out + ", column " + std::to_string(d.column) : out;
}

std::string textReport(const CheckResult& result, const CheckOptions& options) {
    const Summary& s = result.summary;
    std::string out;
    out += "blocks executed: " + std::to_string(s.blocksExecuted) + "\n";
    out += "feed length: " + formatNumber(s.feedLength, 1) + " mm\n";
    out += "rapid length: " + formatNumber(s.rapidLength, 1) + " mm\n";
    out += "cycle time: " +
           (s.endless ? std::string("unknown, the program does not end")
                      : durationText(s.cycleSeconds) + " (rapids at " +
                            formatShort(options.rapidRate) + " mm/min, acceleration ignored)") +
           "\n";
    out += "feed extents: " + rangeText(s.feedExtents) + "\n";
    out += "deepest Z: " + (s.deepestZ ? formatNumber(*s.deepestZ, 3) : std::string("none")) + "\n";
    out += "tools: " + toolsText(s.toolsUsed) + "\n";
    for (const CircleCut& c : s.circles) {
        out += circleText(c) + "\n";
    }
    if (!s.registersWithoutRadius.empty()) {
        out += "cutter compensation: no radius for " + registersText(s.registersWithoutRadius) +
               " (give --tool-table); the programmed path is shown\n";
    }
    out += std::string(s.ended ? "the program ends normally" : "the program stops early") + "\n";
    for (const Diagnostic& d : result.diagnostics) {
        out += std::string(d.severity == Severity::Error ? "error" : "warning") + ": " +
               whereText(d) + ": " + d.message + " [" + std::string(codeId(d.code)) + "]\n";
    }
    return out;
}

std::string jsonReport(const CheckResult& result, const CheckOptions& options) {
    const Summary& s = result.summary;
    std::string out = "{\"summary\":{";
    out += "\"blocksExecuted\":" + std::to_string(s.blocksExecuted);
    out += ",\"segments\":" + std::to_string(s.moves);
    out += ",\"feedLength\":" + formatShort(s.feedLength, 4);
    out += ",\"rapidLength\":" + formatShort(s.rapidLength, 4);
    out += ",\"cycleSeconds\":" + (s.endless ? "null" : formatShort(s.cycleSeconds, 2));
    out += ",\"rapidRate\":" + formatShort(options.rapidRate);
    if (s.feedExtents.valid) {
        out += ",\"feedExtents\":{\"min\":" + jsonPoint(s.feedExtents.min) +
               ",\"max\":" + jsonPoint(s.feedExtents.max) + "}";
    }
    if (s.deepestZ) {
        out += ",\"deepestZ\":" + formatShort(*s.deepestZ, 4);
    }
    out += ",\"toolsUsed\":[";
    for (std::size_t i = 0; i < s.toolsUsed.size(); ++i) {
        out += (i ? "," : "") + std::to_string(s.toolsUsed[i]);
    }
    out += "],\"localOrigins\":[";
    for (std::size_t i = 0; i < s.localOrigins.size(); ++i) {
        out += (i ? "," : "") + jsonPoint(s.localOrigins[i]);
    }
    out += "],\"circles\":[";
    for (std::size_t i = 0; i < s.circles.size(); ++i) {
        out += (i ? "," : "") + jsonCircle(s.circles[i]);
    }
    out += "],\"registersWithoutRadius\":[";
    for (std::size_t i = 0; i < s.registersWithoutRadius.size(); ++i) {
        out += (i ? "," : "") + std::to_string(s.registersWithoutRadius[i]);
    }
    out += std::string("],\"ended\":") + (s.ended ? "true" : "false") + "},\"diagnostics\":[";
    for (std::size_t i = 0; i < result.diagnostics.size(); ++i) {
        const Diagnostic& d = result.diagnostics[i];
        out += std::string(i ? "," : "") +
               "{\"severity\":" + (d.severity == Severity::Error ? "\"error\"" : "\"warning\"") +
               ",\"code\":" + jsonString(codeId(d.code)) +
               ",\"program\":" + std::to_string(d.program) + ",\"line\":" + std::to_string(d.line) +
               ",\"column\":" + std::to_string(d.column) + ",\"message\":" + jsonString(d.message) +
               "}";
    }
    return out + "]}\n";
}

}  // namespace tesmara::check
