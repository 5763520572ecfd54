// SPDX-License-Identifier: MIT
#pragma once

#include "ui/onboarding/onboarding_flow.h"
#include <QObject>

#include <QString>

namespace quelmo {

// The welcome guide's page flow for OnboardingView.qml (a QML singleton).
// Steps are their raw values 0 to 3.
class GuideFlow : public QObject {
    Q_OBJECT
    Q_PROPERTY(int welcome READ welcome CONSTANT)
    Q_PROPERTY(int permission READ permission CONSTANT)
    Q_PROPERTY(int tryIt READ tryIt CONSTANT)
    Q_PROPERTY(int done READ done CONSTANT)
    Q_PROPERTY(int stepCount READ stepCount CONSTANT)

  public:
    using QObject::QObject;

    int welcome() const { return static_cast<int>(onboarding::Step::welcome); }
    int permission() const { return static_cast<int>(onboarding::Step::permission); }
    int tryIt() const { return static_cast<int>(onboarding::Step::tryIt); }
    int done() const { return static_cast<int>(onboarding::Step::done); }
    int stepCount() const;

    // A raw value outside the steps gives -1.
    Q_INVOKABLE int validStep(int raw) const;
    Q_INVOKABLE QString stepLabel(int step) const;
    Q_INVOKABLE bool hasBack(int step) const;
    Q_INVOKABLE int previous(int step) const;
    // "showPermission", "startTryIt", "showDone" or "finish".
    Q_INVOKABLE QString primaryAction(int step) const;
    Q_INVOKABLE QString primaryTitle(int step, bool sawItWork) const;
    Q_INVOKABLE bool primaryEnabled(int step, const QString& authorization) const;
    Q_INVOKABLE bool sawItWork(double frostCount, double frostsAtStart,
                               const QString& statusKind) const;
    // "success", "live" or "waiting".
    Q_INVOKABLE QString tryItContent(bool sawItWork, const QString& statusKind) const;
    Q_INVOKABLE QString tryItReadout(const QString& statusKind, double liveAngle) const;
};

} // namespace quelmo
