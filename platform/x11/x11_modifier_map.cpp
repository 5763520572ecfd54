// SPDX-License-Identifier: MIT
#include "platform/x11/x11_modifier_map.h"

namespace quelmo::x11 {
namespace {

// Calls visit(modifierIndex, keycode) for every key code in the server's modifier map.
template <typename Visit> void forEachModifierKey(Display* display, Visit visit) {
    XModifierKeymap* map = XGetModifierMapping(display);
    if (map == nullptr) {
        return;
    }
    for (int modifier = 0; modifier < 8; ++modifier) {
        for (int i = 0; i < map->max_keypermod; ++i) {
            const KeyCode keycode = map->modifiermap[modifier * map->max_keypermod + i];
            if (keycode != 0) {
                visit(modifier, keycode);
            }
        }
    }
    XFreeModifiermap(map);
}

} // namespace

KeycodeSet modifierKeycodes(Display* display) {
    KeycodeSet keycodes;
    forEachModifierKey(display, [&](int, KeyCode keycode) { keycodes.set(keycode); });
    return keycodes;
}

unsigned modifierMaskOf(Display* display, KeySym keysym) {
    const KeyCode wanted = XKeysymToKeycode(display, keysym);
    unsigned mask = 0;
    if (wanted != 0) {
        forEachModifierKey(display, [&](int modifier, KeyCode keycode) {
            if (keycode == wanted) {
                mask |= 1u << modifier;
            }
        });
    }
    return mask;
}

} // namespace quelmo::x11
