// SPDX-License-Identifier: MIT
#include "app/app_status.h"

#include "app/platform_wording.h"

#include <QCoreApplication>
#include <QDateTime>

namespace quelmo {

namespace {

// The English source of each title; the paused one takes the time as %1.
const char* sourceTitle(AppStatus::Kind kind) {
    switch (kind) {
    case AppStatus::Kind::paused:
        return QT_TRANSLATE_NOOP("AppStatus", "Paused until %1");
    case AppStatus::Kind::needsSetup:
        return QT_TRANSLATE_NOOP("AppStatus", "Finish setup to start");
    case AppStatus::Kind::permissionDenied:
        return QT_TRANSLATE_NOOP("AppStatus", "Motion access is turned off");
    case AppStatus::Kind::unsupported:
        return wording::unsupportedTitle;
    case AppStatus::Kind::off:
        return QT_TRANSLATE_NOOP("AppStatus", "Quelmo is off");
    case AppStatus::Kind::screenLocked:
        return QT_TRANSLATE_NOOP("AppStatus", "Resting while the screen is locked");
    case AppStatus::Kind::waitingForAirPods:
        return QT_TRANSLATE_NOOP("AppStatus", "Waiting for your AirPods");
    case AppStatus::Kind::calibrating:
        return QT_TRANSLATE_NOOP("AppStatus", "Getting ready…");
    case AppStatus::Kind::watching:
        return QT_TRANSLATE_NOOP("AppStatus", "Watching. Turn away and it frosts.");
    case AppStatus::Kind::frosted:
        return QT_TRANSLATE_NOOP("AppStatus", "Frosted. You're turned away.");
    case AppStatus::Kind::away:
        return QT_TRANSLATE_NOOP("AppStatus", "Frosted. You stepped away.");
    }
    return "";
}

QString pauseEnd(AppStatus::TimePoint until, const QLocale& locale) {
    const auto ms = std::chrono::floor<std::chrono::milliseconds>(until.time_since_epoch()).count();
    return locale.toString(QDateTime::fromMSecsSinceEpoch(ms).time(), QLocale::ShortFormat);
}

} // namespace

QString AppStatus::title(const QLocale& locale) const {
    const char* source = sourceTitle(kind_);
    const QString text = kind_ == Kind::unsupported
                             ? wording::translated(source)
                             : QCoreApplication::translate("AppStatus", source);
    return kind_ == Kind::paused ? text.arg(pauseEnd(until_, locale)) : text;
}

QString AppStatus::logTitle(const QLocale& locale) const {
    const QString text = QString::fromUtf8(sourceTitle(kind_));
    return kind_ == Kind::paused ? text.arg(pauseEnd(until_, locale)) : text;
}

QString AppStatus::symbolName() const {
    switch (kind_) {
    case Kind::paused:
        return QStringLiteral("pause.circle");
    case Kind::needsSetup:
    case Kind::permissionDenied:
    case Kind::unsupported:
        return QStringLiteral("exclamationmark.circle");
    case Kind::off:
    case Kind::screenLocked:
        return QStringLiteral("eye.slash");
    case Kind::waitingForAirPods:
        return QStringLiteral("airpodspro");
    case Kind::calibrating:
    case Kind::watching:
        return QStringLiteral("eye");
    case Kind::frosted:
    case Kind::away:
        return QStringLiteral("eye.slash.fill");
    }
    return {};
}

const char* kindName(AppStatus::Kind kind) {
    switch (kind) {
    case AppStatus::Kind::paused:
        return "paused";
    case AppStatus::Kind::needsSetup:
        return "needsSetup";
    case AppStatus::Kind::permissionDenied:
        return "permissionDenied";
    case AppStatus::Kind::unsupported:
        return "unsupported";
    case AppStatus::Kind::off:
        return "off";
    case AppStatus::Kind::screenLocked:
        return "screenLocked";
    case AppStatus::Kind::waitingForAirPods:
        return "waitingForAirPods";
    case AppStatus::Kind::calibrating:
        return "calibrating";
    case AppStatus::Kind::watching:
        return "watching";
    case AppStatus::Kind::frosted:
        return "frosted";
    case AppStatus::Kind::away:
        return "away";
    }
    return "?";
}

} // namespace quelmo
