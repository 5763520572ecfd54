#include "ui/tray/tray_texts.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace quelmo {

QString trayAngleText(double degrees) {
    if (std::isnan(degrees)) {
        return {};
    }
    const double shown = std::min(std::fabs(degrees), 99.0);
    char digits[16];
    std::snprintf(digits, sizeof digits, " %2.0f", shown);
    return QString::fromLatin1(digits) + QChar(0x00B0);
}

bool statusShowsAngle(AppStatus::Kind kind) {
    return kind == AppStatus::Kind::watching || kind == AppStatus::Kind::calibrating ||
           kind == AppStatus::Kind::frosted;
}

QString detailLineText(AppStatus::Kind kind, double triggerAngle) {
    switch (kind) {
    case AppStatus::Kind::waitingForAirPods:
        return QStringLiteral("Put them in your ears and connect them to this Mac.");
    case AppStatus::Kind::watching: {
        char text[64];
        std::snprintf(text, sizeof text, "Frosts when you turn past %.0f", triggerAngle);
        return QString::fromLatin1(text) + QChar(0x00B0) + QLatin1Char('.');
    }
    case AppStatus::Kind::frosted:
        return QStringLiteral("Look back, or move the mouse for 3 seconds.");
    case AppStatus::Kind::away:
        return QStringLiteral("Touch the keyboard or mouse to see your screen.");
    default:
        return {};
    }
}

bool statusLooksDimmed(AppStatus::Kind kind) {
    return kind == AppStatus::Kind::off || kind == AppStatus::Kind::screenLocked;
}

bool statusAllowsRecenter(AppStatus::Kind kind) {
    return kind == AppStatus::Kind::watching || kind == AppStatus::Kind::calibrating ||
           kind == AppStatus::Kind::frosted || kind == AppStatus::Kind::away;
}

QString trayToolTip(const AppStatus& status) {
    return QStringLiteral("Quelmo: ") + status.title();
}

} // namespace quelmo
