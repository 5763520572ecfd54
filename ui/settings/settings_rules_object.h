// SPDX-License-Identifier: MIT
#pragma once

#include <QObject>
#include <QString>

namespace quelmo {

// The settings window's rules for SettingsView.qml (a QML singleton).
class SettingsRules : public QObject {
    Q_OBJECT
    Q_PROPERTY(double triggerMin READ triggerMin CONSTANT)
    Q_PROPERTY(double triggerMax READ triggerMax CONSTANT)

  public:
    using QObject::QObject;

    double triggerMin() const;
    double triggerMax() const;

    Q_INVOKABLE double storedTriggerAngle(double sliderValue) const;
    Q_INVOKABLE QString triggerLabel(double triggerAngle) const;
    Q_INVOKABLE QString triggerDescription(double triggerAngle) const;
    Q_INVOKABLE bool isLiveStatus(const QString& statusKind) const;
    Q_INVOKABLE QString headerAngle(const QString& statusKind, double liveAngle) const;
    Q_INVOKABLE QString headerButton(const QString& statusKind) const;
    Q_INVOKABLE QString versionLine(const QString& version) const;

    // Opens a folder in the file manager. A folder that does not exist (the
    // log was never written) is not handed to the desktop, which would show
    // an error of its own; returns whether the folder was handed over.
    Q_INVOKABLE bool showFolder(const QString& path) const;
};

} // namespace quelmo
