// SPDX-License-Identifier: MIT
#pragma once

#include <QLocale>
#include <QString>

#include <chrono>
#include <optional>

namespace quelmo {

// What the application is doing at this moment, in the user's terms.
// A plain value, copied freely. Exactly one case, `paused`, carries a value:
// the wall-clock time the pause ends.
class AppStatus {
  public:
    using TimePoint = std::chrono::system_clock::time_point;

    // The cases, in their order.
    enum class Kind {
        paused,
        needsSetup,
        permissionDenied,
        unsupported,
        off,
        screenLocked,
        waitingForAirPods,
        calibrating,
        watching,
        frosted,
        away,
    };

    static AppStatus paused(TimePoint until) { return AppStatus(Kind::paused, until); }
    static AppStatus needsSetup() { return AppStatus(Kind::needsSetup); }
    static AppStatus permissionDenied() { return AppStatus(Kind::permissionDenied); }
    static AppStatus unsupported() { return AppStatus(Kind::unsupported); }
    static AppStatus off() { return AppStatus(Kind::off); }
    static AppStatus screenLocked() { return AppStatus(Kind::screenLocked); }
    static AppStatus waitingForAirPods() { return AppStatus(Kind::waitingForAirPods); }
    static AppStatus calibrating() { return AppStatus(Kind::calibrating); }
    static AppStatus watching() { return AppStatus(Kind::watching); }
    static AppStatus frosted() { return AppStatus(Kind::frosted); }
    static AppStatus away() { return AppStatus(Kind::away); }

    Kind kind() const { return kind_; }
    // The end of the pause for `paused`; none for every other case.
    std::optional<TimePoint> pausedUntil() const {
        return kind_ == Kind::paused ? std::optional<TimePoint>(until_) : std::nullopt;
    }

    // The line shown first in the status menu, in the user's language. The
    // paused title formats its time with `locale`'s short time format, no
    // date (the user's locale and 12/24-hour setting by default).
    QString title(const QLocale& locale = QLocale::system()) const;
    // The same line in English, as the diagnostics log writes it after
    // "status: " whatever the user's language.
    QString logTitle(const QLocale& locale = QLocale::system()) const;
    // The name of the symbol that stands for the status in the tray.
    QString symbolName() const;

    // Same case; two paused values only when their times are equal too.
    bool operator==(const AppStatus& other) const {
        return kind_ == other.kind_ && (kind_ != Kind::paused || until_ == other.until_);
    }

  private:
    explicit AppStatus(Kind kind, TimePoint until = {}) : kind_(kind), until_(until) {}

    Kind kind_;
    TimePoint until_;
};

// The case's name in code ("paused", "needsSetup", ...).
const char* kindName(AppStatus::Kind kind);

} // namespace quelmo
