// SPDX-License-Identifier: MIT
// Speed of the detection core: the per-sample cost of the guard and a replay of
// one hour of recorded-style data at 50 Hz.
#include "core/privacy_guard.h"
#include "tools/replay/trace_replay.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <sstream>
#include <string>
#include <vector>

namespace {

double headingAt(double t) {
    return 60.0 * std::sin(t / 9.0) + 25.0 * std::sin(t / 2.3);
}
double verticalAt(double t) {
    return static_cast<long>(t / 30.0) % 4 == 3 ? 0.3 * std::sin(11.938 * t) : 0.0;
}

void BM_GuardMotion(benchmark::State& state) {
    // Inputs are made up front so that only the guard is measured.
    constexpr std::size_t kSamples = 1 << 16;
    std::vector<double> headings(kSamples);
    std::vector<double> verticals(kSamples);
    for (std::size_t i = 0; i < kSamples; ++i) {
        headings[i] = headingAt(i * 0.02);
        verticals[i] = verticalAt(i * 0.02);
    }
    quelmo::PrivacyGuard guard;
    long frosts = 0;
    guard.onFrostChange = [&frosts](bool) { ++frosts; };
    guard.inputActivity(60.0, 0.0);
    double t = 0.0;
    std::size_t i = 0;
    for (auto _ : state) {
        guard.motion(headings[i], verticals[i], t);
        i = (i + 1) & (kSamples - 1);
        t += 0.02;
    }
    benchmark::DoNotOptimize(frosts);
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_GuardMotion);

// One hour at 50 Hz: 180,000 head samples, a keyboard/mouse reading and a
// Bluetooth reading every 2 s.
std::string oneHourTrace() {
    std::string trace;
    trace.reserve(180000 * 32);
    char line[96];
    double lastEvent = 0.0;
    for (long i = 0; i < 180000; ++i) {
        const double t = i * 0.02;
        std::snprintf(line, sizeof line, "m,%.2f,%.3f,%.4f\n", t, headingAt(t), verticalAt(t));
        trace += line;
        if (i % 100 == 0) {
            if (static_cast<long>(t / 20.0) % 3 == 0) {
                lastEvent = t;
            }
            std::snprintf(line, sizeof line, "i,%.2f,%.3f\n", t, t - lastEvent);
            trace += line;
        }
        if (i % 100 == 50) {
            std::snprintf(line, sizeof line, "p,%.2f,AA-BB=%.0f\n", t,
                          -58.0 - 30.0 * (i % 1000 > 800));
            trace += line;
        }
    }
    return trace;
}

void BM_ReplayOneHour(benchmark::State& state) {
    const std::string trace = oneHourTrace();
    for (auto _ : state) {
        std::istringstream in(trace);
        std::ostringstream out;
        std::ostringstream err;
        benchmark::DoNotOptimize(quelmo::replayTrace(in, out, err));
    }
    state.counters["events"] = 183600;
}
BENCHMARK(BM_ReplayOneHour)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
