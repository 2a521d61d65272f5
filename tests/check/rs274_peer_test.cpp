// expand --centre-line against LinuxCNC's interpreter: rs274 runs the program
// with G41/G42 from the same tool table, and again the centre path we wrote
// with G40 throughout. After the start-up move, which each control makes its
// own way, both must cut the same path. The programs keep to inside corners
// and tangent joints, where both join corners alike.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "cli/cli_run.hpp"

namespace tesmara {
namespace {

namespace fs = std::filesystem;

constexpr const char* kRs274 = "/usr/bin/rs274";
constexpr double kTol = 1e-3;

struct Feed {
    bool arc = false;
    double x = 0, y = 0, cx = 0, cy = 0;
};

// The feed moves of rs274's canonical output: STRAIGHT_FEED(x, y, z, …) and
// ARC_FEED(end x, end y, centre x, centre y, …).
std::vector<Feed> feedsOf(const std::string& canon) {
    std::vector<Feed> feeds;
    std::istringstream lines(canon);
    for (std::string line; std::getline(lines, line);) {
        Feed f;
        if (const auto at = line.find("STRAIGHT_FEED("); at != std::string::npos) {
            std::sscanf(line.c_str() + at, "STRAIGHT_FEED(%lf, %lf", &f.x, &f.y);
        } else if (const auto arc = line.find("ARC_FEED("); arc != std::string::npos) {
            f.arc = true;
            std::sscanf(line.c_str() + arc, "ARC_FEED(%lf, %lf, %lf, %lf", &f.x, &f.y, &f.cx,
                        &f.cy);
        } else {
            continue;
        }
        feeds.push_back(f);
    }
    return feeds;
}

std::string readAll(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

class Rs274Peer : public testing::Test {
protected:
    void SetUp() override {
        if (!fs::exists(kRs274)) {
            GTEST_SKIP() << kRs274 << " is missing: install the Debian package linuxcnc-uspace";
        }
        m_dir = fs::temp_directory_path() / ("tesmara-rs274-" + std::to_string(::getpid()));
        fs::create_directories(m_dir);
        std::ofstream(m_dir / "tools.csv") << "tool,diameter\n1,4\n";
        // rs274 without an INI file reads the tool table in inches.
        std::ofstream(m_dir / "tools.tbl") << "T1 P1 D" << 4.0 / 25.4 << " Z0\n";
    }
    void TearDown() override { fs::remove_all(m_dir); }

    // The program expanded, with or without --centre-line, as rs274 reads it.
    fs::path expand(const std::string& name, bool centreLine) {
        const fs::path out = m_dir / (name + (centreLine ? "-centre.ngc" : "-comp.ngc"));
        const std::string in = (m_dir / (name + ".nc")).string();
        const std::string tools = (m_dir / "tools.csv").string();
        const std::string target = out.string();
        std::vector<std::string_view> args{"expand", in, "--tool-table", tools, "-o", target};
        if (centreLine) {
            args.push_back("--centre-line");
        }
        const CliRun r = runCli(args);
        EXPECT_EQ(r.status, cli::kOk) << r.err;
        std::string text = readAll(out);
        std::erase(text, '\r');
        if (const auto o = text.find("O100\n"); o != std::string::npos) {
            text.erase(o, 5);  // a program number alone is not a block to rs274
        }
        std::ofstream(out, std::ios::binary) << text;
        return out;
    }

    std::string rs274(const fs::path& program) {
        const std::string command = std::string(kRs274) + " -t " + (m_dir / "tools.tbl").string() +
                                    " -g " + program.string() + " 2>&1";
        std::string output;
        if (FILE* pipe = ::popen(command.c_str(), "r")) {
            char buffer[4096];
            for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) {
                output.append(buffer, n);
            }
            ::pclose(pipe);
        }
        return output;
    }

    void expectSamePath(const std::string& name, const std::string& program) {
        std::ofstream(m_dir / (name + ".nc")) << program;
        const std::string comp = rs274(expand(name, false));
        const std::string centre = rs274(expand(name, true));
        ASSERT_EQ(comp.find("rror"), std::string::npos) << comp;
        const std::vector<Feed> theirs = feedsOf(comp);
        const std::vector<Feed> ours = feedsOf(centre);
        ASSERT_EQ(ours.size(), theirs.size()) << centre << comp;
        ASSERT_GT(ours.size(), 3u);
        // 0 is the plunge, 1 the start-up move.
        for (std::size_t i = 2; i < ours.size(); ++i) {
            EXPECT_EQ(ours[i].arc, theirs[i].arc) << name << " move " << i;
            EXPECT_NEAR(ours[i].x, theirs[i].x, kTol) << name << " move " << i;
            EXPECT_NEAR(ours[i].y, theirs[i].y, kTol) << name << " move " << i;
            EXPECT_NEAR(ours[i].cx, theirs[i].cx, kTol) << name << " move " << i;
            EXPECT_NEAR(ours[i].cy, theirs[i].cy, kTol) << name << " move " << i;
        }
    }

    fs::path m_dir;
};

TEST_F(Rs274Peer, PocketWithInsideCorners) {
    expectSamePath("pocket",
                   "T1 M6\nM3 S1000\nG43 H1 Z10.\nG0 X10. Y10.\nG1 Z-1. F100.\n"
                   "G41 D1 G1 X20. Y10.\nY20.\nX0\nY0\nX20.\nY8.\nG40 X10. Y10.\nG0 Z10.\nM30\n");
}

TEST_F(Rs274Peer, RoundedBossOutsideWithTangentArcs) {
    expectSamePath("boss",
                   "T1 M6\nM3 S1000\nG43 H1 Z10.\nG0 X-20. Y-20.\nG1 Z-1. F100.\n"
                   "G41 D1 G1 X-10. Y-10.\nY0\nG2 X0 Y10. I10. J0\nG1 X10.\nG2 X20. Y0 I0 J-10.\n"
                   "G1 Y-10.\nG2 X10. Y-20. I-10. J0\nG1 X0\nG40 X-20. Y-30.\nG0 Z10.\nM30\n");
}

TEST_F(Rs274Peer, RightSideAroundAnInsideArc) {
    expectSamePath("slot",
                   "T1 M6\nM3 S1000\nG43 H1 Z10.\nG0 X0 Y-20.\nG1 Z-1. F100.\n"
                   "G42 D1 G1 X0 Y0\nX20.\nG2 X30. Y-10. I0 J-10.\nG1 Y-20.\nG40 X40. Y-30.\n"
                   "G0 Z10.\nM30\n");
}

}  // namespace
}  // namespace tesmara
