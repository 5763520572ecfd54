// SPDX-License-Identifier: MIT
#pragma once

#include <QString>

namespace quelmo {

// What the user must know when this session offers no way to cover the
// screen (no layer shell, no X server): said once at launch, then shown in
// the tray's tool tip and the settings header for as long as Quelmo runs.
// Empty while the frost can cover the screen. Main thread only.
QString frostCoverageProblem();
void setFrostCoverageProblem(const QString& text);

// The wording used when no way to cover the screen exists.
QString noCoverageText();

} // namespace quelmo
