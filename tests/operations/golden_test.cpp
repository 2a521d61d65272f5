// Whole programs against files written by hand from the operation tables.
//
// Each case is a pair in golden/<operation>/: NAME.args holds the tesmara-cli
// arguments, one per line, taken exactly (blanks kept); NAME.nc the expected
// output with LF line ends, which stand for the program's CR LF. A program
// file that ends in "%" has no line break after it in the .nc either.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "cli/cli.hpp"

namespace tesmara {
namespace {

namespace fs = std::filesystem;

std::string readFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

std::string withCrLf(const std::string& text) {
    std::string out;
    for (char c : text) {
        if (c == '\n') {
            out += '\r';
        }
        out += c;
    }
    return out;
}

std::vector<std::string> goldenCases() {
    std::vector<std::string> cases;
    for (const auto& entry : fs::recursive_directory_iterator(TESMARA_GOLDEN_DIR)) {
        if (entry.path().extension() == ".args") {
            cases.push_back(fs::relative(entry.path(), TESMARA_GOLDEN_DIR).replace_extension().string());
        }
    }
    std::sort(cases.begin(), cases.end());
    return cases;
}

class Golden : public testing::TestWithParam<std::string> {};

TEST_P(Golden, ProgramMatchesByteForByte) {
    const fs::path base = fs::path(TESMARA_GOLDEN_DIR) / GetParam();
    std::vector<std::string> lines;
    std::istringstream argsText(readFile(fs::path(base).replace_extension(".args")));
    for (std::string line; std::getline(argsText, line);) {
        lines.push_back(line);
    }
    const std::vector<std::string_view> args(lines.begin(), lines.end());
    const fs::path expectedPath = fs::path(base).replace_extension(".nc");
    ASSERT_TRUE(fs::exists(expectedPath)) << expectedPath;

    std::ostringstream out, err;
    ASSERT_EQ(cli::run(args, out, err), cli::kOk) << err.str();
    EXPECT_EQ(out.str(), withCrLf(readFile(expectedPath)));
}

std::string caseName(const testing::TestParamInfo<std::string>& info) {
    std::string name;
    for (char c : info.param) {
        name += std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
    }
    return name;
}

INSTANTIATE_TEST_SUITE_P(Operations, Golden, testing::ValuesIn(goldenCases()), caseName);

}  // namespace
}  // namespace tesmara
