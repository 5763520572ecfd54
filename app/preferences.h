// SPDX-License-Identifier: MIT
#pragma once

#include "app/preference_store.h"

#include <QObject>

namespace quelmo {

// The user's twelve settings, each kept in the store under a key equal
// to its name:
//
// - Every assignment, even of the value already held, first sets the field,
//   then writes the value to the store, and last emits the property's NOTIFY
//   signal: whoever hears it (C++ or QML) reads the new value from the
//   object and finds it in the store.
// - Loading (construction) reads every key; a missing key or a value that
//   cannot be read as the field's kind gives the default; the two doubles are
//   limited on read (at most the lower limit gives the lower limit, above the
//   upper one gives the upper one), and the minutes before locking become the
//   nearest of the choices offered. Loading writes nothing. Assignment applies
//   no limits.
//
// Main thread only. The store must outlive the object.
class Preferences : public QObject {
    Q_OBJECT
    Q_PROPERTY(bool enabled READ enabled WRITE setEnabled NOTIFY enabledChanged)
    Q_PROPERTY(
        double triggerAngle READ triggerAngle WRITE setTriggerAngle NOTIFY triggerAngleChanged)
    Q_PROPERTY(
        double frostStrength READ frostStrength WRITE setFrostStrength NOTIFY frostStrengthChanged)
    Q_PROPERTY(bool showAngleInMenuBar READ showAngleInMenuBar WRITE setShowAngleInMenuBar NOTIFY
                   showAngleInMenuBarChanged)
    Q_PROPERTY(bool useInputEvidence READ useInputEvidence WRITE setUseInputEvidence NOTIFY
                   useInputEvidenceChanged)
    Q_PROPERTY(bool frostWhenWalkingAway READ frostWhenWalkingAway WRITE setFrostWhenWalkingAway
                   NOTIFY frostWhenWalkingAwayChanged)
    Q_PROPERTY(bool frostWhenFar READ frostWhenFar WRITE setFrostWhenFar NOTIFY frostWhenFarChanged)
    Q_PROPERTY(bool frostOnDisconnect READ frostOnDisconnect WRITE setFrostOnDisconnect NOTIFY
                   frostOnDisconnectChanged)
    Q_PROPERTY(bool diagnostics READ diagnostics WRITE setDiagnostics NOTIFY diagnosticsChanged)
    Q_PROPERTY(bool onboardingDone READ onboardingDone WRITE setOnboardingDone NOTIFY
                   onboardingDoneChanged)
    Q_PROPERTY(bool lockWhenAway READ lockWhenAway WRITE setLockWhenAway NOTIFY lockWhenAwayChanged)
    Q_PROPERTY(double lockAfterMinutes READ lockAfterMinutes WRITE setLockAfterMinutes NOTIFY
                   lockAfterMinutesChanged)

  public:
    // Keys and defaults.
    static constexpr const char* kEnabled = "enabled";
    static constexpr const char* kTriggerAngle = "triggerAngle";
    static constexpr const char* kFrostStrength = "frostStrength";
    static constexpr const char* kShowAngleInMenuBar = "showAngleInMenuBar";
    static constexpr const char* kUseInputEvidence = "useInputEvidence";
    static constexpr const char* kFrostWhenWalkingAway = "frostWhenWalkingAway";
    static constexpr const char* kFrostWhenFar = "frostWhenFar";
    static constexpr const char* kFrostOnDisconnect = "frostOnDisconnect";
    static constexpr const char* kDiagnostics = "diagnostics";
    static constexpr const char* kOnboardingDone = "onboardingDone";
    static constexpr const char* kLockWhenAway = "lockWhenAway";
    static constexpr const char* kLockAfterMinutes = "lockAfterMinutes";

    static constexpr double kTriggerAngleMin = 35.0;
    static constexpr double kTriggerAngleMax = 70.0;
    static constexpr double kFrostStrengthMin = 0.0;
    static constexpr double kFrostStrengthMax = 1.0;
    // The minutes an away frost may last before the session is locked.
    static constexpr double kLockAfterChoices[] = {1.0, 2.0, 5.0, 10.0};

    struct Defaults {
        static constexpr bool enabled = true;
        static constexpr double triggerAngle = 50.0;
        static constexpr double frostStrength = 0.6;
        static constexpr bool showAngleInMenuBar = false;
        static constexpr bool useInputEvidence = true;
        static constexpr bool frostWhenWalkingAway = true;
        static constexpr bool frostWhenFar = true;
        static constexpr bool frostOnDisconnect = false;
        static constexpr bool diagnostics = false;
        static constexpr bool onboardingDone = false;
        static constexpr bool lockWhenAway = false;
        static constexpr double lockAfterMinutes = 2.0;
    };

    // Loads every field from `store`.
    explicit Preferences(PreferenceStore& store, QObject* parent = nullptr);
    ~Preferences() override;

    PreferenceStore& store() const { return store_; }

    bool enabled() const { return enabled_; }
    double triggerAngle() const { return triggerAngle_; }
    double frostStrength() const { return frostStrength_; }
    bool showAngleInMenuBar() const { return showAngleInMenuBar_; }
    bool useInputEvidence() const { return useInputEvidence_; }
    bool frostWhenWalkingAway() const { return frostWhenWalkingAway_; }
    bool frostWhenFar() const { return frostWhenFar_; }
    bool frostOnDisconnect() const { return frostOnDisconnect_; }
    bool diagnostics() const { return diagnostics_; }
    bool onboardingDone() const { return onboardingDone_; }
    bool lockWhenAway() const { return lockWhenAway_; }
    double lockAfterMinutes() const { return lockAfterMinutes_; }

    void setEnabled(bool value);
    void setTriggerAngle(double value);
    void setFrostStrength(double value);
    void setShowAngleInMenuBar(bool value);
    void setUseInputEvidence(bool value);
    void setFrostWhenWalkingAway(bool value);
    void setFrostWhenFar(bool value);
    void setFrostOnDisconnect(bool value);
    void setDiagnostics(bool value);
    void setOnboardingDone(bool value);
    void setLockWhenAway(bool value);
    void setLockAfterMinutes(double value);

  signals:
    // Emitted on every assignment, after the field holds the value.
    void enabledChanged(bool value);
    void triggerAngleChanged(double value);
    void frostStrengthChanged(double value);
    void showAngleInMenuBarChanged(bool value);
    void useInputEvidenceChanged(bool value);
    void frostWhenWalkingAwayChanged(bool value);
    void frostWhenFarChanged(bool value);
    void frostOnDisconnectChanged(bool value);
    void diagnosticsChanged(bool value);
    void onboardingDoneChanged(bool value);
    void lockWhenAwayChanged(bool value);
    void lockAfterMinutesChanged(double value);

  private:
    bool loadBool(const char* key, bool fallback) const;
    double loadDouble(const char* key, double fallback, double lower, double upper) const;
    double loadLockAfterMinutes() const;
    void assignBool(bool& field, const char* key, bool value, void (Preferences::*signal)(bool));
    void assignDouble(double& field, const char* key, double value,
                      void (Preferences::*signal)(double));

    PreferenceStore& store_;
    bool enabled_;
    double triggerAngle_;
    double frostStrength_;
    bool showAngleInMenuBar_;
    bool useInputEvidence_;
    bool frostWhenWalkingAway_;
    bool frostWhenFar_;
    bool frostOnDisconnect_;
    bool diagnostics_;
    bool onboardingDone_;
    bool lockWhenAway_;
    double lockAfterMinutes_;
};

} // namespace quelmo
