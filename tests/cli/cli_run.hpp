#pragma once

// Runs tesmara-cli in the test process and checks its usage errors.
#include <gtest/gtest.h>

#include <span>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "cli/cli.hpp"

namespace tesmara {

struct CliRun {
    int status;
    std::string out;
    std::string err;
};

inline CliRun runCli(std::vector<std::string_view> args) {
    std::ostringstream out, err;
    const int status = cli::run(args, out, err);
    return {status, out.str(), err.str()};
}

struct UsageCase {
    std::vector<std::string_view> args;
    std::vector<std::string_view> mentions;  // each must appear in the message
};

// Every case exits with the usage status, prints nothing to stdout and says
// what is wrong and what would be right.
inline void expectUsageErrors(std::span<const UsageCase> cases) {
    for (const UsageCase& c : cases) {
        const CliRun r = runCli(c.args);
        EXPECT_EQ(r.status, cli::kUsage) << r.err;
        EXPECT_EQ(r.out, "");
        for (std::string_view m : c.mentions) {
            EXPECT_NE(r.err.find(m), std::string::npos) << "missing '" << m << "' in: " << r.err;
        }
    }
}

}  // namespace tesmara
