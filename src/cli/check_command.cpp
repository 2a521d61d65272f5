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

// The program is run twice: once to find its errors, and only when it has none
// again to write its moves as they come, so that a faulty program writes
// nothing. Standard output gets them piece by piece; a file is replaced whole.
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
    const check::CompiledText compiled = check::compileText(text);
    const check::CheckResult result = check::run(compiled, parsed.options);
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
    std::string whole;
    check::CheckOptions streaming = parsed.options;
    if (parsed.output.empty()) {
        streaming.expandTo = [&out](std::string_view piece) {
            out.write(piece.data(), static_cast<std::streamsize>(piece.size()));
        };
    } else {
        streaming.expandTo = [&whole](std::string_view piece) { whole.append(piece); };
    }
    check::run(compiled, streaming);
    return parsed.output.empty() ? kOk : emit(whole, parsed.output, out, err);
}

}  // namespace tesmara::cli
