#include "app/output.hpp"
#include "check/check.hpp"
#include "check/plot.hpp"
#include "check/report.hpp"
#include "cli/check_args.hpp"
#include "cli/cli.hpp"
#include "cli/png.hpp"

namespace tesmara::cli {

namespace {

constexpr double kWidth = 900.0;
constexpr double kHeight = 900.0;

}  // namespace

int plotCommand(std::span<const std::string_view> args, std::ostream& out, std::ostream& err) {
    constexpr std::string_view kAllowed[] = {"-o"};
    CheckArgs parsed;
    if (!parseCheckArgs("plot", args, kAllowed, parsed, err)) {
        return kUsage;
    }
    const bool svg = endsWithIgnoringCase(parsed.output, ".svg");
    const bool png = endsWithIgnoringCase(parsed.output, ".png");
    if (!svg && !png) {
        err << "tesmara-cli plot: -o OUT names the picture; it ends in .svg or .png\n";
        return kUsage;
    }
    if (png && !pngSupported()) {
        err << "tesmara-cli plot: this build draws SVG only; name the picture OUT.svg\n";
        return kUsage;
    }
    std::string text;
    if (!readInput("plot", parsed.input, text, err) || !loadToolTable("plot", parsed, err)) {
        return kFailure;
    }
    const check::CheckResult result = check::checkProgram(text, parsed.options);
    const check::PlotScene scene = check::buildScene(result, kWidth, kHeight);
    const std::string picture = svg ? check::renderSvg(scene) : renderPng(scene);
    if (picture.empty()) {
        err << "tesmara-cli plot: the picture could not be encoded as PNG\n";
        return kFailure;
    }
    const int status = emit(picture, parsed.output, out, err);
    if (result.hasError()) {
        err << "tesmara-cli plot: the program has errors; drawn as far as it ran\n"
            << check::textReport(result, parsed.options);
        return kFailure;
    }
    return status;
}

}  // namespace tesmara::cli
