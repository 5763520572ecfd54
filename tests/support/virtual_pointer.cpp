// SPDX-License-Identifier: MIT
#include "tests/support/virtual_pointer.h"

#include "wlr-virtual-pointer-unstable-v1-client.h"

#include <wayland-client.h>

#include <linux/input-event-codes.h>

#include <cstring>

namespace quelmo::test {

namespace {

struct Globals {
    wl_seat* seat = nullptr;
    zwlr_virtual_pointer_manager_v1* manager = nullptr;
};

void onGlobal(void* data, wl_registry* registry, uint32_t name, const char* interface, uint32_t) {
    auto* globals = static_cast<Globals*>(data);
    if (std::strcmp(interface, wl_seat_interface.name) == 0 && globals->seat == nullptr) {
        globals->seat =
            static_cast<wl_seat*>(wl_registry_bind(registry, name, &wl_seat_interface, 1));
    } else if (std::strcmp(interface, zwlr_virtual_pointer_manager_v1_interface.name) == 0) {
        globals->manager = static_cast<zwlr_virtual_pointer_manager_v1*>(
            wl_registry_bind(registry, name, &zwlr_virtual_pointer_manager_v1_interface, 1));
    }
}

void onGlobalRemove(void*, wl_registry*, uint32_t) {}

} // namespace

VirtualPointer::VirtualPointer(const char* socket) {
    display_ = wl_display_connect(socket);
    if (display_ == nullptr) {
        return;
    }
    Globals globals;
    static const wl_registry_listener listener = {onGlobal, onGlobalRemove};
    wl_registry* registry = wl_display_get_registry(display_);
    wl_registry_add_listener(registry, &listener, &globals);
    wl_display_roundtrip(display_);
    wl_registry_destroy(registry);
    seat_ = globals.seat;
    manager_ = globals.manager;
    if (manager_ == nullptr) {
        return;
    }
    pointer_ = zwlr_virtual_pointer_manager_v1_create_virtual_pointer(manager_, seat_);
    wl_display_roundtrip(display_);
}

VirtualPointer::~VirtualPointer() {
    if (pointer_ != nullptr) {
        zwlr_virtual_pointer_v1_destroy(pointer_);
    }
    if (manager_ != nullptr) {
        zwlr_virtual_pointer_manager_v1_destroy(manager_);
    }
    if (seat_ != nullptr) {
        wl_seat_destroy(seat_);
    }
    if (display_ != nullptr) {
        wl_display_roundtrip(display_);
        wl_display_disconnect(display_);
    }
}

bool VirtualPointer::move(double dx, double dy) {
    if (pointer_ == nullptr) {
        return false;
    }
    time_ += 16;
    zwlr_virtual_pointer_v1_motion(pointer_, time_, wl_fixed_from_double(dx),
                                   wl_fixed_from_double(dy));
    zwlr_virtual_pointer_v1_frame(pointer_);
    return wl_display_roundtrip(display_) >= 0;
}

bool VirtualPointer::click(int x, int y, int width, int height) {
    if (pointer_ == nullptr) {
        return false;
    }
    time_ += 16;
    zwlr_virtual_pointer_v1_motion_absolute(pointer_, time_, static_cast<uint32_t>(x),
                                            static_cast<uint32_t>(y), static_cast<uint32_t>(width),
                                            static_cast<uint32_t>(height));
    zwlr_virtual_pointer_v1_frame(pointer_);
    zwlr_virtual_pointer_v1_button(pointer_, ++time_, BTN_LEFT, WL_POINTER_BUTTON_STATE_PRESSED);
    zwlr_virtual_pointer_v1_frame(pointer_);
    zwlr_virtual_pointer_v1_button(pointer_, ++time_, BTN_LEFT, WL_POINTER_BUTTON_STATE_RELEASED);
    zwlr_virtual_pointer_v1_frame(pointer_);
    return wl_display_roundtrip(display_) >= 0;
}

} // namespace quelmo::test
