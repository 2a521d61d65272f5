#pragma once

#include <algorithm>
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

// Every operation with a typical golden case, so a newly added one is covered.
inline std::vector<std::string> typicalCases() {
    namespace fs = std::filesystem;
    std::vector<std::string> names;
    for (const auto& dir : fs::directory_iterator(TESMARA_GOLDEN_DIR)) {
        if (fs::exists(dir.path() / "typical.args")) {
            names.push_back(dir.path().filename().string());
        }
    }
    std::sort(names.begin(), names.end());
    return names;
}

}  // namespace tesmara::check
