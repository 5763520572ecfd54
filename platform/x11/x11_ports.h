// SPDX-License-Identifier: MIT
#pragma once

// The app model's keyboard/mouse activity and hot key ports on X11.

#include "app/sensor_ports.h"
#include "platform/x11/global_hot_key.h"
#include "platform/x11/input_activity.h"

#include <memory>
#include <utility>

namespace quelmo {

class X11InputActivity final : public InputActivityPort {
  public:
    double secondsSinceLastEvent() const override { return InputActivity::secondsSinceLastEvent(); }
};

class X11HotKeys final : public HotKeyPort {
  public:
    std::unique_ptr<HotKeyRegistration> registerHotKey(QKeyCombination chord,
                                                       std::function<void()> action) override {
        auto key = GlobalHotKey::create(chord, std::move(action));
        if (!key) {
            return nullptr;
        }
        return std::make_unique<Registration>(std::move(key));
    }

  private:
    struct Registration final : HotKeyRegistration {
        explicit Registration(std::unique_ptr<GlobalHotKey> k) : key(std::move(k)) {}
        std::unique_ptr<GlobalHotKey> key;
    };
};

} // namespace quelmo
