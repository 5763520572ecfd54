// SPDX-License-Identifier: MIT
#include "tests/support/virtual_scheduler.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <utility>
#include <vector>

namespace quelmo {

namespace {

// Longer spans are cut to this (about 31 years), so nanoseconds cannot overflow.
constexpr double kMaxSpanSeconds = 1e9;

std::int64_t toNanoseconds(double seconds) {
    if (!std::isfinite(seconds) || seconds <= 0.0) {
        return 0;
    }
    if (seconds > kMaxSpanSeconds) {
        seconds = kMaxSpanSeconds;
    }
    return std::llround(seconds * 1e9);
}

} // namespace

struct VirtualScheduler::State {
    struct Entry;
    using Key = std::pair<std::int64_t, std::uint64_t>; // due time (ns), sequence

    struct Entry {
        Action action;
        std::int64_t intervalNs = 0; // 0: one-shot (or posted)
        Key key{};
        bool active = true;
    };

    std::int64_t nowNs = 0;        // uptime in ns
    std::int64_t wallAtZeroNs = 0; // wall clock (ns since epoch) minus uptime
    std::uint64_t sequence = 0;
    std::map<Key, std::shared_ptr<Entry>> queue;

    void insert(const std::shared_ptr<Entry>& entry, std::int64_t dueNs) {
        entry->key = Key{dueNs, sequence++};
        queue.emplace(entry->key, entry);
    }
    void remove(const Entry& entry) { queue.erase(entry.key); }
};

namespace {

class VirtualTimer final : public Timer {
  public:
    VirtualTimer(std::weak_ptr<VirtualScheduler::State> state,
                 std::shared_ptr<VirtualScheduler::State::Entry> entry)
        : state_(std::move(state)), entry_(std::move(entry)) {}
    ~VirtualTimer() override { cancel(); }

    void cancel() override {
        if (!entry_->active) {
            return;
        }
        entry_->active = false;
        if (auto state = state_.lock()) {
            state->remove(*entry_);
        }
    }
    bool isActive() const override { return entry_->active; }

  private:
    std::weak_ptr<VirtualScheduler::State> state_;
    std::shared_ptr<VirtualScheduler::State::Entry> entry_;
};

} // namespace

VirtualScheduler::VirtualScheduler(double startUptime, WallClock::time_point startDate)
    : state_(std::make_shared<State>()) {
    state_->nowNs = toNanoseconds(startUptime);
    const auto dateNs =
        std::chrono::duration_cast<std::chrono::nanoseconds>(startDate.time_since_epoch()).count();
    state_->wallAtZeroNs = dateNs - state_->nowNs;
}

VirtualScheduler::~VirtualScheduler() {
    // Handles may outlive the scheduler: what never ran is no longer active.
    for (auto& [key, entry] : state_->queue) {
        entry->active = false;
    }
}

double VirtualScheduler::uptime() const {
    return static_cast<double>(state_->nowNs) / 1e9;
}

Scheduler::WallClock::time_point VirtualScheduler::now() const {
    const std::chrono::nanoseconds ns{state_->wallAtZeroNs + state_->nowNs};
    return WallClock::time_point{std::chrono::duration_cast<WallClock::duration>(ns)};
}

TimerHandle VirtualScheduler::scheduleOnce(double delay, Action action) {
    auto entry = std::make_shared<State::Entry>();
    entry->action = std::move(action);
    state_->insert(entry, state_->nowNs + toNanoseconds(delay));
    return std::make_unique<VirtualTimer>(state_, entry);
}

TimerHandle VirtualScheduler::scheduleRepeating(double interval, double /*tolerance*/,
                                                Action action) {
    auto entry = std::make_shared<State::Entry>();
    entry->action = std::move(action);
    entry->intervalNs = std::max<std::int64_t>(toNanoseconds(interval), 1'000'000);
    state_->insert(entry, state_->nowNs + entry->intervalNs);
    return std::make_unique<VirtualTimer>(state_, entry);
}

void VirtualScheduler::post(Action action) {
    auto entry = std::make_shared<State::Entry>();
    entry->action = std::move(action);
    state_->insert(entry, state_->nowNs);
}

void VirtualScheduler::advance(double seconds) {
    runUntil(state_->nowNs + toNanoseconds(seconds));
}

bool VirtualScheduler::runNext() {
    if (state_->queue.empty()) {
        return false;
    }
    runUntil(state_->queue.begin()->first.first);
    return true;
}

void VirtualScheduler::runUntil(std::int64_t targetNs) {
    // A local reference, so the state survives an action that destroys us.
    const auto state = state_;
    while (!state->queue.empty()) {
        auto first = state->queue.begin();
        if (first->first.first > targetNs) {
            break;
        }
        std::shared_ptr<State::Entry> entry = first->second; // keeps the action alive
        state->queue.erase(first);
        state->nowNs = entry->key.first;
        if (entry->intervalNs > 0) {
            state->insert(entry, entry->key.first + entry->intervalNs);
        } else {
            entry->active = false;
        }
        entry->action();
    }
    if (targetNs > state->nowNs) {
        state->nowNs = targetNs;
    }
}

void VirtualScheduler::stall(double seconds) {
    const auto state = state_;
    state->nowNs += toNanoseconds(seconds);
    std::vector<std::shared_ptr<State::Entry>> overdue;
    while (!state->queue.empty() && state->queue.begin()->first.first < state->nowNs) {
        overdue.push_back(state->queue.begin()->second);
        state->queue.erase(state->queue.begin());
    }
    for (const auto& entry : overdue) {
        state->insert(entry, state->nowNs);
    }
}

void VirtualScheduler::setNow(WallClock::time_point date) {
    const auto dateNs =
        std::chrono::duration_cast<std::chrono::nanoseconds>(date.time_since_epoch()).count();
    state_->wallAtZeroNs = dateNs - state_->nowNs;
}

std::size_t VirtualScheduler::pendingCount() const {
    return state_->queue.size();
}

std::optional<double> VirtualScheduler::nextDueIn() const {
    if (state_->queue.empty()) {
        return std::nullopt;
    }
    return static_cast<double>(state_->queue.begin()->first.first - state_->nowNs) / 1e9;
}

} // namespace quelmo
