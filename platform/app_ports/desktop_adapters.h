#pragma once

// Thin adapters that give the app model the desktop's services through its
// ports: the Bluetooth signal reader, keyboard/mouse activity and the hot
// key on X11, the motion-access window, and the activity assertion.

#include "app/sensor_ports.h"
#include "app/system_ports.h"
#include "app/ui_ports.h"
#include "platform/motion/motion_access_ui.h"
#include "platform/signal/headphone_signal.h"
#include "platform/x11/global_hot_key.h"
#include "platform/x11/input_activity.h"

#include <memory>
#include <utility>

namespace quelmo {

class SignalReaderAdapter final : public SignalReaderPort {
  public:
    explicit SignalReaderAdapter(HeadphoneSignal& signal) : signal_(signal) {}
    void read(std::function<void(const SignalReadings&)> completion) override {
        signal_.read([completion = std::move(completion)](SignalReadings readings) {
            completion(readings);
        });
    }

  private:
    HeadphoneSignal& signal_;
};

class X11InputActivity final : public InputActivityPort {
  public:
    double secondsSinceLastEvent() override { return InputActivity::secondsSinceLastEvent(); }
};

class X11HotKeys final : public HotKeyPort {
  public:
    std::unique_ptr<HotKeyRegistration> registerHotKey(int keyCode, int modifiers,
                                                       std::function<void()> action) override {
        auto key = GlobalHotKey::create(keyCode, modifiers, std::move(action));
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

class MotionAccessSettings final : public PrivacySettingsPort {
  public:
    void openPrivacySettings() override { openMotionAccessSettings(); }
};

// Linux has no counterpart worth taking to the platform's "user-initiated
// activity" assertion: our timers run while the session is awake anyway, and
// idle sleep stays allowed. The token only marks that watching is on.
class NoActivityAssertion final : public ActivityAssertionPort {
  public:
    std::unique_ptr<ActivityToken> beginActivity(unsigned long long, const std::string&) override {
        return std::make_unique<ActivityToken>();
    }
};

} // namespace quelmo
