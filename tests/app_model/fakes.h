// SPDX-License-Identifier: MIT
#pragma once

#include "app/app_model.h"
#include "app/preference_store.h"
#include "app/preferences.h"
#include "app/test_motion.h"
#include "tests/support/virtual_scheduler.h"

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace quelmo {

// Reaches the model's private state.
class AppModelTestAccess {
  public:
    static bool tickRunning(const AppModel& m) { return m.pacing_.isTicking(); }
};

} // namespace quelmo

namespace quelmo::testing {

struct FakeTracker : HeadTrackerPort {
    bool available = true;
    bool running = false;
    HeadTrackerHandlers handlers;
    MotionAccess access = MotionAccess::authorized;
    int starts = 0;
    int stops = 0;

    void start() override {
        if (!running && available) {
            running = true;
            ++starts;
        }
    }
    void stop() override {
        if (running) {
            running = false;
            ++stops;
        }
    }
    bool isRunning() const override { return running; }
    bool isDeviceMotionAvailable() const override { return available; }
    MotionAccess motionAccess() const override { return access; }
    void observe(HeadTrackerHandlers h) override { handlers = std::move(h); }

    // What the motion service would report.
    void onConnectionChange(bool connected) {
        if (handlers.connectionChange) {
            handlers.connectionChange(connected);
        }
    }
    void onError(const std::string& text) {
        if (handlers.error) {
            handlers.error(text);
        }
    }
    // The user answered the permission prompt (or closed it).
    void answerPrompt() {
        if (handlers.accessAnswered) {
            handlers.accessAnswered();
        }
    }
    void onSourceChange(const std::string& name) {
        if (handlers.sourceChange) {
            handlers.sourceChange(name);
        }
    }

    // What the headphones would deliver while the tracker runs, arriving
    // now: held when the published preview admits it, as the motion service
    // does; otherwise handed over at once with everything held before it.
    void deliver(double heading, double vertical = 0.0) {
        if (!running || !handlers.motion) {
            return;
        }
        const double at = clock->uptime();
        if (preview && preview->admits(heading, vertical, at)) {
            held.push_back({heading, vertical, at});
            return;
        }
        preview.reset();
        ++wakes;
        takeHeldSamples();
        handlers.motion(heading, vertical, at);
        if (handlers.samplesDelivered) {
            handlers.samplesDelivered();
        }
    }

    struct Sample {
        double heading, vertical, at;
    };
    const Scheduler* clock = nullptr;
    std::optional<DecisionPreview> preview;
    std::vector<Sample> held;
    int wakes = 0; // samples that were handed over on arrival
    void holdQuietSamples(const std::optional<DecisionPreview>& p) override {
        preview = running && held.empty() ? p : std::nullopt;
    }
    void takeHeldSamples() override {
        preview.reset();
        const std::vector<Sample> out = std::move(held);
        held.clear();
        for (const Sample& s : out) {
            if (running && handlers.motion) {
                handlers.motion(s.heading, s.vertical, s.at);
            }
        }
    }
};

struct FakeSignalReader : SignalReaderPort {
    std::vector<std::function<void(const SignalReadings&)>> pending;
    int requests = 0;
    void read(std::function<void(const SignalReadings&)> completion) override {
        ++requests;
        if (pending.empty()) { // single flight, as the real reader
            pending.push_back(std::move(completion));
        }
    }
    bool answer(const SignalReadings& readings) {
        if (pending.empty()) {
            return false;
        }
        auto completion = std::move(pending.front());
        pending.clear();
        completion(readings);
        return true;
    }
};

struct FakeInput : InputActivityPort {
    const Scheduler* clock = nullptr;
    double lastEvent = -1e6;      // uptime of the last event
    std::function<void()> onRead; // told of every reading
    double secondsSinceLastEvent() const override {
        if (onRead) {
            onRead();
        }
        return clock->uptime() - lastEvent;
    }
    void touch() { lastEvent = clock->uptime(); }
};

struct FakeHotKeys : HotKeyPort {
    struct Registration : HotKeyRegistration {
        FakeHotKeys* owner;
        explicit Registration(FakeHotKeys* o) : owner(o) {}
        ~Registration() override { owner->action = nullptr; }
    };
    bool refuse = false;
    QKeyCombination chord;
    std::function<void()> action;
    std::unique_ptr<HotKeyRegistration> registerHotKey(QKeyCombination c,
                                                       std::function<void()> a) override {
        if (refuse) {
            return nullptr;
        }
        chord = c;
        action = std::move(a);
        return std::make_unique<Registration>(this);
    }
};

struct RecordingLog : LogPort {
    bool opened = false;
    std::vector<std::string> lines; // "--- start" marks each opening
    void open() override {
        if (!opened) {
            opened = true;
            lines.push_back("--- start");
            stamps.push_back(clock ? clock->uptime() : 0.0);
        }
    }
    void close() override { opened = false; }
    void write(std::string_view message) override { write(message, 0.0); }
    void write(std::string_view message, double secondsAgo) override {
        if (opened) {
            lines.emplace_back(message);
            stamps.push_back(clock ? clock->uptime() - secondsAgo : 0.0);
        }
    }
    const Scheduler* clock = nullptr;
    std::vector<double> stamps; // each line's time on the clock (0 without one)
    bool isOpen() const override { return opened; }

