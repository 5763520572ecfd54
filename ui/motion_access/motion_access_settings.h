// SPDX-License-Identifier: MIT
#pragma once

#include "app/ui_ports.h"
#include "ui/motion_access/motion_access_ui.h"

namespace quelmo {

// "Open Privacy Settings": Quelmo's own Motion Access window.
class MotionAccessSettings final : public PrivacySettingsPort {
  public:
    void openPrivacySettings(std::function<void()> changed) override {
        openMotionAccessSettings([changed = std::move(changed)](MotionAccess) { changed(); });
    }
};

} // namespace quelmo
