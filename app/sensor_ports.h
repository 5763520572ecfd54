// SPDX-License-Identifier: MIT
#pragma once

#include "core/privacy_guard.h"

#include <QKeyCombination>

#include <functional>
#include <memory>

namespace quelmo {

// Reads the Bluetooth signal strength of the connected headphones. The
// completion runs later, once, on the main thread, unless the request was
// dropped because another one was still running.
class SignalReaderPort {
  public:
    virtual ~SignalReaderPort() = default;
    virtual void read(std::function<void(const SignalReadings&)> completion) = 0;
};

// Seconds since the last keyboard or mouse event, in any application.
class InputActivityPort {
  public:
    virtual ~InputActivityPort() = default;
    virtual double secondsSinceLastEvent() const = 0;
};

// A registered system-wide hot key; destroying it unregisters the key.
class HotKeyRegistration {
  public:
    virtual ~HotKeyRegistration() = default;
};

// Registers system-wide hot keys, each a key with its modifiers in Qt's terms.
// Returns nothing when the key cannot be registered. The action runs later on
// the main thread.
class HotKeyPort {
  public:
    virtual ~HotKeyPort() = default;
    virtual std::unique_ptr<HotKeyRegistration> registerHotKey(QKeyCombination chord,
                                                               std::function<void()> action) = 0;
};

} // namespace quelmo
