// SPDX-License-Identifier: MIT
#pragma once

#include <QKeyCombination>

#include <functional>
#include <memory>
#include <string>

namespace quelmo {

// One system-wide key chord whose presses run an action on the main (Qt) thread, whichever
// application is in front.
//
// The chord is grabbed on the root window of an X connection of its own, in every
// Caps Lock / NumLock / Scroll Lock combination. Each press runs the action once (holding
// the keys does not repeat it), later, from the Qt event loop, never inside the X event
// handling; a press already queued when the object goes away still runs its action.
// Destroying the object ungrabs the chord.
class GlobalHotKey {
  public:
    // Registers the chord: a letter or digit with any of Control, Shift, Alt and Meta,
    // which becomes Super (see platform/x11/key_chord_mapping.h). Returns nullptr, with
    // nothing left registered, when the chord is not supported, the action is empty,
    // there is no X display, another program holds the chord, or the caller is not on
    // the thread of a running QCoreApplication (the action could not reach it).
    static std::unique_ptr<GlobalHotKey> create(QKeyCombination chord,
                                                std::function<void()> action);
    // The same on the named X display ("" means $DISPLAY).
    static std::unique_ptr<GlobalHotKey> createOnDisplay(const std::string& displayName,
                                                         QKeyCombination chord,
                                                         std::function<void()> action);
    ~GlobalHotKey();

    GlobalHotKey(const GlobalHotKey&) = delete;
    GlobalHotKey& operator=(const GlobalHotKey&) = delete;

  private:
    struct Impl;
    explicit GlobalHotKey(std::unique_ptr<Impl> impl);

    std::unique_ptr<Impl> impl_;
};

} // namespace quelmo
