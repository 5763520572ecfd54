// SPDX-License-Identifier: MIT
#pragma once

#include "platform/motion/motion_access.h"

#include <functional>
#include <optional>
#include <string>

namespace quelmo {

// Quelmo's own permission prompt ("Allow" / "Don't Allow"). Shown without
// blocking; answer is called later on the main thread with the choice, or
// with nothing if the window was closed without one (or no widget
// application is running, so nothing could be shown).
void askForMotionAccess(std::function<void(std::optional<bool>)> answer);

// The Motion Access settings window, where the user changes the answer.
// One window at a time: asking again raises it. onChanged is called on the
// main thread with the new status after each change written to the record.
// recordPath empty: the user's record (from the environment).
void openMotionAccessSettings(std::function<void(MotionAccess)> onChanged = {},
                              std::string recordPath = {});

} // namespace quelmo
