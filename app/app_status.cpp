#include "app/app_status.h"

#include <QDateTime>

namespace quelmo {

QString AppStatus::title(const QLocale& locale) const {
    switch (kind_) {
    case Kind::paused: {
        const auto ms =
            std::chrono::floor<std::chrono::milliseconds>(until_.time_since_epoch()).count();
        const QDateTime local = QDateTime::fromMSecsSinceEpoch(ms);
        return QStringLiteral("Paused until ") +
               locale.toString(local.time(), QLocale::ShortFormat);
    }
    case Kind::needsSetup:
        return QStringLiteral("Finish setup to start");
    case Kind::permissionDenied:
        return QStringLiteral("Motion access is turned off");
    case Kind::unsupported:
        return QStringLiteral("Head tracking isn't available on this Mac");
    case Kind::off:
        return QStringLiteral("Quelmo is off");
    case Kind::screenLocked:
        return QStringLiteral("Resting while the screen is locked");
    case Kind::waitingForAirPods:
        return QStringLiteral("Waiting for your AirPods");
    case Kind::calibrating:
        return QStringLiteral("Getting ready\u2026");
    case Kind::watching:
        return QStringLiteral("Watching. Turn away and it frosts.");
    case Kind::frosted:
        return QStringLiteral("Frosted. You're turned away.");
    case Kind::away:
        return QStringLiteral("Frosted. You stepped away.");
    }
    return {};
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
