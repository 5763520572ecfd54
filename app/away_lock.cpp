// SPDX-License-Identifier: MIT
#include "app/away_lock.h"

#include "app/app_model.h"

#include <algorithm>
#include <cmath>
#include <string>

namespace quelmo {

AwayLock::AwayLock(AppModel& model, Scheduler& scheduler, SessionLockPort& session)
    : model_(model), scheduler_(scheduler), session_(session),
      self_(std::make_shared<AwayLock*>(this)) {
    const auto look = [this] { follow(model_.status().kind()); };
    QObject::connect(&model_, &AppModel::statusChanged, &connections_, look);
    QObject::connect(&model_.prefs(), &Preferences::lockWhenAwayChanged, &connections_, look);
    QObject::connect(&model_.prefs(), &Preferences::lockAfterMinutesChanged, &connections_, look);
    look();
}

AwayLock::~AwayLock() {
    *self_ = nullptr;
}

bool AwayLock::wanted() const {
    return model_.prefs().lockWhenAway() && !model_.isPaused() &&
           model_.status().kind() == AppStatus::Kind::away;
}

void AwayLock::follow(AppStatus::Kind kind) {
    if (kind != AppStatus::Kind::away) {
        awaySince_.reset();
        requested_ = false;
        timer_.reset();
        return;
    }
    if (!awaySince_) {
        awaySince_ = scheduler_.uptime();
    }
    arm();
}

// The minutes count from the start of the stretch, so turning the setting on
// or changing the minutes during one keeps the time already away.
void AwayLock::arm() {
    timer_.reset();
    if (requested_ || !awaySince_ || !model_.prefs().lockWhenAway()) {
        return;
    }
    const double deadline = *awaySince_ + model_.prefs().lockAfterMinutes() * 60.0;
    const double delay = std::max(0.0, deadline - scheduler_.uptime());
    timer_ = scheduler_.scheduleOnce(delay, [this] { due(); });
}

void AwayLock::due() {
    if (!wanted() || requested_) {
        return;
    }
    std::weak_ptr<AwayLock*> weak = self_;
    session_.askIdleInhibited([weak](bool inhibited) {
        const auto self = weak.lock();
        if (!self || *self == nullptr) {
            return;
        }
        AwayLock& lock = **self;
        if (!lock.wanted() || lock.requested_) {
            return;
        }
        if (inhibited) {
            lock.timer_ = lock.scheduler_.scheduleOnce(kRecheckSeconds, [&lock] { lock.due(); });
            return;
        }
        lock.lockNow();
    });
}

void AwayLock::lockNow() {
    requested_ = true;
    const double minutes = (scheduler_.uptime() - awaySince_.value_or(scheduler_.uptime())) / 60.0;
    std::weak_ptr<AwayLock*> weak = self_;
    session_.lockSession([weak, minutes](bool delivered) {
        const auto self = weak.lock();
        if (!self || *self == nullptr) {
            return;
        }
        LogPort& log = (*self)->model_.log();
        if (delivered) {
            log.write("locked the session after " + std::to_string(std::lround(minutes)) +
                      " minutes away");
        } else {
            log.write("could not lock the session: no session manager answered");
        }
    });
}

} // namespace quelmo
