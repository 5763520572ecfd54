// SPDX-License-Identifier: MIT
#pragma once

#include <string>

struct wl_display;
struct zwlr_virtual_pointer_manager_v1;
struct zwlr_virtual_pointer_v1;

namespace quelmo::test {

// A pointer device made up through wlroots' virtual pointer protocol, the way
// remote-input tools move the mouse. Kept alive for a whole test: while it
// exists the seat has a pointer.
class VirtualPointer {
  public:
    explicit VirtualPointer(const std::string& socket);
    ~VirtualPointer();

    VirtualPointer(const VirtualPointer&) = delete;
    VirtualPointer& operator=(const VirtualPointer&) = delete;

    bool isReady() const { return pointer_ != nullptr; }
    // Moves the pointer by (dx, dy) and waits until the compositor has read it.
    bool move(double dx, double dy);

  private:
    wl_display* display_ = nullptr;
    zwlr_virtual_pointer_manager_v1* manager_ = nullptr;
    zwlr_virtual_pointer_v1* pointer_ = nullptr;
    unsigned time_ = 0;
};

} // namespace quelmo::test
