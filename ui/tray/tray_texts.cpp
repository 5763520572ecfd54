// SPDX-License-Identifier: MIT
#include "ui/tray/tray_texts.h"

#include "app/platform_wording.h"

#include <QCoreApplication>

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
        return wording::translated(wording::waitingForEarbudsDetail);
    case AppStatus::Kind::watching: {
        char whole[32];
        std::snprintf(whole, sizeof whole, "%.0f", triggerAngle);
        //: %1 is a whole number of degrees.
        return QCoreApplication::translate("TrayMenu", "Frosts when you turn past %1°.")
            .arg(QString::fromLatin1(whole));
    }
    case AppStatus::Kind::frosted:
        return QCoreApplication::translate("TrayMenu",
                                           "Look back, or move the mouse for 3 seconds.");
    case AppStatus::Kind::away:
        return QCoreApplication::translate("TrayMenu",
                                           "Touch the keyboard or mouse to see your screen.");
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
    //: The tray icon's tool tip; %1 is the status, for example "Quelmo is off".
    return QCoreApplication::translate("TrayMenu", "Quelmo: %1").arg(status.title());
}

namespace menu_titles {
QString finishSetup() {
    return QCoreApplication::translate("TrayMenu", "Finish Setup…");
}
QString openMotionAccessSettings() {
    return wording::translated(wording::openMotionAccessSettings);
}
QString turnOff() {
    return QCoreApplication::translate("TrayMenu", "Turn Quelmo Off");
}
QString turnOn() {
    return QCoreApplication::translate("TrayMenu", "Turn Quelmo On");
}
QString pause() {
    return QCoreApplication::translate("TrayMenu", "Pause for 30 Minutes");
}
QString resume() {
    return QCoreApplication::translate("TrayMenu", "Resume Now");
}
QString recenter() {
    return QCoreApplication::translate("TrayMenu", "I'm Facing the Screen");
}
QString settings() {
    return QCoreApplication::translate("TrayMenu", "Settings…");
}
QString guide() {
    return QCoreApplication::translate("TrayMenu", "Welcome Guide…");
}
QString about() {
    return QCoreApplication::translate("TrayMenu", "About Quelmo");
}
QString quit() {
    return QCoreApplication::translate("TrayMenu", "Quit Quelmo");
}
} // namespace menu_titles

} // namespace quelmo
