// SPDX-License-Identifier: MIT
#pragma once

#include "app/app_status.h"
#include "app/head_tracker_port.h"
#include "app/log_port.h"
#include "app/periodic_line.h"
#include "app/preferences.h"
#include "app/sample_pacing.h"
#include "app/sample_rate.h"
#include "app/scheduler.h"
#include "app/sensor_ports.h"
#include "app/system_ports.h"
#include "app/test_hooks_port.h"
#include "app/ui_ports.h"
#include "app/watchdog_port.h"
#include "core/privacy_guard.h"

#include <QObject>
#include <QString>

#include <chrono>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

namespace quelmo {

// Everything the app model reaches the world through. The model keeps
// references; every port must outlive it.
struct AppModelPorts {
    Scheduler& scheduler;
    HeadTrackerPort& tracker;
    SignalReaderPort& signal;
    InputActivityPort& input;
    HotKeyPort& hotKeys;
    LogPort& log;
    WatchdogPort& watchdog;
    OverlayPort& overlay;
    WindowsPort& windows;
    PrivacySettingsPort& privacySettings;
    SystemEventsPort& systemEvents;
    CommandChannelPort& commands;
    // The command words the model does not know itself go here.
    TestHooksPort& testHooks;
};

// The application's controller: feeds head samples, keyboard/mouse readings
// and Bluetooth readings into the privacy guard, shows and hides the frost,
// decides whether head tracking runs, derives and publishes the status, and
// reacts to pause, screen lock, sleep, the permission request and commands.
// Main thread only. Time comes from the scheduler port only.
class AppModel : public QObject {
    Q_OBJECT
    Q_PROPERTY(QString statusTitle READ statusTitle NOTIFY statusChanged)
    Q_PROPERTY(QString statusSymbol READ statusSymbol NOTIFY statusChanged)
    Q_PROPERTY(QString statusKind READ statusKind NOTIFY statusChanged)
    Q_PROPERTY(double liveAngle READ liveAngle NOTIFY liveAngleChanged)
    Q_PROPERTY(qint64 frostCount READ frostCount NOTIFY frostCountChanged)
    Q_PROPERTY(QString authorization READ authorizationName NOTIFY authorizationChanged)
    Q_PROPERTY(int liveDisplays READ liveDisplays WRITE setLiveDisplays NOTIFY liveDisplaysChanged)
    Q_PROPERTY(bool isPaused READ isPaused NOTIFY statusChanged)
    Q_PROPERTY(QString motionSource READ motionSource NOTIFY motionSourceChanged)
    Q_PROPERTY(int motionRate READ motionRate NOTIFY motionSourceChanged)
    Q_PROPERTY(QString motionProblem READ motionProblem NOTIFY motionSourceChanged)
    Q_PROPERTY(QString motionDevice READ motionDevice NOTIFY motionSourceChanged)
    Q_PROPERTY(bool measuresSteps READ measuresSteps NOTIFY motionSourceChanged)
    Q_PROPERTY(QString motionFix READ motionFix NOTIFY motionSourceChanged)

  public:
    AppModel(Preferences& prefs, AppModelPorts ports, QObject* parent = nullptr);
    ~AppModel() override;

    // The values announced by the signals below: C++ observers connect to
    // them, QML binds to the Qt properties above.
    const AppStatus& status() const { return status_; }
    double liveAngle() const { return liveAngle_; }
    std::int64_t frostCount() const { return frostCount_; }
    MotionAccess authorization() const { return authorization_; }

    QString statusTitle() const { return status().title(); }
    QString statusSymbol() const { return status().symbolName(); }
    QString statusKind() const { return QString::fromLatin1(kindName(status().kind())); }
    QString authorizationName() const {
        return QString::fromLatin1(motionAccessName(authorization()));
    }

    // Where head motion comes from, for the user ("AirPods Pro 2
    // (Bluetooth)"); empty until a source has sent.
    QString motionSource() const { return motionSource_; }
    // Samples a second from it, over the last two seconds or so.
    int motionRate() const { return sampleRate_.perSecond(); }
    // Why head motion does not come, when the source can tell
    // (motionProblemKey), and the headphones it is about.
    QString motionProblem() const { return QString::fromLatin1(motionProblemKey(motionProblem_)); }
    QString motionDevice() const { return motionDevice_; }
    // A command that mends motionProblem, when there is one.
    QString motionFix() const { return motionFix_; }
    // Whether the source of head motion measures acceleration: without it no
    // step is felt, and leaving is noticed by the signal strength alone.
    bool measuresSteps() const { return measuresSteps_; }

