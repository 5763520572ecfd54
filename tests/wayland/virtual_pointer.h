// SPDX-License-Identifier: MIT
#pragma once

#include <QSize>

struct wl_display;
struct wl_seat;
struct zwlr_virtual_pointer_manager_v1;
struct zwlr_virtual_pointer_v1;

namespace quelmo::test {

// A pointer device made through wlroots' virtual-pointer protocol, on a
// connection of its own. It stays for the object's life, so the seat keeps
// a pointer (without one, sway sends clicks nowhere).
class VirtualPointer {
  public:
    // Connects to $WAYLAND_DISPLAY; isValid() tells whether it worked.
    VirtualPointer();
    ~VirtualPointer();
    bool isValid() const { return pointer_ != nullptr; }
    // Moves to (x, y) of a layout `extent` large and clicks the left button.
    bool click(int x, int y, QSize extent);

  private:
    wl_display* display_ = nullptr;
    wl_seat* seat_ = nullptr;
    zwlr_virtual_pointer_manager_v1* manager_ = nullptr;
    zwlr_virtual_pointer_v1* pointer_ = nullptr;
};

} // namespace quelmo::test
