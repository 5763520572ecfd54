// SPDX-License-Identifier: MIT
#include "app/preferences.h"

#include <cmath>
#include <iterator>

namespace quelmo {

bool Preferences::loadBool(const char* key, bool fallback) const {
    if (const auto text = store_.read(key)) {
        if (const auto value = parseStoredBool(*text)) {
            return *value;
        }
    }
    return fallback;
}

double Preferences::loadDouble(const char* key, double fallback, double lower, double upper) const {
    double value = fallback;
    if (const auto text = store_.read(key)) {
        if (const auto parsed = parseStoredDouble(*text)) {
            value = *parsed;
        }
    }
    // Lower limit inclusive, upper exclusive: only values above it are cut.
    if (value <= lower) {
        value = lower;
    }
    if (value > upper) {
        value = upper;
    }
    return value;
}

double Preferences::loadLockAfterMinutes() const {
    const double stored = loadDouble(kLockAfterMinutes, Defaults::lockAfterMinutes,
                                     kLockAfterChoices[0], std::end(kLockAfterChoices)[-1]);
    // Only the settings window's choices make sense: an edited file's 3.7
    // becomes the nearest of them.
    double best = kLockAfterChoices[0];
    for (const double choice : kLockAfterChoices) {
        if (std::abs(choice - stored) < std::abs(best - stored)) {
            best = choice;
        }
    }
    return best;
}

Preferences::Preferences(PreferenceStore& store, QObject* parent)
    : QObject(parent), store_(store), enabled_(loadBool(kEnabled, Defaults::enabled)),
      triggerAngle_(
          loadDouble(kTriggerAngle, Defaults::triggerAngle, kTriggerAngleMin, kTriggerAngleMax)),
      frostStrength_(loadDouble(kFrostStrength, Defaults::frostStrength, kFrostStrengthMin,
                                kFrostStrengthMax)),
      showAngleInMenuBar_(loadBool(kShowAngleInMenuBar, Defaults::showAngleInMenuBar)),
      useInputEvidence_(loadBool(kUseInputEvidence, Defaults::useInputEvidence)),
      frostWhenWalkingAway_(loadBool(kFrostWhenWalkingAway, Defaults::frostWhenWalkingAway)),
      frostWhenFar_(loadBool(kFrostWhenFar, Defaults::frostWhenFar)),
      frostOnDisconnect_(loadBool(kFrostOnDisconnect, Defaults::frostOnDisconnect)),
      diagnostics_(loadBool(kDiagnostics, Defaults::diagnostics)),
      onboardingDone_(loadBool(kOnboardingDone, Defaults::onboardingDone)),
      lockWhenAway_(loadBool(kLockWhenAway, Defaults::lockWhenAway)),
      lockAfterMinutes_(loadLockAfterMinutes()) {}

Preferences::~Preferences() = default;

void Preferences::assignBool(bool& field, const char* key, bool value,
                             void (Preferences::*signal)(bool)) {
    field = value;
    store_.writeBool(key, value);
    emit(this->*signal)(value);
}

void Preferences::assignDouble(double& field, const char* key, double value,
                               void (Preferences::*signal)(double)) {
    field = value;
    store_.writeDouble(key, value);
    emit(this->*signal)(value);
}

void Preferences::setEnabled(bool value) {
    assignBool(enabled_, kEnabled, value, &Preferences::enabledChanged);
}
void Preferences::setTriggerAngle(double value) {
    assignDouble(triggerAngle_, kTriggerAngle, value, &Preferences::triggerAngleChanged);
}
void Preferences::setFrostStrength(double value) {
    assignDouble(frostStrength_, kFrostStrength, value, &Preferences::frostStrengthChanged);
}
void Preferences::setShowAngleInMenuBar(bool value) {
    assignBool(showAngleInMenuBar_, kShowAngleInMenuBar, value,
               &Preferences::showAngleInMenuBarChanged);
}
void Preferences::setUseInputEvidence(bool value) {
    assignBool(useInputEvidence_, kUseInputEvidence, value, &Preferences::useInputEvidenceChanged);
}
void Preferences::setFrostWhenWalkingAway(bool value) {
    assignBool(frostWhenWalkingAway_, kFrostWhenWalkingAway, value,
               &Preferences::frostWhenWalkingAwayChanged);
}
void Preferences::setFrostWhenFar(bool value) {
    assignBool(frostWhenFar_, kFrostWhenFar, value, &Preferences::frostWhenFarChanged);
}
void Preferences::setFrostOnDisconnect(bool value) {
    assignBool(frostOnDisconnect_, kFrostOnDisconnect, value,
               &Preferences::frostOnDisconnectChanged);
}
void Preferences::setDiagnostics(bool value) {
    assignBool(diagnostics_, kDiagnostics, value, &Preferences::diagnosticsChanged);
}
void Preferences::setOnboardingDone(bool value) {
    assignBool(onboardingDone_, kOnboardingDone, value, &Preferences::onboardingDoneChanged);
}
void Preferences::setLockWhenAway(bool value) {
    assignBool(lockWhenAway_, kLockWhenAway, value, &Preferences::lockWhenAwayChanged);
}
void Preferences::setLockAfterMinutes(double value) {
    assignDouble(lockAfterMinutes_, kLockAfterMinutes, value,
                 &Preferences::lockAfterMinutesChanged);
}

} // namespace quelmo
