#pragma once

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "cli/cli.hpp"

namespace tesmara::check {

// A program as tesmara-cli generate writes it for these arguments.
inline std::string generated(const std::vector<std::string>& args) {
    std::vector<std::string_view> views{"generate"};
    views.insert(views.end(), args.begin(), args.end());
    std::ostringstream out, err;
    if (cli::run(views, out, err) != cli::kOk) {
        return "generate failed: " + err.str();
    }
    return out.str();
}

// The arguments of a golden case, one per line, without the leading "generate".
inline std::vector<std::string> goldenArgs(const std::filesystem::path& file) {
    std::ifstream in(file);
    std::vector<std::string> args;
    for (std::string line; std::getline(in, line);) {
        args.push_back(line);
    }
    if (!args.empty() && args.front() == "generate") {
        args.erase(args.begin());
    }
    return args;
}

}  // namespace tesmara::check
