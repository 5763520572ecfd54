// SPDX-License-Identifier: MIT
#pragma once

struct wl_display;
struct wl_seat;
struct zwlr_virtual_pointer_manager_v1;
struct zwlr_virtual_pointer_v1;

namespace quelmo::test {

// A pointer device made through wlroots' virtual-pointer protocol on a
// connection of its own, the way remote-input tools move the mouse. It stays
// for the object's life, so the seat keeps a pointer (without one, sway sends
// clicks nowhere).
class VirtualPointer {
  public:
    // Connects to the compositor at `socket`, or at $WAYLAND_DISPLAY when it
    // is null; isValid() tells whether it worked.
    explicit VirtualPointer(const char* socket = nullptr);
    ~VirtualPointer();
    VirtualPointer(const VirtualPointer&) = delete;
    VirtualPointer& operator=(const VirtualPointer&) = delete;

    bool isValid() const { return pointer_ != nullptr; }
    // Moves the pointer by (dx, dy); returns once the compositor has read it.
    bool move(double dx, double dy);
    // Moves to (x, y) of a layout width x height large and clicks the left
    // button; returns once the compositor has read it.
    bool click(int x, int y, int width, int height);

  private:
    wl_display* display_ = nullptr;
    wl_seat* seat_ = nullptr;
    zwlr_virtual_pointer_manager_v1* manager_ = nullptr;
    zwlr_virtual_pointer_v1* pointer_ = nullptr;
    unsigned time_ = 0;
};

} // namespace quelmo::test
