// SPDX-License-Identifier: MIT
// Cost of reading one earbuds sensor frame and turning it into a sample: the
// work done 25 times a second while head tracking runs.
#include "platform/motion/earbuds_wire.h"

#include <benchmark/benchmark.h>

#include <atomic>
#include <cmath>
#include <cstdlib>
#include <new>

// Counts every allocation, so the figures show that decoding makes none.
// GCC cannot see that the replaced new and delete below pair up.
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
static std::atomic<long> allocations{0};
void* operator new(std::size_t size) {
    allocations.fetch_add(1, std::memory_order_relaxed);
    if (void* p = std::malloc(size == 0 ? 1 : size))
        return p;
    throw std::bad_alloc();
}
void operator delete(void* p) noexcept {
    std::free(p);
}
void operator delete(void* p, std::size_t) noexcept {
    std::free(p);
}

namespace {

using namespace quelmo;

void BM_DecodeEarbudsFrame(benchmark::State& state) {
    const double half = 30.0 * 3.141592653589793 / 360.0;
    const DeviceMotion turned{0, 0, std::sin(half), std::cos(half), 0, 0, -1, 0.01, 0.02, 0.1};
    unsigned char frame[earbuds::kMaxSensorFrame];
    const std::size_t size = earbuds::encodeSensor(
        earbuds::fromDeviceMotion(turned, 1), 7,
        state.range(0) != 0 ? earbuds::Envelope::v1 : earbuds::Envelope::v4, frame);
    const long before = allocations.load();
    for (auto _ : state) {
        benchmark::DoNotOptimize(frame);
        earbuds::SensorFrame decoded;
        if (earbuds::decodeSensor(frame, size, decoded) != earbuds::SensorStatus::ok)
            state.SkipWithError("frame refused");
        const DeviceMotion m = earbuds::toDeviceMotion(decoded);
        benchmark::DoNotOptimize(headingDegrees(m));
        benchmark::DoNotOptimize(verticalAcceleration(m));
    }
    state.counters["allocations"] = static_cast<double>(allocations.load() - before);
}
BENCHMARK(BM_DecodeEarbudsFrame)->Arg(1)->Arg(0);

} // namespace

BENCHMARK_MAIN();
