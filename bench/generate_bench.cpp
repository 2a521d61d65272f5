// Generating programs: every operation with typical values, and the joining of
// a long hole list, whose time per hole must not grow with the number of holes.
#include <benchmark/benchmark.h>

#include "operations/catalog.hpp"

namespace tesmara {
namespace {

FieldValues typicalFields(const Operation& op) {
    FieldValues fields;
    int n = 1;
    for (const Field& f : op.fields) {
        fields[std::string(f.name)] = std::to_string(n++) + ".5";
    }
    return fields;
}

void generateEach(benchmark::State& state, const Operation* op) {
    const FieldValues typical = typicalFields(*op);
    const GlobalSettings settings;
    MultiHoleState holes;
    if (op->multiHole != nullptr) {
        addHole(holes, *op->multiHole, typical);
    }
    for (auto _ : state) {
        FieldValues fields = typical;
        benchmark::DoNotOptimize(
            generateOperation(*op, fields, settings, true, true, holes.values()));
    }
}

// Presses "下一孔" state.range(0) times, then generates once.
void holesThenGenerate(benchmark::State& state) {
    const Operation& op = **std::find_if(catalog().begin(), catalog().end(),
                                         [](const Operation* o) { return o->multiHole; });
    const FieldValues typical = typicalFields(op);
    const GlobalSettings settings;
    for (auto _ : state) {
        MultiHoleState holes;
        for (std::int64_t i = 0; i < state.range(0); ++i) {
            addHole(holes, *op.multiHole, typical);
        }
        FieldValues fields = typical;
        benchmark::DoNotOptimize(
            generateOperation(op, fields, settings, false, false, holes.values()));
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

const bool kRegistered = [] {
    for (const Operation* op : catalog()) {
        benchmark::RegisterBenchmark(("generate/" + std::string(op->id)).c_str(), generateEach, op);
    }
    if (std::any_of(catalog().begin(), catalog().end(),
                    [](const Operation* o) { return o->multiHole; })) {
        benchmark::RegisterBenchmark("holes_then_generate", holesThenGenerate)
            ->RangeMultiplier(10)
            ->Range(100, 100000)
            ->Unit(benchmark::kMicrosecond);
    }
    return true;
}();

}  // namespace
}  // namespace tesmara
