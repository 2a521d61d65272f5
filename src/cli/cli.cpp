#include "cli/cli.hpp"

#include <cerrno>
#include <cstring>
#include <string>

#include "app/output.hpp"

namespace tesmara::cli {

namespace {

constexpr std::string_view kUsageText =
    "usage: tesmara-cli list\n"
    "       tesmara-cli generate OP [--header] [--trailer] [--safe-height TEXT]\n"
    "                               [--work-offset TEXT] [--file] [-o PATH] WORD...\n"
    "       tesmara-cli check FILE|- [--json] [RUN OPTIONS]\n"
    "       tesmara-cli expand FILE|- [-o PATH] [--centre-line] [RUN OPTIONS]\n"
    "       tesmara-cli plot FILE|- -o OUT.svg|OUT.png [RUN OPTIONS]\n"
    "  WORD is FIELD=TEXT, or next-hole in a multi-hole operation.\n"
    "  RUN OPTIONS: --rapid-rate MM_PER_MIN (20000), --block-limit N (2000000),\n"
    "               --reference-z Z (100, where G28 sends Z),\n"
    "               --start X,Y,Z (default: at the reference Z above the first X and Y),\n"
    "               --compare exact|tolerant (tolerant),\n"
    "               --tool-table FILE (CSV: tool,diameter[,radius_register]).\n"
    "  'tesmara-cli list' shows the operations and their fields.\n";

}  // namespace

int run(std::span<const std::string_view> args, std::ostream& out, std::ostream& err) {
    if (args.empty()) {
        err << kUsageText;
        return kUsage;
    }
    const std::string_view command = args.front();
    const auto rest = args.subspan(1);
    if (command == "list") {
        return listCommand(rest, out, err);
    }
    struct Command {
        std::string_view name;
        int (*handler)(std::span<const std::string_view>, std::ostream&, std::ostream&);
    };
    constexpr Command kCommands[] = {
        {"generate", generateCommand},
        {"check", checkCommand},
        {"expand", expandCommand},
        {"plot", plotCommand},
    };
    for (const Command& c : kCommands) {
        if (command == c.name) {
            return c.handler(rest, out, err);
        }
    }
    err << "tesmara-cli: unknown command '" << command
        << "'; the commands are: list, generate, check, expand, plot\n"
        << kUsageText;
    return kUsage;
}

int finishOutput(int status, std::ostream& out, std::ostream& err) {
    if (out) {
        errno = 0;
        out.flush();
    }
    if (out) {
        return status;
    }
    const int error = errno;
    err << "tesmara-cli: cannot write standard output: "
        << (error != 0 ? std::strerror(error) : "write error") << "\n";
    return kFailure;
}

int emit(std::string_view bytes, std::string_view path, std::ostream& out, std::ostream& err) {
    if (path.empty()) {
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        return kOk;  // finishOutput tells when standard output failed
    }
    if (const auto failure = writeFileAtomically(utf8Path(path), bytes)) {
        err << "tesmara-cli: cannot write " << path << ": " << englishReason(*failure) << "\n";
        return kFailure;
    }
    return kOk;
}

}  // namespace tesmara::cli
