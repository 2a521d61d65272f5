#include "check/check.hpp"

#include "check/report.hpp"
#include "cli/check_args.hpp"
#include "cli/cli.hpp"

namespace tesmara::cli {

int checkCommand(std::span<const std::string_view> args, std::ostream& out, std::ostream& err) {
    constexpr std::string_view kAllowed[] = {"--json"};
    CheckArgs parsed;
    std::string text;
    if (!parseCheckArgs("check", args, kAllowed, parsed, err)) {
        return kUsage;
    }
    if (!readInput("check", parsed.input, text, err) || !loadToolTable("check", parsed, err)) {
        return kFailure;
    }
    const check::CheckResult result = check::checkProgram(text, parsed.options);
    out << (parsed.json ? check::jsonReport(result, parsed.options)
                        : check::textReport(result, parsed.options));
    return result.hasError() ? kFailure : kOk;
}

int expandCommand(std::span<const std::string_view> args, std::ostream& out, std::ostream& err) {
    constexpr std::string_view kAllowed[] = {"-o", "--centre-line"};
    CheckArgs parsed;
    std::string text;
    if (!parseCheckArgs("expand", args, kAllowed, parsed, err)) {
        return kUsage;
    }
    if (!readInput("expand", parsed.input, text, err) || !loadToolTable("expand", parsed, err)) {
        return kFailure;
    }
    parsed.options.expand = true;
    const check::CheckResult result = check::checkProgram(text, parsed.options);
    if (result.hasError()) {
        err << "tesmara-cli expand: the program has errors; nothing written\n"
            << check::textReport(result, parsed.options);
        return kFailure;
    }
    if (parsed.options.centreLine && !result.summary.registersWithoutRadius.empty()) {
        err << "tesmara-cli expand: the tool table " << parsed.toolTable << " has no radius for D"
            << result.summary.registersWithoutRadius.front() << "; no centre path written\n";
        return kFailure;
    }
    return emit(result.expanded, parsed.output, out, err);
}

}  // namespace tesmara::cli
