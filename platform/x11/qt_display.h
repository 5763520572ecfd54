// SPDX-License-Identifier: MIT
#pragma once

struct _XDisplay;
struct xcb_connection_t;

namespace quelmo {

// The X display the app draws on, through Qt's xcb platform (Xlib and xcb
// views of one connection); null when the app does not draw on X11.
_XDisplay* qtX11Display();
xcb_connection_t* qtXcbConnection();

} // namespace quelmo
