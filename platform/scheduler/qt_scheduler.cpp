// SPDX-License-Identifier: MIT
#include "platform/scheduler/qt_scheduler.h"

#include <QMetaObject>
#include <QObject>
#include <QTimer>

#include <chrono>
#include <climits>
#include <cmath>
#include <utility>

namespace quelmo {

double systemUptime() {
    using namespace std::chrono;
    return duration<double>(steady_clock::now().time_since_epoch()).count();
}

namespace {

// The longest interval a QTimer takes, in milliseconds.
constexpr double kMaxTimerMs = static_cast<double>(INT_MAX);

double sanitizedSeconds(double seconds) {
    if (!std::isfinite(seconds) || seconds < 0.0) {
        return 0.0;
    }
    return seconds;
}

int toTimerMs(double seconds) {
    const double ms = std::ceil(sanitizedSeconds(seconds) * 1000.0 - 1e-6);
    return ms >= kMaxTimerMs ? INT_MAX : static_cast<int>(std::max(ms, 0.0));
}

// The QTimer behind a handle. The handle owns it; when the handle goes away
// while the timer's own action runs, the object is deleted later by the event
// loop instead of under the running action.
class ActionTimer final : public QTimer {
  public:
    ActionTimer(Scheduler::Action action, bool repeating, double dueUptime)
        : action_(std::move(action)), repeating_(repeating), dueUptime_(dueUptime) {
        connect(this, &QTimer::timeout, this, [this] { fire(); });
    }

    bool isFiring() const { return firing_; }
    bool isCancelled() const { return cancelled_; }
    bool isDone() const { return done_; }

    void cancel() {
        cancelled_ = true;
        stop();
    }

  private:
    void fire() {
        if (cancelled_) {
            return;
        }
        if (!repeating_) {
            // A one-shot delay longer than a QTimer holds: go on waiting.
            const double remaining = dueUptime_ - systemUptime();
            if (remaining > 0.001) {
                start(toTimerMs(remaining));
                return;
            }
            done_ = true;
        }
        firing_ = true;
        action_();
        firing_ = false;
    }

    Scheduler::Action action_;
    bool repeating_;
    double dueUptime_;
    bool firing_ = false;
    bool cancelled_ = false;
    bool done_ = false;
};

class QtTimerHandle final : public Timer {
  public:
    explicit QtTimerHandle(ActionTimer* timer) : timer_(timer) {}
    ~QtTimerHandle() override {
        timer_->cancel();
        if (timer_->isFiring()) {
            timer_->deleteLater();
        } else {
            delete timer_;
        }
    }

    void cancel() override { timer_->cancel(); }
    bool isActive() const override { return !timer_->isCancelled() && !timer_->isDone(); }

  private:
    ActionTimer* timer_;
};

} // namespace

QtScheduler::QtScheduler() : context_(std::make_unique<QObject>()) {}

QtScheduler::~QtScheduler() = default;

double QtScheduler::uptime() const {
    return systemUptime();
}

Scheduler::WallClock::time_point QtScheduler::now() const {
    return WallClock::now();
}

Qt::TimerType QtScheduler::timerTypeFor(double interval, double tolerance) {
    const double i = sanitizedSeconds(interval);
    const double t = sanitizedSeconds(tolerance);
    return (i > 0.0 && t >= 0.05 * i - 1e-9) ? Qt::CoarseTimer : Qt::PreciseTimer;
}

TimerHandle QtScheduler::scheduleOnce(double delay, Action action) {
    const double d = sanitizedSeconds(delay);
    auto* timer = new ActionTimer(std::move(action), false, systemUptime() + d);
    timer->setSingleShot(true);
    timer->setTimerType(Qt::PreciseTimer);
    timer->start(toTimerMs(d));
    return std::make_unique<QtTimerHandle>(timer);
}

TimerHandle QtScheduler::scheduleRepeating(double interval, double tolerance, Action action) {
    double i = sanitizedSeconds(interval);
    if (i < 0.001) {
        i = 0.001;
    }
    auto* timer = new ActionTimer(std::move(action), true, 0.0);
    timer->setSingleShot(false);
    timer->setTimerType(timerTypeFor(i, tolerance));
    timer->start(toTimerMs(i));
    return std::make_unique<QtTimerHandle>(timer);
}

void QtScheduler::post(Action action) {
    QMetaObject::invokeMethod(context_.get(), std::move(action), Qt::QueuedConnection);
}

} // namespace quelmo
