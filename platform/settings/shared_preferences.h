// SPDX-License-Identifier: MIT
#pragma once

#include "app/preferences.h"

namespace quelmo {

// The single Preferences instance of the app, on the user's QSettings
// store (QSettingsPreferenceStore), made on first use and kept for the life of
// the process. main passes it to the app model; tests make their own
// Preferences on a MemoryPreferenceStore instead.
Preferences& sharedPreferences();

} // namespace quelmo
