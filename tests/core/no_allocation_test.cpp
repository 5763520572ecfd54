// SPDX-License-Identifier: MIT
// Proves that a head sample allocates nothing: global operator new is counted
// while the guard handles a long run of samples.
#include "core/privacy_guard.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cmath>
#include <cstdlib>
#include <new>

namespace {
std::atomic<long> allocations{0};
}

void* operator new(std::size_t size) {
    allocations.fetch_add(1, std::memory_order_relaxed);
    if (void* p = std::malloc(size == 0 ? 1 : size)) {
        return p;
    }
    throw std::bad_alloc();
}
void operator delete(void* p) noexcept {
    std::free(p);
}
void operator delete(void* p, std::size_t) noexcept {
    std::free(p);
}

namespace quelmo {
namespace {

TEST(NoAllocation, MotionAllocatesNothing) {
    PrivacyGuard guard;
    long frostChanges = 0;
    guard.onFrostChange = [&frostChanges](bool) { ++frostChanges; };
    guard.inputActivity(30.0, 0.0);
    guard.proximity({{"buds", -60.0}}, 0.0);

    const long before = allocations.load();
    // Ten minutes at 50 Hz of turning, walking, typing and resting, with frosts.
    for (int i = 0; i < 30000; ++i) {
        const double t = i * 0.02;
        const double heading = 70.0 * std::sin(t / 7.0) + 0.01 * i;
        const double vertical = (i / 1500) % 2 == 1 ? 0.3 * std::sin(11.938 * t) : 0.0;
        guard.motion(heading, vertical, t);
        if (i % 10 == 0) {
            // Someone types now and then, which ends away states.
            guard.inputActivity((i / 500) % 3 == 0 ? 0.1 : 50.0, t);
        }
    }
    const long after = allocations.load();
    EXPECT_EQ(after - before, 0);
    EXPECT_GT(frostChanges, 2); // the run really went through frosts
}

} // namespace
} // namespace quelmo
