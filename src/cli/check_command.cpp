#include "app/output.hpp"
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
    if (!readInput("check", parsed.input, text, err)) {
        return kFailure;
    }
    const check::CheckResult result = check::checkProgram(text, parsed.options);
    out << (parsed.json ? check::jsonReport(result, parsed.options)
                        : check::textReport(result, parsed.options));
    return result.hasError() ? kFailure : kOk;
}

// The program is run twice: once to find its errors, and only when it has none
// again to stream its moves out, so that a long run is never held in memory
// and a faulty program writes nothing.
int expandCommand(std::span<const std::string_view> args, std::ostream& out, std::ostream& err) {
    constexpr std::string_view kAllowed[] = {"-o"};
    CheckArgs parsed;
    std::string text;
    if (!parseCheckArgs("expand", args, kAllowed, parsed, err)) {
        return kUsage;
    }
    if (!readInput("expand", parsed.input, text, err)) {
        return kFailure;
    }
    const check::CompiledText compiled = check::compileText(text);
    const check::CheckResult result = check::run(compiled, parsed.options);
    if (result.hasError()) {
        err << "tesmara-cli expand: the program has errors; nothing written\n"
            << check::textReport(result, parsed.options);
        return kFailure;
    }
    const auto writeTo = [&](std::ostream& stream) {
        check::CheckOptions streaming = parsed.options;
        streaming.expandTo = [&stream](std::string_view piece) {
            stream.write(piece.data(), static_cast<std::streamsize>(piece.size()));
        };
        check::run(compiled, streaming);
    };
    if (parsed.output.empty()) {
        writeTo(out);
        out.flush();
        return out ? kOk : kFailure;
    }
    if (const auto failure = writeFileAtomically(utf8Path(parsed.output), writeTo)) {
        err << "tesmara-cli: cannot write " << parsed.output << ": " << *failure << "\n";
        return kFailure;
    }
    return kOk;
}

}  // namespace tesmara::cli
