// SPDX-License-Identifier: MIT
#pragma once

#include <QString>

#include <cstdint>
#include <optional>

namespace quelmo::onboarding {

// The guide's pages, in order.
enum class Step { welcome = 0, permission = 1, tryIt = 2, done = 3 };
inline constexpr int kStepCount = 4;

// A raw value outside 0 to 3 gives no step.
std::optional<Step> stepFromRaw(int raw);

// "Step 2 of 4": what the page dots tell a screen reader.
QString stepLabel(Step step);

// Back exists on the permission and try-out pages only, and goes one page back.
bool hasBack(Step step);
Step previous(Step step);

// What the primary button of a page does when pressed.
enum class PrimaryAction {
    showPermission, // welcome: on to the permission page
    startTryIt,     // permission: note the frost count, on to the try-out
    showDone,       // try-out: on to the last page
    finish,         // done: the guide is completed, close it
};
PrimaryAction primaryAction(Step step);
QString primaryTitle(Step step, bool sawItWork);
// Continue on the permission page waits for motion access; every other
// primary button is always enabled.
bool primaryEnabled(Step step, const QString& authorization);

// The try-out worked: a frost came since it began and has cleared again.
bool sawItWork(std::int64_t frostCount, std::int64_t frostsAtStart, const QString& statusKind);

// What the try-out page shows.
enum class TryItContent {
    success, // "That's it"
    live,    // the gauge and the live angle
    waiting, // "Put your AirPods in"
};
TryItContent tryItContent(bool sawItWork, const QString& statusKind);

// The line under the try-out gauge: "Getting ready…" while calibrating,
// otherwise the rounded angle.
QString tryItReadout(const QString& statusKind, double liveAngle);

} // namespace quelmo::onboarding
