// The program checker: executed blocks per second on a loop-heavy program,
// and generate plus check of a long multi-hole thread program, which the
// preview has to follow after every Generate.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <string>

#include "app/output.hpp"
#include "check/check.hpp"
#include "hundred_holes.hpp"

namespace tesmara {
namespace {

// A ring groove cut in fine depth steps: about a million executed blocks,
// nearly all of them the macro loop and the helical circles.
std::string fineRingGroove(const std::string& depthPerCut = "0.01") {
    FieldValues fields = {
        {"coordX", "100"},
        {"coordY", "-50.5"},
        {"toolNumber", "3"},
        {"spindleSpeed", "1500"},
        {"feedRate", "400"},
        {"startDepth", "0"},
        {"finalDepth", "45"},
        {"depthPerCut", depthPerCut},
        {"toolDiameter", "10"},
        {"grooveInnerDiameter", "40"},
        {"grooveOuterDiameter", "120"},
        {"radialStep", "1"},
    };
    return generateOperation(*findOperation("ring-groove"), fields, GlobalSettings{}, true, true,
                             {});
}

void blocksPerSecond(benchmark::State& state) {
    const check::CompiledText text = check::compileText(fineRingGroove());
    std::int64_t blocks = 0;
    check::CheckResult r;
    check::run(text, {}, r);  // grows the buffers once, as a preview's result is
    for (auto _ : state) {
        check::run(text, {}, r);
        blocks += r.summary.blocksExecuted;
        benchmark::DoNotOptimize(r.segments.data());
    }
    state.counters["blocks/s"] =
        benchmark::Counter(static_cast<double>(blocks), benchmark::Counter::kIsRate);
    state.counters["blocks"] =
        static_cast<double>(blocks) / static_cast<double>(state.iterations());
}
BENCHMARK(blocksPerSecond)->Unit(benchmark::kMillisecond);

void generateAndCheckHundredThreadHoles(benchmark::State& state) {
    const Operation& op = *findOperation("multi-thread");
    const FieldValues typical = hundredThreadHoleFields();
    const MultiHoleState holes = hundredThreadHoles();
    const GlobalSettings settings;
    for (auto _ : state) {
        FieldValues fields = typical;
        const std::string program =
            generateOperation(op, fields, settings, true, true, holes.values());
        const std::string file = savedFileBytes(op, program, fields, settings);
        const check::CheckResult r = check::checkProgram(file);
        benchmark::DoNotOptimize(r.segments.data());
        if (r.hasError() || !r.summary.ended) {
            state.SkipWithError("the program does not check cleanly");
        }
    }
}
BENCHMARK(generateAndCheckHundredThreadHoles)->Unit(benchmark::kMillisecond);

// The ring groove in steps of 0.05 expanded: 56,000 lines of plain moves,
// read and run without any macro.
void checkPlainProgram(benchmark::State& state) {
    std::string plain;
    check::CheckOptions options;
    options.expandTo = [&plain](std::string_view piece) { plain.append(piece); };
    check::checkProgram(fineRingGroove("0.05"), options);
    for (auto _ : state) {
        const check::CheckResult r = check::checkProgram(plain);
        benchmark::DoNotOptimize(r.segments.data());
    }
    state.counters["lines"] = static_cast<double>(std::count(plain.begin(), plain.end(), '\n'));
}
BENCHMARK(checkPlainProgram)->Unit(benchmark::kMillisecond);

// A program that never ends, as a depth per cut of 0 makes it: run up to the
// block limit and told.
void neverEnding(benchmark::State& state) {
    FieldValues fields = {
        {"coordX", "100"},        {"coordY", "-50.5"},      {"toolNumber", "3"},
        {"startDepth", "1"},      {"finalDepth", "6"},      {"depthPerCut", "0"},
        {"circleDiameter", "20"}, {"spindleSpeed", "1200"}, {"feedRate", "300"},
    };
    const std::string program =
        generateOperation(*findOperation("circle-hole"), fields, GlobalSettings{}, true, true, {});
    for (auto _ : state) {
        const check::CheckResult r = check::checkProgram(program);
        if (!r.hasError()) {
            state.SkipWithError("the program ends");
        }
        benchmark::DoNotOptimize(r.segments.data());
    }
}
BENCHMARK(neverEnding)->Unit(benchmark::kMillisecond);
// Runs `program` to its end or its limit, which it is expected to reach.
void checkToTheLimit(benchmark::State& state, const std::string& program) {
    for (auto _ : state) {
        const check::CheckResult r = check::checkProgram(program);
        benchmark::DoNotOptimize(r.segments.data());
        if (!r.summary.endless) {
            state.SkipWithError("the program was expected not to end");
        }
    }
}

// A depth per cut of 0: the whole block limit of a small loop.
void neverEndingProgram(benchmark::State& state) {
    checkToTheLimit(state, "G43 H1 Z5.\n#1=0\nN1 G1 Z-#1 F100.\n#1=#1+0\nIF[#1LT5] GOTO1\n");
}
BENCHMARK(neverEndingProgram)->Unit(benchmark::kMillisecond);

// 20 KB: one long expression in an endless loop, stopped by the work it does.
void longExpressionInAnEndlessLoop(benchmark::State& state) {
    std::string sum = "1";
    while (sum.size() < 20'000) {
        sum += "+#2";
    }
    checkToTheLimit(state, "N1 #1=" + sum + "\nGOTO1\n");
}
BENCHMARK(longExpressionInAnEndlessLoop)->Unit(benchmark::kMillisecond);

// 200,000 small programs in one 2.3 MB text: reading them is linear.
void compileManyPrograms(benchmark::State& state) {
    std::string text = "O1\nM98 P200000\nM30\n";
    for (int n = 2; n <= 200'000; ++n) {
        text += "O" + std::to_string(n) + "\nG0 X1.\nM99\n";
    }
    for (auto _ : state) {
        const check::CompiledText compiled = check::compileText(text);
        benchmark::DoNotOptimize(compiled.blocks.data());
    }
    state.counters["bytes"] = static_cast<double>(text.size());
}
BENCHMARK(compileManyPrograms)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace tesmara
