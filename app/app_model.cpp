// SPDX-License-Identifier: MIT
#include "app/app_model.h"

#include "app/hot_key_binding.h"
#include "app/status_derivation.h"
#include "core/number_text.h"
#include "core/usable_number.h"

#include <algorithm>

namespace quelmo {

namespace {

constexpr double kGaugeInterval = 0.1;
constexpr double kMenuBarInterval = 0.25;

} // namespace

AppModel::AppModel(Preferences& prefs, AppModelPorts ports, QObject* parent)
    : QObject(parent), prefs_(prefs), ports_(ports),
      pacing_(
          ports.scheduler, ports.tracker, guardian_, [this] { runTick(); },
          [this] { return wantsEverySample(); }),
      self_(std::make_shared<AppModel*>(this)) {
    authorization_ = ports_.tracker.motionAccess();
    guardian_.onFrostChange =
        whileAlive([](AppModel& m, bool frosted) { m.onFrostChange(frosted); });
    observeTracker();
    followPreferences();
    observeSystem();
    hotKey_ = ports_.hotKeys.registerHotKey(kRecenterKey,
                                            whileAlive([](AppModel& m) { m.recenterManually(); }));
    write(std::string("launched; motion authorization ") + motionAccessName(authorization_));
    evaluate();
}

AppModel::~AppModel() {
    self_.reset();
    guardian_.onFrostChange = nullptr;
    ports_.tracker.holdQuietSamples(std::nullopt);
    ports_.tracker.observe({});
}

// --- Announced values --------------------------------------------------------

void AppModel::publishStatus(const AppStatus& status) {
    status_ = status;
    emit statusChanged();
}

void AppModel::publishLiveAngle(double angle) {
    liveAngle_ = angle;
    emit liveAngleChanged(angle);
}

void AppModel::publishAuthorization(MotionAccess authorization) {
    authorization_ = authorization;
    emit authorizationChanged();
}

void AppModel::setLiveDisplays(int count) {
    const GuardChange change(pacing_); // a gauge wants every sample at once
    liveDisplays_ = count;
    emit liveDisplaysChanged(count);
    if (liveDisplays_ == 0 && !prefs_.showAngleInMenuBar()) {
        publishLiveAngle(0.0);
    }
}

bool AppModel::isPaused() const {
    return pausedUntil_ && *pausedUntil_ > ports_.scheduler.now();
}

void AppModel::write(std::string_view line) {
    ports_.log.write(line);
}

// --- Wiring ------------------------------------------------------------------

void AppModel::followPreferences() {
    applyGuardSettings();
    ports_.overlay.setStrength(prefs_.frostStrength());
    openLogIf(prefs_.diagnostics());

    // Each change of the guard's settings applies from the samples after it;
    // the angle in the menu bar wants every sample as it comes. Either way
    // the preview is published afresh.
    const auto guardChange = [this] {
        const GuardChange change(pacing_);
        applyGuardSettings();
    };
    connect(&prefs_, &Preferences::triggerAngleChanged, this, guardChange);
    connect(&prefs_, &Preferences::useInputEvidenceChanged, this, guardChange);
    connect(&prefs_, &Preferences::frostWhenWalkingAwayChanged, this, guardChange);
    connect(&prefs_, &Preferences::frostWhenFarChanged, this, guardChange);
    connect(&prefs_, &Preferences::frostOnDisconnectChanged, this, guardChange);
    connect(&prefs_, &Preferences::showAngleInMenuBarChanged, this, guardChange);
    connect(&prefs_, &Preferences::frostStrengthChanged, this,
            [this](double v) { ports_.overlay.setStrength(v); });
    connect(&prefs_, &Preferences::enabledChanged, this, &AppModel::evaluate);
    connect(&prefs_, &Preferences::onboardingDoneChanged, this, &AppModel::evaluate);
    connect(&prefs_, &Preferences::diagnosticsChanged, this, &AppModel::openLogIf);
}

void AppModel::applyGuardSettings() {
    guardian_.detector().settings.triggerAngle = prefs_.triggerAngle();
    guardian_.input.enabled = prefs_.useInputEvidence();
    guardian_.away.frostWhenWalkingAway = prefs_.frostWhenWalkingAway();
    guardian_.away.frostWhenFar = prefs_.frostWhenFar();
    guardian_.away.frostOnDisconnect = prefs_.frostOnDisconnect();
}

void AppModel::openLogIf(bool diagnostics) {
    if (diagnostics) {
        ports_.log.open();
    } else {
        ports_.log.close();
    }
}

void AppModel::observeTracker() {
    HeadTrackerHandlers handlers;
    handlers.motion = whileAlive([](AppModel& m, double heading, double vertical, double at) {
        m.onSample(heading, vertical, at);
    });
    handlers.samplesDelivered = whileAlive([](AppModel& m) { m.pacing_.publishPreview(); });
    handlers.connectionChange =
        whileAlive([](AppModel& m, bool connected) { m.onConnectionChange(connected); });
    handlers.error =
        whileAlive([](AppModel& m, const std::string& text) { m.onMotionError(text); });
    handlers.sourceChange =
        whileAlive([](AppModel& m, const std::string& name) { m.onSourceChange(name); });
    handlers.stepsMeasured = whileAlive([](AppModel& m, bool measured) {
        if (m.measuresSteps_ != measured) {
            m.measuresSteps_ = measured;
            emit m.motionSourceChanged();
        }
    });
    handlers.problem = whileAlive(
        [](AppModel& m, MotionProblem problem, const std::string& device, const std::string& fix) {
            m.motionFix_ = QString::fromStdString(fix);
            m.onMotionProblem(problem, device);
        });
    // Whatever the answer, or none, what runs is decided again.
    handlers.accessAnswered = whileAlive([](AppModel& m) { m.evaluate(); });
    ports_.tracker.observe(std::move(handlers));
}

void AppModel::observeSystem() {
    // Asleep or locked, head tracking stops; awake and unlocked, it may run.
    const auto asleep = [this](bool value) {
        return whileAlive([value](AppModel& m) {
            m.screenAsleep_ = value;
            m.evaluate();
        });
    };
    const auto locked = [this](bool value) {
        return whileAlive([value](AppModel& m) {
            m.screenLocked_ = value;
            m.evaluate();
        });
    };
    SystemEventHandlers handlers;
    handlers.screensDidSleep = asleep(true);
    handlers.screensDidWake = asleep(false);
    handlers.willSleep = asleep(true);
    handlers.didWake = asleep(false);
    handlers.screenLocked = locked(true);
    handlers.screenUnlocked = locked(false);
    ports_.systemEvents.observe(std::move(handlers));
    ports_.commands.listen(
        whileAlive([](AppModel& m, const std::string& word) { m.handle(word); }));
}

// --- Frost and samples -------------------------------------------------------

void AppModel::onFrostChange(bool frosted) {
    ports_.overlay.setFrost(frosted, guardian_.isAway());
    ports_.watchdog.setFrosted(frosted);
    if (frosted) {
        frostCount_ += 1;
        emit frostCountChanged(frostCount_);
        startTick();
        if (guardian_.isAway()) {
            write("FROST: stepped away");
        } else {
            write("FROST at " + fixed(guardian_.detector().angle(), 0) + "\u00B0");
        }
    } else {
        write("clear");
    }
    refreshStatus();
}

void AppModel::onSample(double heading, double vertical, double at) {
    // The same rule as the detection core's: a sample it would drop must not
    // count as head tracking being live either.
    if (!isUsable(heading) || !isUsable(vertical)) {
        return;
    }
    // The time the sample arrived, not the time it is handled: a held sample
    // counts when it came.
    const double now = at;
    const bool wasLive = guardian_.isLive();
    sampleRate_.count();
    guardian_.motion(heading, vertical, now);

    if (!wasLive) {
        publishAuthorization(ports_.tracker.motionAccess());
        write("head tracking live");
        if (!motionSource_.isEmpty()) {
            write("head motion from " + motionSource_.toStdString());
        }
        startTick();
    }

    if (liveDisplays_ > 0) {
        if (now - lastAnglePublish_ >= kGaugeInterval) {
            lastAnglePublish_ = now;
            publishLiveAngle(guardian_.detector().angle());
        }
    } else if (prefs_.showAngleInMenuBar() && now - lastAnglePublish_ >= kMenuBarInterval) {
        lastAnglePublish_ = now;
        publishLiveAngle(guardian_.detector().angle());
    }

    if (ports_.log.isOpen() && periodicLine_.count(vertical, now)) {
        const double secondsAgo = std::max(uptime() - now, 0.0);
        const double idleNow = ports_.input.secondsSinceLastEvent();
        ports_.log.write(periodicLine_.take(guardian_, idleNow, secondsAgo, lastSignal_),
                         secondsAgo);
    }

    if (!wasLive || status_.kind() == AppStatus::Kind::calibrating) {
        refreshStatus();
    }
}

// Holding quiet samples back is only for plain watching: a gauge or the
// menu bar showing the angle, samples the test hooks alter or make up, or the
// status still saying "calibrating" all want every sample handled as it comes.
bool AppModel::wantsEverySample() const {
    return liveDisplays_ > 0 || prefs_.showAngleInMenuBar() || ports_.testHooks.altersSamples() ||
           status_.kind() == AppStatus::Kind::calibrating;
}

void AppModel::onSourceChange(const std::string& name) {
    const QString source = QString::fromStdString(name);
    if (source == motionSource_) {
        return;
    }
    motionSource_ = source;
    emit motionSourceChanged();
    // A change while live is told now; otherwise with "head tracking live".
    if (guardian_.isLive()) {
        write("head motion from " + name);
    }
}

void AppModel::onMotionProblem(MotionProblem problem, const std::string& device) {
    const QString name = QString::fromStdString(device);
    if (problem == motionProblem_ && name == motionDevice_) {
        return;
    }
    motionProblem_ = problem;
    motionDevice_ = name;
    emit motionSourceChanged();
    if (problem == MotionProblem::notSharing) {
        write("no head motion from " + device + ": connected, but sharing none");
    }
}

void AppModel::onConnectionChange(bool connected) {
    const GuardChange change(pacing_);
    write(connected ? "headphones connected" : "headphones disconnected");
    if (!connected) {
        signalLost();
    }
}

void AppModel::onMotionError(const std::string& text) {
    write("motion error: " + text);
    publishAuthorization(ports_.tracker.motionAccess());
    evaluate();
}

// --- Deciding what runs --------------------------------------------------------

void AppModel::evaluate() {
    const GuardChange change(pacing_);
    publishAuthorization(ports_.tracker.motionAccess());
    const MotionAccess auth = authorization_;
    const bool permitted = auth == MotionAccess::authorized ||
                           (auth == MotionAccess::notDetermined && ports_.tracker.isRunning());
    if (ports_.tracker.isDeviceMotionAvailable() && permitted && prefs_.enabled() && !isPaused() &&
        !screenAsleep_ && !screenLocked_) {
        ports_.tracker.start();
        refreshStatus();
        return;
    }
    if (auth != MotionAccess::notDetermined) {
        ports_.tracker.stop();
        hardStop();
    }
    refreshStatus();
}

void AppModel::refreshStatus() {
    StatusInputs in;
    in.motionAvailable = ports_.tracker.isDeviceMotionAvailable();
    in.access = authorization_;
    in.trackerRunning = ports_.tracker.isRunning();
    in.enabled = prefs_.enabled();
    in.pausedUntil = isPaused() ? pausedUntil_ : std::nullopt;
    in.screenAsleepOrLocked = screenAsleep_ || screenLocked_;
    in.guard = guardian_.status(uptime());
    const AppStatus next = deriveStatus(in);
    if (next == status_) {
        return;
    }
    publishStatus(next);
    write("status: " + next.logTitle().toStdString());
    if (guardian_.isFrosted()) {
        // A turn-away frost that became an away frost keeps the frost on, so
        // only the wording needs to follow.
        ports_.overlay.setFrost(true, guardian_.isAway());
    }
}

} // namespace quelmo
