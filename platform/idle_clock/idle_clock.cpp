// SPDX-License-Identifier: MIT
#include "platform/idle_clock/idle_clock.h"

#include <algorithm>

namespace quelmo {

namespace {
std::int64_t nanoseconds(IdleClock::Clock::time_point at) {
    return std::chrono::duration_cast<std::chrono::nanoseconds>(at.time_since_epoch()).count();
}
} // namespace

IdleClock::IdleClock(std::chrono::milliseconds timeout, Clock::time_point start,
                     std::optional<std::chrono::milliseconds> trustActiveFor)
    : timeout_(timeout), trustActiveFor_(trustActiveFor), state_(nanoseconds(start) * 2) {}

void IdleClock::store(Clock::time_point mark, bool idle) {
    state_.store(nanoseconds(mark) * 2 + (idle ? 1 : 0));
}

void IdleClock::idled(Clock::time_point at) {
    store(at - timeout_, true);
}

void IdleClock::resumed(Clock::time_point at) {
    store(at, false);
}

void IdleClock::seed(Clock::time_point lastEvent, Clock::time_point now) {
    if (now - lastEvent >= timeout_) {
        store(lastEvent, true);
    } else {
        store(lastEvent, false);
    }
}

double IdleClock::secondsSinceLastEvent(Clock::time_point now) const {
    const std::int64_t state = state_.load();
    const bool idle = (state & 1) != 0;
    double seconds = static_cast<double>(nanoseconds(now) - state / 2) / 1e9;
    const bool believed =
        !trustActiveFor_ || seconds <= std::chrono::duration<double>(*trustActiveFor_).count();
    if (!idle && believed) {
        seconds = std::min(seconds, std::chrono::duration<double>(timeout_).count());
    }
    return std::max(seconds, 0.0);
}

} // namespace quelmo