    Preferences& prefs() const { return prefs_; }
    PrivacyGuard& guardian() { return guardian_; }
    const PrivacyGuard& guardian() const { return guardian_; }
    HeadTrackerPort& tracker() const { return ports_.tracker; }
    OverlayPort& overlay() const { return ports_.overlay; }
    LogPort& log() const { return ports_.log; }
    const std::optional<std::chrono::system_clock::time_point>& pausedUntil() const {
        return pausedUntil_;
    }
    // Paused now: a pause whose end lies in the future.
    bool isPaused() const;
    bool hasHotKey() const { return hotKey_ != nullptr; }

    // Live-angle gauges on screen; when none is left and the menu bar does not
    // show the angle, the angle goes back to 0.
    int liveDisplays() const { return liveDisplays_; }
    void setLiveDisplays(int count);

    Q_INVOKABLE void evaluate();
    Q_INVOKABLE void refreshStatus();
    Q_INVOKABLE void hardStop();
    Q_INVOKABLE void recenterManually();
    Q_INVOKABLE void pause(double seconds);
    Q_INVOKABLE void resume();
    Q_INVOKABLE void requestMotionAccess();
    Q_INVOKABLE void openPrivacySettings();
    Q_INVOKABLE void previewFrost();
    void handle(const std::string& command);

  signals:
    // Emitted after the value is stored, so a receiver reads it from the
    // model. The angle and the authorization are announced each time they
    // are published, even when they stay the same.
    void statusChanged();
    void liveAngleChanged(double angle);
    void frostCountChanged(qint64 count);
    void authorizationChanged();
    void liveDisplaysChanged(int count);
    void motionSourceChanged();

  private:
    using GuardChange = SamplePacing::GuardChange;
    // A callback that calls `f` with the model while it exists.
    template <typename F> auto whileAlive(F f);
    // Takes the preferences as they are now and follows their changes.
    void followPreferences();
    void applyGuardSettings();
    void openLogIf(bool diagnostics);
    void observeTracker();
    void observeSystem();
    void onFrostChange(bool frosted);
    void onSample(double heading, double vertical, double at);
    // Whether something wants every sample handled as it comes.
    bool wantsEverySample() const;
    void onConnectionChange(bool connected);
    void onSourceChange(const std::string& name);
    void onMotionProblem(MotionProblem problem, const std::string& device);
    void onMotionError(const std::string& text);
    void startTick();
    void runTick();
    void onSignalReading(const SignalReadings& readings);
    void signalLost();
    void publishStatus(const AppStatus& status);
    void publishLiveAngle(double angle);
    void publishAuthorization(MotionAccess authorization);
    void write(std::string_view line);
    double uptime() const { return ports_.scheduler.uptime(); }

    Preferences& prefs_;
    AppModelPorts ports_;
    PrivacyGuard guardian_;
    SamplePacing pacing_;
    AppStatus status_ = AppStatus::needsSetup();
    double liveAngle_ = 0.0;
    std::int64_t frostCount_ = 0;
    MotionAccess authorization_ = MotionAccess::notDetermined;
    int liveDisplays_ = 0;
    QString motionSource_;
    SampleRate sampleRate_;
    MotionProblem motionProblem_ = MotionProblem::none;
    QString motionDevice_;
    bool measuresSteps_ = true;
    QString motionFix_;
    std::optional<std::chrono::system_clock::time_point> pausedUntil_;
    TimerHandle pauseTimer_;
    // When the tick last ran.
    std::optional<double> lastTickAt_;
    bool screenAsleep_ = false;
    bool screenLocked_ = false;
    double lastAnglePublish_ = 0.0;
    PeriodicLine periodicLine_;
    std::unique_ptr<HotKeyRegistration> hotKey_;
    double lastSignalPoll_ = 0.0;
    SignalReadings lastSignal_;
    // Lets callbacks that may outlive the model (timers, ports, deferred
    // work) find out that it is gone.
    std::shared_ptr<AppModel*> self_;

    friend class AppModelTestAccess;
};

template <typename F> auto AppModel::whileAlive(F f) {
    return [weak = std::weak_ptr<AppModel*>(self_), f](auto&&... args) {
        if (auto self = weak.lock()) {
            f(**self, std::forward<decltype(args)>(args)...);
        }
    };
}

} // namespace quelmo
