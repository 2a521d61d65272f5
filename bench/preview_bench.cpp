// The preview pane after a Generate of a hundred thread holes: the scene
// built and drawn once, then a repaint as when the window is uncovered.
#include <benchmark/benchmark.h>

#include <QApplication>

#include "app/session.hpp"
#include "hundred_holes.hpp"
#include "ui/preview_pane.hpp"

namespace tesmara::ui {
namespace {

std::optional<SlotCheck> hundredHoleCheck() {
    const Operation& op = *findOperation("multi-thread");
    AppState state;
    WindowState& window = state.window(op);
    window.holes = hundredThreadHoles();
    FieldValues fields = hundredThreadHoleFields();
    generate(state, op, fields, true, true);
    return checkProgramSlot(state, op);
}

void showHundredHoles(benchmark::State& state) {
    const std::optional<SlotCheck> check = hundredHoleCheck();
    PreviewPane pane(nullptr);
    pane.resize(440, 600);
    pane.show();
    QApplication::processEvents();
    for (auto _ : state) {
        state.PauseTiming();
        std::optional<SlotCheck> arrived = check;  // the window moves the result in
        state.ResumeTiming();
        pane.showCheck(std::move(arrived));
    }
    state.counters["segments"] = static_cast<double>(check->result.segments.size());
}
BENCHMARK(showHundredHoles)->Unit(benchmark::kMillisecond);

void repaintHundredHoles(benchmark::State& state) {
    PreviewPane pane(nullptr);
    pane.resize(440, 600);
    pane.show();
    pane.showCheck(hundredHoleCheck());
    QApplication::processEvents();
    for (auto _ : state) {
        pane.repaint();
    }
}
BENCHMARK(repaintHundredHoles)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace tesmara::ui

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
