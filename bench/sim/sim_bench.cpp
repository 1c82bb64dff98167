// What a simulated level costs: the real rules, effects list and data of the game, in 10 ms
// updates, as quillory-sim runs them. "ThreeMinutes" runs 18000 updates of level 39 (a 235 s
// level of 72 cells and nine classes) with nobody playing, so the field scrolls and the conveyor
// fills for the whole time; "GoodPlayer" plays level 1 and level 39 to their end. The counters
// give the simulated seconds per run and how many times faster than real time it ran.
#include <benchmark/benchmark.h>

#include <ostream>
#include <streambuf>

#include "sim/simulator.h"

namespace {

// Output that goes nowhere, as cheaply as possible.
class NullBuffer : public std::streambuf {
protected:
    int overflow(int c) override { return c; }
    std::streamsize xsputn(const char*, std::streamsize count) override { return count; }
};

void RunLevel(benchmark::State& state, QuillorySim::SimOptions options) {
    NullBuffer nothing;
    std::ostream out(&nothing);
    options.dataFolder = QUILLORY_DATA_DIR;
    double simulated = 0;
    for (auto _ : state) {
        QuillorySim::Simulator simulator(options, out);
        if (simulator.Run() != 0) {
            state.SkipWithError(simulator.Error().c_str());
            return;
        }
        simulated = simulator.Seconds();
    }
    state.counters["simulated_s"] = simulated;
    state.counters["x_real_time"] = benchmark::Counter(
        simulated * static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}

void BM_ThreeMinutesOfLevel39(benchmark::State& state) {
    QuillorySim::SimOptions options;
    options.level = 39;
    options.maxSeconds = 180;
    RunLevel(state, options);
}
BENCHMARK(BM_ThreeMinutesOfLevel39)->Unit(benchmark::kMillisecond);

void BM_GoodPlayer(benchmark::State& state) {
    QuillorySim::SimOptions options;
    options.level = static_cast<int>(state.range(0));
    options.mode = static_cast<int>(state.range(1));
    options.player = QuillorySim::PlayerKind::Good;
    RunLevel(state, options);
}
BENCHMARK(BM_GoodPlayer)
    ->ArgNames({"level", "mode"})
    ->Args({1, 0})
    ->Args({39, 0})
    ->Args({39, 1})
    ->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
