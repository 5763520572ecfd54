// SPDX-License-Identifier: MIT
#pragma once

class QQmlEngine;

namespace quelmo {

// Readies an engine for Quelmo's views: registers the C++ helpers (once per
// process) under "Quelmo.Native" and makes the views' own modules
// (Quelmo.Controls, Quelmo.Gauge, Quelmo.Settings, Quelmo.Onboarding),
// which live in the resources, importable.
void prepareQmlEngine(QQmlEngine& engine);

} // namespace quelmo
