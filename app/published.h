// SPDX-License-Identifier: MIT
#pragma once

#include <functional>
#include <memory>
#include <utility>
#include <vector>

namespace quelmo {

// A live subscription. Destroying it (or calling cancel()) ends it; after that
// its callback is never called again, even from a notification already under
// way. Move-only. Standard library only, main thread only.
class Subscription {
  public:
    Subscription() = default;
    explicit Subscription(std::function<void()> cancel) : cancel_(std::move(cancel)) {}
    Subscription(const Subscription&) = delete;
    Subscription& operator=(const Subscription&) = delete;
    Subscription(Subscription&& other) noexcept : cancel_(std::exchange(other.cancel_, {})) {}
    Subscription& operator=(Subscription&& other) noexcept {
        if (this != &other) {
            cancel();
            cancel_ = std::exchange(other.cancel_, {});
        }
        return *this;
    }
    ~Subscription() { cancel(); }

    void cancel() {
        if (auto c = std::exchange(cancel_, {})) {
            c();
        }
    }
    bool isActive() const { return static_cast<bool>(cancel_); }

  private:
    std::function<void()> cancel_;
};

// Keeps subscriptions alive for as long as their owner lives (the app model's `bag`).
using SubscriptionBag = std::vector<Subscription>;

// A published value: every assignment notifies every
// subscriber, even when the value does not change, and the subscribers are
// handed the new value *before* the field holds it (value() still returns the
// old one inside a callback). A subscription receives the current value at
// once when it is made, then every newly assigned value.
//
// Callbacks may subscribe, cancel (their own or other subscriptions) and
// assign again while being called; a subscription made during a notification
// is not called by that notification (it was handed the current value when
// made). Subscriptions may outlive the Published; they then do nothing.
template <class T> class Published {
  public:
    using Callback = std::function<void(const T&)>;

    explicit Published(T initial = T{}) : value_(std::move(initial)) {}
    Published(const Published&) = delete;
    Published& operator=(const Published&) = delete;

    const T& value() const { return value_; }

    // Notify every subscriber with `v`, then hold `v`.
    void set(T v) {
        // Copy the list: callbacks may change it while we walk it.
        const auto sinks = core_->sinks;
        for (const auto& sink : sinks) {
            if (sink->active) {
                sink->callback(v);
            }
        }
        value_ = std::move(v);
    }

    [[nodiscard]] Subscription subscribe(Callback callback) {
        auto sink = std::make_shared<Sink>(Sink{std::move(callback), true});
        core_->sinks.push_back(sink);
        std::weak_ptr<Core> weakCore = core_;
        std::weak_ptr<Sink> weakSink = sink;
        Subscription subscription([weakCore, weakSink] {
            auto s = weakSink.lock();
            if (!s) {
                return;
            }
            s->active = false;
            if (auto c = weakCore.lock()) {
                std::erase(c->sinks, s);
            }
        });
        sink->callback(value_);
        return subscription;
    }

    std::size_t subscriberCount() const { return core_->sinks.size(); }

  private:
    struct Sink {
        Callback callback;
        bool active;
    };
    struct Core {
        std::vector<std::shared_ptr<Sink>> sinks;
    };

    T value_;
    std::shared_ptr<Core> core_ = std::make_shared<Core>();
};

} // namespace quelmo
