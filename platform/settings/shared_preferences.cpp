// SPDX-License-Identifier: MIT
#include "platform/settings/shared_preferences.h"

#include "platform/settings/qsettings_preference_store.h"

namespace quelmo {

Preferences& sharedPreferences() {
    // Never destroyed: the preferences live as long as the process, and
    // nothing is torn down at quit.
    static auto* store = new QSettingsPreferenceStore();
    static auto* preferences = new Preferences(*store);
    return *preferences;
}

} // namespace quelmo