    std::vector<std::string> matching(std::string_view prefix) const {
        std::vector<std::string> out;
        for (const auto& l : lines) {
            if (std::string_view(l).starts_with(prefix)) {
                out.push_back(l);
            }
        }
        return out;
    }
    // Lines other than the periodic ones, in order.
    std::vector<std::string> events() const {
        std::vector<std::string> out;
        for (const auto& l : lines) {
            if (!std::string_view(l).starts_with("angle ")) {
                out.push_back(l);
            }
        }
        return out;
    }
};

struct RecordingWatchdog : WatchdogPort {
    int beats = 0;
    bool frosted = false;
    void beat() override { ++beats; }
    void setFrosted(bool f) override {
        frosted = f;
        ++beats;
    }
};

struct FakeOverlay : OverlayPort {
    bool frosted = false;
    bool away = false;
    int setFrostCalls = 0;
    int previews = 0;
    double strength = -1.0;
    void setFrost(bool f, bool a) override {
        frosted = f;
        if (f) {
            away = a;
        }
        ++setFrostCalls;
    }
    void preview(double) override { ++previews; }
    void setStrength(double s) override { strength = s; }
};

struct FakeWindows : WindowsPort {
    int settings = 0;
    int onboarding = 0;
    void showSettings() override { ++settings; }
    void showOnboarding() override { ++onboarding; }
};

struct FakePrivacySettings : PrivacySettingsPort {
    int opened = 0;
    std::function<void()> changed;
    void openPrivacySettings(std::function<void()> c) override {
        ++opened;
        changed = std::move(c);
    }
};

struct FakeSystemEvents : SystemEventsPort {
    SystemEventHandlers handlers;
    void observe(SystemEventHandlers h) override { handlers = std::move(h); }
};

struct FakeCommands : CommandChannelPort {
    std::function<void(const std::string&)> handler;
    void listen(std::function<void(const std::string&)> h) override { handler = std::move(h); }
    void send(const std::string& word) {
        if (handler) {
            handler(word);
        }
    }
};

// A model with fakes for every port, in virtual time. Preferences can be set
// in `store` before start() makes the model.
struct ModelRig {
    VirtualScheduler scheduler;
    MemoryPreferenceStore store;
    std::unique_ptr<Preferences> prefs;
    FakeTracker tracker;
    FakeSignalReader signal;
    FakeInput input;
    FakeHotKeys hotKeys;
    RecordingLog log;
    RecordingWatchdog watchdog;
    FakeOverlay overlay;
    FakeWindows windows;
    FakePrivacySettings privacy;
    FakeSystemEvents system;
    FakeCommands commands;
    // The windows port the model gets: the fake above unless a rig sets another.
    WindowsPort* windowsPort = nullptr;
    NoTestHooks noHooks;
    // Set before start(): the model gets the test hooks, and through them the
    // fakes above (the test words work).
    bool withTestHooks = false;
    std::unique_ptr<TestMotion> hooks;
    std::unique_ptr<AppModel> model;

    ModelRig() {
        input.clock = &scheduler;
        tracker.clock = &scheduler;
        log.clock = &scheduler;
        store.set("diagnostics", "true");
        store.set("onboardingDone", "true");
    }

    AppModel& start() {
        prefs = std::make_unique<Preferences>(store);
        if (withTestHooks) {
            hooks = std::make_unique<TestMotion>(scheduler, tracker, signal, input);
        }
        model = std::make_unique<AppModel>(
            *prefs,
            AppModelPorts{scheduler, hooks ? hooks->tracker() : tracker,
                          hooks ? hooks->signal() : signal, hooks ? hooks->input() : input, hotKeys,
                          log, watchdog, overlay, windowsPort ? *windowsPort : windows, privacy,
                          system, commands, hooks ? static_cast<TestHooksPort&>(*hooks) : noHooks});
        return *model;
    }

    AppStatus::Kind status() const { return model->status().kind(); }

    // Head samples every 0.02 s for `seconds`, at `heading`.
    void samples(double heading, double seconds, double vertical = 0.0) {
        const int n = static_cast<int>(seconds / 0.02 + 0.5);
        for (int i = 0; i < n; ++i) {
            tracker.deliver(heading, vertical);
            scheduler.advance(0.02);
        }
    }
    // Facing the screen through the warm-up, then turned away to 80° for a
    // second: the screen is frosted by the turn.
    void frostByTurning() {
        samples(0.0, 3.5);
        turn(0.0, 80.0);
        samples(80.0, 1.0);
    }
    // Facing the screen through the warm-up, typing at its end: the first
    // signal reading (the poll went out with the first tick) answers `dbm`
    // while the user has just typed, so it is learned as the at-desk level.
    // False when no reading was asked for.
    bool learnDeskSignal(double dbm) {
        samples(0.0, 3.0);
        input.touch();
        samples(0.0, 0.5);
        return signal.answer({{"AA", dbm}});
    }
    // A smooth turn to `to` over `seconds`, from `from`.
    void turn(double from, double to, double seconds = 0.5) {
        const int n = static_cast<int>(seconds / 0.02 + 0.5);
        for (int i = 1; i <= n; ++i) {
            tracker.deliver(from + (to - from) * i / n);
            scheduler.advance(0.02);
        }
    }
};

} // namespace quelmo::testing
