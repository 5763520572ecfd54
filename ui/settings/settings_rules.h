// SPDX-License-Identifier: MIT
#pragma once

#include <QString>

namespace quelmo::settings {

// The trigger slider covers 35 to 70 degrees and stores whole degrees only:
// the slider's value rounded to nearest, halves away from zero (42.5 gives 43).
inline constexpr double kTriggerMin = 35.0;
inline constexpr double kTriggerMax = 70.0;
double storedTriggerAngle(double sliderValue);

// "45°": the whole-degree part of the trigger angle, beside the slider.
QString triggerLabel(double triggerAngle);

// The line under the slider: below 43 sensitive, 43 up to 57 balanced, from
// 57 relaxed.
QString triggerDescription(double triggerAngle);

// Whether the live angle means something in this status (by the status
// case's name: calibrating, watching or frosted).
bool isLiveStatus(const QString& statusKind);

// The header's big angle: the rounded live angle in a live status, an em
// dash otherwise.
QString headerAngle(const QString& statusKind, double liveAngle);

// The header's one button, by status: "openPrivacySettings" when motion
// access is turned off, "finishSetup" before the permission was asked for,
// none ("") otherwise.
QString headerButton(const QString& statusKind);

// The footer's first line: "Quelmo " and the version, if there is one.
QString versionLine(const QString& version);

} // namespace quelmo::settings
