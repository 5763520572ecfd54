// SPDX-License-Identifier: MIT
#pragma once

#include "app/app_status.h"
#include "app/scheduler.h"
#include "app/session_lock_port.h"

#include <QObject>

#include <memory>
#include <optional>

namespace quelmo {

class AppModel;

// Locks the session when the user is really gone: once an away frost
// (stepped away, far, or headphones taken off) has lasted the minutes the
// user chose, if they asked for it. A turn frost never locks, and neither
// does a pause (the status is then no longer "away"). While some program
// keeps the session from idling (a video playing) the lock waits, looking
// again every minute. One request per away stretch: where no session manager
// answers it, the frost simply stays.
//
// Time comes from the scheduler only, so tests run it in virtual time.
// Main thread only.
class AwayLock {
  public:
    AwayLock(AppModel& model, Scheduler& scheduler, SessionLockPort& session);
    ~AwayLock();
    AwayLock(const AwayLock&) = delete;
    AwayLock& operator=(const AwayLock&) = delete;

    // A lock is due later in this away stretch.
    bool isArmed() const { return timer_ && timer_->isActive(); }

    // How often an inhibited lock looks again.
    static constexpr double kRecheckSeconds = 60.0;

  private:
    void follow(AppStatus::Kind kind);
    void arm();
    void due();
    void lockNow();
    bool wanted() const;

    AppModel& model_;
    Scheduler& scheduler_;
    SessionLockPort& session_;
    // When the current away stretch began (uptime); none outside one.
    std::optional<double> awaySince_;
    // The lock was asked for in this stretch.
    bool requested_ = false;
    TimerHandle timer_;
    // Ends the connections to the model's and the preferences' signals.
    QObject connections_;
    // Lets answers that come after the object is gone find out.
    std::shared_ptr<AwayLock*> self_;
};

} // namespace quelmo
