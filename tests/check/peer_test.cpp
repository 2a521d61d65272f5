// The expanded program of every operation, run through LinuxCNC's standalone
// interpreter rs274 from several start points, moves as the checker says the
// original does: an independent reading of the same G-code.
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "check/check.hpp"
#include "check/format.hpp"
#include "generated.hpp"

namespace tesmara::check {
namespace {

namespace fs = std::filesystem;

constexpr double kTol = 2e-3;  // both sides print four decimals
constexpr double kMmPerInch = 25.4;

// One move as both sides describe it: kind R(apid), F(eed), A(rc ccw), C(w).
struct Move {
    char kind;
    Point3 end;
    double centreX = 0.0;
    double centreY = 0.0;
};

std::string describe(const Move& m) {
    std::ostringstream out;
    out << m.kind << " " << m.end.x << " " << m.end.y << " " << m.end.z;
    if (m.kind == 'A' || m.kind == 'C') {
        out << " centre " << m.centreX << " " << m.centreY;
    }
    return out.str();
}

bool same(const Point3& a, const Point3& b) {
    return std::fabs(a.x - b.x) < kTol && std::fabs(a.y - b.y) < kTol &&
           std::fabs(a.z - b.z) < kTol;
}

// Lines that go nowhere are dropped, as the checker drops them.
void append(std::vector<Move>& moves, Point3& at, const Move& m) {
    const bool arc = m.kind == 'A' || m.kind == 'C';
    if (arc || !same(at, m.end)) {
        moves.push_back(m);
    }
    at = m.end;
}

std::vector<Move> checkerMoves(const CheckResult& r, Point3 at) {
    std::vector<Move> moves;
    for (const Segment& s : r.segments) {
        const char kind = s.kind == MoveKind::Rapid ? 'R'
                          : s.shape == Shape::Line  ? 'F'
                          : s.clockwise             ? 'C'
                                                    : 'A';
        append(moves, at, {kind, s.end, s.centreX, s.centreY});
    }
    return moves;
}

// STRAIGHT_TRAVERSE, STRAIGHT_FEED and ARC_FEED of rs274's canonical output;
// the move to the start point ends where `at` already is and is dropped.
std::vector<Move> canonicalMoves(const std::string& text, Point3 at) {
    const std::regex call(R"((STRAIGHT_TRAVERSE|STRAIGHT_FEED|ARC_FEED)\(([^)]*)\))");
    std::vector<Move> moves;
    for (auto it = std::sregex_iterator(text.begin(), text.end(), call);
         it != std::sregex_iterator(); ++it) {
        std::vector<double> v;
        std::istringstream args(std::regex_replace((*it)[2].str(), std::regex(","), " "));
        for (double x; args >> x;) {
            v.push_back(x);
        }
        const std::string name = (*it)[1];
        if (name == "ARC_FEED") {
            append(moves, at, {v[4] > 0 ? 'A' : 'C', {v[0], v[1], v[5]}, v[2], v[3]});
        } else {
            append(moves, at, {name == "STRAIGHT_FEED" ? 'F' : 'R', {v[0], v[1], v[2]}});
        }
    }
    return moves;
}

std::string readFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

class Peer : public testing::TestWithParam<std::string> {
protected:
    void SetUp() override {
        m_dir = fs::temp_directory_path() / ("tesmara-peer-" + std::to_string(::getpid()));
        fs::create_directories(m_dir);
        std::ofstream tools(m_dir / "tools.tbl");
        for (int t = 1; t <= 99; ++t) {
            tools << "T" << t << " P" << t << " D0 Z0 ;\n";
        }
        // rs274 keeps its parameters in inches: G28's reference point.
        const CheckOptions defaults;
        std::ofstream(m_dir / "params.var")
            << "5161 " << defaults.reference.x / kMmPerInch << "\n5162 "
            << defaults.reference.y / kMmPerInch << "\n5163 "
            << formatNumber(defaults.reference.z / kMmPerInch, 12) << "\n5220 1\n";
    }
    void TearDown() override { fs::remove_all(m_dir); }

public:
    // The canonical output of `program`, or a failure naming rs274's complaint.
    std::string runRs274(const std::string& program) {
        std::ofstream(m_dir / "in.ngc", std::ios::binary) << program;
        const std::string command = "cd '" + m_dir.string() +
                                    "' && rs274 -t tools.tbl -v params.var -g in.ngc out.txt"
                                    " </dev/null >log.txt 2>&1";
        const int status = std::system(command.c_str());
        EXPECT_EQ(status, 0) << "rs274 (Debian package linuxcnc-uspace) failed:\n"
                             << readFile(m_dir / "log.txt") << program;
        return readFile(m_dir / "out.txt");
    }

private:
    fs::path m_dir;
};

// Expands `program` once, without a start point, and runs the expansion in
// rs274 from each start, against the checker's run of the original from there.
void expectPeerAgrees(const std::string& program, Peer& peer) {
    CheckOptions options;
    std::string expanded;
    options.expandTo = [&expanded](std::string_view piece) { expanded.append(piece); };
    const CheckResult unknownStart = checkProgram(program, options);
    ASSERT_FALSE(unknownStart.hasError()) << unknownStart.diagnostics.front().message;
    const std::string unknownText = expanded;
    std::string body = unknownText;
    body = body.substr(body.find("G90 G17 G94"));
    body = body.substr(0, body.rfind('%'));

    for (const Point3 start : {Point3{0, 0, 0}, Point3{-200, 150, 50}, Point3{300, -20, 250}}) {
        const std::string where = "from " + formatNumber(start.x) + "," + formatNumber(start.y) +
                                  "," + formatNumber(start.z);
        options.start = start;
        expanded.clear();
        const CheckResult original = checkProgram(program, options);
        EXPECT_EQ(expanded, unknownText)
            << "the expanded program does not depend on the start " << where;
        const std::string preamble = "G90 G0 X" + formatNumber(start.x) + " Y" +
                                     formatNumber(start.y) + " Z" + formatNumber(start.z) + "\n";
        const std::vector<Move> theirs = canonicalMoves(peer.runRs274(preamble + body), start);
        const std::vector<Move> ours = checkerMoves(original, start);
        ASSERT_FALSE(ours.empty());
        ASSERT_EQ(theirs.size(), ours.size()) << where;
        for (std::size_t i = 0; i < ours.size(); ++i) {
            const Move& a = ours[i];
            const Move& b = theirs[i];
            const bool arc = a.kind == 'A' || a.kind == 'C';
            const bool agree = a.kind == b.kind && same(a.end, b.end) &&
                               (!arc || (std::fabs(a.centreX - b.centreX) < kTol &&
                                         std::fabs(a.centreY - b.centreY) < kTol));
            EXPECT_TRUE(agree) << where << ", move " << i << ": checker " << describe(a)
                               << ", rs274 " << describe(b);
        }
    }
}

TEST_P(Peer, ExpandedProgramMovesAsTheOriginalFromAnyStart) {
    expectPeerAgrees(
        generated(goldenArgs(fs::path(TESMARA_GOLDEN_DIR) / GetParam() / "typical.args")), *this);
}

// What the operations do not write: a first move in Z only, a reference return
// through an intermediate point, incremental and polar moves under G52.
TEST_F(Peer, ReferenceReturnsShiftsAndPolarMovesAgree) {
    expectPeerAgrees(
        "T1 M6\nM3 S1000\nG43 H1 Z20.\nG52 X30. Y10.\nG0 X5. Y5.\nG91 G1 X10. Y-5. F500.\n"
        "G90 G16 G1 X8. Y45.\nY135.\nG15 G0 Z30.\nG90 G28 X0 Z40.\nG0 X-10. Y-10.\n"
        "G91 G28 X0 Y0\nG52 X0 Y0\nM30\n",
        *this);
}

INSTANTIATE_TEST_SUITE_P(Operations, Peer, testing::ValuesIn(typicalCases()), [](const auto& info) {
    std::string name = info.param;
    std::replace(name.begin(), name.end(), '-', '_');
    return name;
});

}  // namespace
}  // namespace tesmara::check
