// SPDX-License-Identifier: MIT
#pragma once

#include "app/app_status.h"

#include <QString>

namespace quelmo {

// The angle shown beside the tray icon: the head angle made non-negative,
// capped at 99 and formatted " %2.0f°" (a space, two right-aligned digits,
// a degree sign), so " 5°" reads "  5°". Empty for a value that is not a
// number.
QString trayAngleText(double degrees);

// Whether the tray shows the angle at all in this status (when the user
// asked for it): only while head data is live and the screen is not away.
bool statusShowsAngle(AppStatus::Kind kind);

// The second line of the menu for a status; empty for the statuses that
// have none. `triggerAngle` is the preference, in degrees.
QString detailLineText(AppStatus::Kind kind, double triggerAngle);

// Whether the tray icon looks dimmed in this status.
bool statusLooksDimmed(AppStatus::Kind kind);

// Whether "I'm Facing the Screen" makes sense in this status.
bool statusAllowsRecenter(AppStatus::Kind kind);

// Menu titles, in the user's language.
namespace menu_titles {
QString finishSetup();
QString openMotionAccessSettings();
QString turnOff();
QString turnOn();
QString pause();
QString resume();
QString recenter();
QString settings();
QString guide();
QString about();
QString quit();
} // namespace menu_titles

// "Quelmo: " and the status's title: the tool tip and the icon's description.
QString trayToolTip(const AppStatus& status);

} // namespace quelmo
