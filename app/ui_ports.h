// SPDX-License-Identifier: MIT
#pragma once

#include <functional>

namespace quelmo {

// The frost windows, as the app model drives them.
class OverlayPort {
  public:
    virtual ~OverlayPort() = default;
    // The frost is wanted (with the away wording when `away`) or not.
    virtual void setFrost(bool frosted, bool away) = 0;
    // Shows the frost for a while unless it is wanted anyway.
    virtual void preview(double seconds) = 0;
    // Density of the tint, 0 to 1; the windows are rebuilt only on a change.
    virtual void setStrength(double strength) = 0;
};

// The settings window and the welcome guide.
class WindowsPort {
  public:
    virtual ~WindowsPort() = default;
    virtual void showSettings() = 0;
    // The guide, at its first page.
    virtual void showOnboarding() = 0;
};

// Where the user changes the motion permission.
class PrivacySettingsPort {
  public:
    virtual ~PrivacySettingsPort() = default;
    // `changed` runs on the main thread after each change made there.
    virtual void openPrivacySettings(std::function<void()> changed) = 0;
};

} // namespace quelmo
