// SPDX-License-Identifier: MIT
#pragma once

#include "platform/install/install_location.h"

#include <functional>
#include <optional>
#include <string>

namespace quelmo {

// Offers, at launch, to move a Quelmo that runs from some download folder into
// the user's own install (~/.local), so it can start at login and keep its
// settings in one place. Nothing is remembered: the offer comes back at every
// launch from elsewhere until it is accepted.
namespace MoveToApplications {

// The offer's and the failure's words are the desktop's (app/platform_wording.h).

// Set in the environment of the moved copy: it waits for this process to end
// before it claims the single running instance.
inline constexpr const char* kWaitForPidVariable = "QUELMO_WAIT_FOR_PID";

// Shows the offer when it applies (blocking, modal) and carries out the move:
// old copies at the destination go to the trash, the programs and their data
// are copied, the new copy is started and `requestQuit` is posted to the main
// queue. A failure shows the failure alert and this copy keeps running.
void offerIfNeeded(const InstallLayout& layout, const std::function<void()>& requestQuit);

// The move itself, without any window: the error text, or nothing on success.
std::optional<std::string> move(const std::vector<CopyStep>& steps);

// In a moved copy: waits (at most `seconds`) for the process that started it.
void waitForPredecessor(double seconds = 5.0);

} // namespace MoveToApplications
} // namespace quelmo
