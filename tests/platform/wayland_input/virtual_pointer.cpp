// SPDX-License-Identifier: MIT
#include "tests/platform/wayland_input/virtual_pointer.h"

#include "virtual-pointer-client.h"

#include <wayland-client.h>

#include <cstring>

namespace quelmo::test {

namespace {
void onGlobal(void* data, wl_registry* registry, uint32_t name, const char* interface, uint32_t) {
    if (std::strcmp(interface, zwlr_virtual_pointer_manager_v1_interface.name) == 0) {
        *static_cast<zwlr_virtual_pointer_manager_v1**>(data) =
            static_cast<zwlr_virtual_pointer_manager_v1*>(
                wl_registry_bind(registry, name, &zwlr_virtual_pointer_manager_v1_interface, 1));
    }
}
void onGlobalRemove(void*, wl_registry*, uint32_t) {}
const wl_registry_listener kListener = {onGlobal, onGlobalRemove};
} // namespace

VirtualPointer::VirtualPointer(const std::string& socket) {
    display_ = wl_display_connect(socket.c_str());
    if (display_ == nullptr) {
        return;
    }
    wl_registry* registry = wl_display_get_registry(display_);
    wl_registry_add_listener(registry, &kListener, &manager_);
    wl_display_roundtrip(display_);
    wl_registry_destroy(registry);
    if (manager_ != nullptr) {
        pointer_ = zwlr_virtual_pointer_manager_v1_create_virtual_pointer(manager_, nullptr);
        wl_display_roundtrip(display_);
    }
}

VirtualPointer::~VirtualPointer() {
    if (pointer_ != nullptr) {
        zwlr_virtual_pointer_v1_destroy(pointer_);
    }
    if (manager_ != nullptr) {
        zwlr_virtual_pointer_manager_v1_destroy(manager_);
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

} // namespace quelmo::test
