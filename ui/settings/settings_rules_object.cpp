// SPDX-License-Identifier: MIT
#include "ui/settings/settings_rules_object.h"

#include "ui/settings/settings_rules.h"

#include <QDesktopServices>
#include <QFileInfo>
#include <QUrl>

namespace quelmo {

double SettingsRules::triggerMin() const {
    return settings::kTriggerMin;
}
double SettingsRules::triggerMax() const {
    return settings::kTriggerMax;
}

double SettingsRules::storedTriggerAngle(double sliderValue) const {
    return settings::storedTriggerAngle(sliderValue);
}

QString SettingsRules::triggerLabel(double triggerAngle) const {
    return settings::triggerLabel(triggerAngle);
}

QString SettingsRules::triggerDescription(double triggerAngle) const {
    return settings::triggerDescription(triggerAngle);
}

bool SettingsRules::isLiveStatus(const QString& statusKind) const {
    return settings::isLiveStatus(statusKind);
}

QString SettingsRules::headerAngle(const QString& statusKind, double liveAngle) const {
    return settings::headerAngle(statusKind, liveAngle);
}

QString SettingsRules::headerButton(const QString& statusKind) const {
    return settings::headerButton(statusKind);
}

QString SettingsRules::versionLine(const QString& version) const {
    return settings::versionLine(version);
}

bool SettingsRules::showFolder(const QString& path) const {
    if (path.isEmpty() || !QFileInfo(path).isDir()) {
        return false;
    }
    QDesktopServices::openUrl(QUrl::fromLocalFile(path)); // its result is of no use here
    return true;
}

} // namespace quelmo
