// SPDX-License-Identifier: MIT
#include "app/app_model.h"

#include "app/hot_key_binding.h"
#include "core/number_text.h"
#include "core/usable_number.h"

#include <algorithm>
#include <cmath>

namespace quelmo {

namespace {

constexpr double kGaugeInterval = 0.1;
constexpr double kMenuBarInterval = 0.25;
constexpr double kLogLineInterval = 0.2;
constexpr double kShownIdleCap = 9999.0;
constexpr double kGaitRadiansPerSecond = 11.938052083641214; // 2 pi x 1.9 Hz
// The tick takes held samples every tick; should it ever not, none waits
// longer than this beyond the tick's period.
constexpr double kHoldBeyondTick = 0.8;

} // namespace

AppModel::AppModel(Preferences& prefs, AppModelPorts ports, QObject* parent)
    : QObject(parent), prefs_(prefs), ports_(ports), self_(std::make_shared<AppModel*>(this)) {
    authorization_ = ports_.tracker.motionAccess();

    std::weak_ptr<AppModel*> weak = self_;
    guardian_.onFrostChange = [weak](bool frosted) {
        if (auto self = weak.lock()) {
            (*self)->onFrostChange(frosted);
        }
    };
    HeadTrackerHandlers handlers;
    handlers.motion = [weak](double heading, double vertical, double at) {
        if (auto self = weak.lock()) {
            (*self)->onSample(heading, vertical, at);
        }
    };
    handlers.samplesDelivered = [weak] {
        if (auto self = weak.lock()) {
            (*self)->publishPreview();
        }
    };
    handlers.connectionChange = [weak](bool connected) {
        if (auto self = weak.lock()) {
            (*self)->onConnectionChange(connected);
        }
    };
    handlers.error = [weak](const std::string& text) {
        if (auto self = weak.lock()) {
            (*self)->onMotionError(text);
        }
    };
    handlers.sourceChange = [weak](const std::string& name) {
        if (auto self = weak.lock()) {
            (*self)->onSourceChange(name);
        }
    };
    handlers.stepsMeasured = [weak](bool measured) {
        if (auto self = weak.lock()) {
            if ((*self)->measuresSteps_ != measured) {
                (*self)->measuresSteps_ = measured;
                emit(*self)->motionSourceChanged();
            }
        }
    };
    handlers.problem = [weak](MotionProblem problem, const std::string& device,
                              const std::string& fix) {
        if (auto self = weak.lock()) {
            (*self)->motionFix_ = QString::fromStdString(fix);
            (*self)->onMotionProblem(problem, device);
        }
    };
    // Whatever the answer, or none, what runs is decided again.
    handlers.accessAnswered = [weak] {
        if (auto self = weak.lock()) {
            (*self)->evaluate();
        }
    };
    ports_.tracker.observe(std::move(handlers));

    followPreferences();
    observeSystem();
    hotKey_ = ports_.hotKeys.registerHotKey(kRecenterKey, [weak] {
        if (auto self = weak.lock()) {
            (*self)->recenterManually();
        }
    });
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
    const GuardChange change(*this); // a gauge wants every sample at once
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
    // the quiet band is published afresh.
    const auto guardChange = [this] {
        const GuardChange change(*this);
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

void AppModel::observeSystem() {
    std::weak_ptr<AppModel*> weak = self_;
    const auto asleep = [weak](bool value) {
        return [weak, value] {
            if (auto self = weak.lock()) {
                (*self)->setScreenAsleep(value);
            }
        };
    };
    const auto locked = [weak](bool value) {
        return [weak, value] {
            if (auto self = weak.lock()) {
                (*self)->setScreenLocked(value);
            }
        };
    };
    SystemEventHandlers handlers;
    handlers.screensDidSleep = asleep(true);
    handlers.screensDidWake = asleep(false);
    handlers.willSleep = asleep(true);
    handlers.didWake = asleep(false);
    handlers.screenLocked = locked(true);
    handlers.screenUnlocked = locked(false);
    ports_.systemEvents.observe(std::move(handlers));
    ports_.commands.listen([weak](const std::string& word) {
        if (auto self = weak.lock()) {
            (*self)->handle(word);
        }
    });
}

void AppModel::setScreenAsleep(bool asleep) {
    screenAsleep_ = asleep;
    evaluate();
}

void AppModel::setScreenLocked(bool locked) {
    screenLocked_ = locked;
    evaluate();
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
    if (fakeSource_) {
        return; // the test source stands in for the headphones
    }
    // The same rule as the detection core's: a sample it would drop must not
    // count as head tracking being live either.
    if (!isUsable(heading) || !isUsable(vertical)) {
        return;
    }
    handleSample(heading, vertical, at);
}

void AppModel::handleSample(double heading, double vertical, double at) {
    // The time the sample arrived, not the time it is handled: a held sample
    // counts when it came.
    const double now = at;
    const bool wasLive = guardian_.isLive();

    if (injectedOffset_ != injectedTarget_) {
        const double dt = now - lastSampleTime_;
        const double limit = dt <= 0.001 ? 0.25 : 250.0 * std::min(dt, 0.1);
        injectedOffset_ += std::clamp(injectedTarget_ - injectedOffset_, -limit, limit);
    }
    lastSampleTime_ = now;
    sampleRate_.count();
    if (injectedWalking_) {
        vertical = 0.3 * std::sin(kGaitRadiansPerSecond * now);
    }

    guardian_.motion(heading + injectedOffset_, vertical, now);

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

    if (ports_.log.isOpen()) {
        logVertMin_ = std::min(logVertMin_, vertical);
        logVertMax_ = std::max(logVertMax_, vertical);
        logSamples_ += 1;
        if (now - lastLogLine_ >= kLogLineInterval) {
            lastLogLine_ = now;
            writePeriodicLine(std::max(uptime() - now, 0.0));
            logVertMin_ = 0.0;
            logVertMax_ = 0.0;
            logSamples_ = 0;
        }
    }

    if (!wasLive || status_.kind() == AppStatus::Kind::calibrating) {
        refreshStatus();
    }
}

void AppModel::writePeriodicLine(double secondsAgo) {
    const TurnDetector& turn = guardian_.detector();
    const WalkDetector& walk = guardian_.walker();
    // As it was when the sample came (it may have been held back): unless
    // keyboard or mouse were used since, that is the idle time now less the
    // sample's age.
    const double idle =
        std::min(std::max(ports_.input.secondsSinceLastEvent() - secondsAgo, 0.0), kShownIdleCap);

    std::string line = "angle ";
    appendFixed(line, turn.angle(), 1);
    line += " vel ";
    appendFixed(line, turn.velocity(), 0);
    line += guardian_.isFrosted() ? " frosted 1" : " frosted 0";
    line += guardian_.isAway() ? " away 1" : " away 0";
    line += " vmin ";
    appendFixed(line, logVertMin_, 3);
    line += " vmax ";
    appendFixed(line, logVertMax_, 3);
    line += " n ";
    appendInteger(line, logSamples_);
    line += " steps ";
    appendInteger(line, walk.stepsInRhythm());
    line += " soft ";
    appendInteger(line, walk.softSteps());
    line += walk.isWalking() ? " walking 1" : " walking 0";
    line += " idle ";
    appendFixed(line, idle, 1);

    // The readings sorted as text, not as numbers: -100 comes before -58.
    std::vector<std::string> values;
    values.reserve(lastSignal_.size());
    for (const auto& [device, dbm] : lastSignal_) {
        values.push_back(fixed(dbm, 0));
    }
    std::sort(values.begin(), values.end());
    line += " rssi ";
    for (std::size_t i = 0; i < values.size(); ++i) {
        if (i > 0) {
            line += ',';
        }
        line += values[i];
    }
    line += " drop ";
    appendFixed(line, guardian_.signalDrop().value_or(-99.0), 0);
    ports_.log.write(line, secondsAgo);
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
    const GuardChange change(*this);
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
    const GuardChange change(*this);
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
    const MotionAccess auth = authorization_;
    AppStatus next = AppStatus::watching();
    if (!ports_.tracker.isDeviceMotionAvailable()) {
        next = AppStatus::unsupported();
    } else if (auth == MotionAccess::denied) {
        next = AppStatus::permissionDenied();
    } else if (auth == MotionAccess::notDetermined && !ports_.tracker.isRunning()) {
        next = AppStatus::needsSetup();
    } else if (!prefs_.enabled()) {
        next = AppStatus::off();
    } else if (isPaused()) {
        next = AppStatus::paused(*pausedUntil_);
    } else if (screenAsleep_ || screenLocked_) {
        next = AppStatus::screenLocked();
    } else {
        switch (guardian_.status(uptime())) {
        case PrivacyGuard::Status::noSignal:
            next = AppStatus::waitingForAirPods();
            break;
        case PrivacyGuard::Status::calibrating:
            next = AppStatus::calibrating();
            break;
        case PrivacyGuard::Status::watching:
            next = AppStatus::watching();
            break;
        case PrivacyGuard::Status::frosted:
            next = AppStatus::frosted();
            break;
        case PrivacyGuard::Status::away:
            next = AppStatus::away();
            break;
        }
    }
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

void AppModel::hardStop() {
    const GuardChange change(*this);
    stopTick();
    guardian_.stop();
    ports_.overlay.setFrost(false, false);
    ports_.watchdog.setFrosted(false);
    publishLiveAngle(0.0);
}

void AppModel::recenterManually() {
    const GuardChange change(*this);
    write("manual recenter");
    guardian_.recenter();
    refreshStatus();
}

// Holding quiet samples back is only for plain watching: a gauge or the
// menu bar showing the angle, test offsets or walking, the test source or the
// status still saying "calibrating" all want every sample handled as it comes.
void AppModel::publishPreview() {
    if (guardChanges_ > 0) {
        return; // the outermost change publishes
    }
    std::optional<DecisionPreview> preview;
    if (mayHoldSamples()) {
        preview = DecisionPreview::of(guardian_, uptime() + tickPeriod() + kHoldBeyondTick);
    }
    if (!preview) {
        // A decision may be under way: the tick is wanted at its full pace.
        setStillTick(false);
    }
    ports_.tracker.holdQuietSamples(preview);
}

bool AppModel::mayHoldSamples() const {
    return liveDisplays_ == 0 && !prefs_.showAngleInMenuBar() && !fakeSource_ &&
           injectedOffset_ == 0.0 && injectedTarget_ == 0.0 && !injectedWalking_ && tick_ &&
           status_.kind() != AppStatus::Kind::calibrating;
}

} // namespace quelmo
