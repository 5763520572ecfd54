// SPDX-License-Identifier: MIT
#pragma once

#include "app/session_lock_port.h"

#include <QDBusConnection>
#include <QObject>

namespace quelmo {

// Locks the session through logind: the `Lock` call on our own session
// object, which logind turns into a signal that GNOME, KDE and swayidle-based
// sessions answer with their lock screen. Whether idling is held off is read
// from logind's block list ("idle") and, where it runs, from GNOME's session
// manager. Every call is
// asynchronous; a missing bus or service counts as "not inhibited" and "not
// delivered".
class LogindSessionLock : public QObject, public SessionLockPort {
  public:
    LogindSessionLock(QDBusConnection systemBus, QDBusConnection sessionBus,
                      QObject* parent = nullptr);

    void askIdleInhibited(std::function<void(bool inhibited)> answer) override;
    void lockSession(std::function<void(bool delivered)> done) override;

    // How long a call may take before it counts as unanswered.
    static constexpr int kCallTimeoutMs = 3000;

  private:
    QDBusConnection systemBus_;
    QDBusConnection sessionBus_;
};

} // namespace quelmo
