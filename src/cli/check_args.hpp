#pragma once

#include <ostream>
#include <span>
#include <string>
#include <string_view>

#include "check/check.hpp"

namespace tesmara::cli {

// What check, expand and plot share: the input, where output goes, and the
// options of the run.
struct CheckArgs {
    std::string input;      // a path, or "-" for standard input
    std::string output;     // -o PATH
    std::string toolTable;  // --tool-table PATH
    bool json = false;
    check::CheckOptions options;  // options.centreLine for --centre-line
};

// `allowed` names the options the command takes besides the run options,
// e.g. {"--json"} or {"-o"}; prints the problem and the choices on failure.
bool parseCheckArgs(std::string_view command, std::span<const std::string_view> args,
                    std::span<const std::string_view> allowed, CheckArgs& parsed,
                    std::ostream& err);

// The tool table named by --tool-table into the options; false (with the
// file, the line and the reason told) when it cannot be read.
bool loadToolTable(std::string_view command, CheckArgs& parsed, std::ostream& err);

// The whole input as bytes; false (with the reason told) when it cannot be read.
bool readInput(std::string_view command, const std::string& input, std::string& text,
               std::ostream& err);

}  // namespace tesmara::cli
