// SPDX-License-Identifier: MIT
#pragma once

namespace quelmo {

// Whether a compositing manager runs on the X display Qt uses (it owns the
// _NET_WM_CM_S<screen> selection). Only then can a window be partly
// transparent, so only then does the frost fade. False on other platforms.
bool compositorRunning();

} // namespace quelmo
