// SPDX-License-Identifier: MIT
#include "ui/settings/settings_rules.h"

#include "ui/gauge/angle_text.h"

#include <QCoreApplication>

#include <cmath>

namespace quelmo::settings {

double storedTriggerAngle(double sliderValue) {
    return std::round(sliderValue); // halves away from zero
}

QString triggerLabel(double triggerAngle) {
    const double whole = std::isfinite(triggerAngle) ? std::trunc(triggerAngle) : 0.0;
    return QString::number(static_cast<long long>(whole)) + QChar(0x00B0);
}

QString triggerDescription(double triggerAngle) {
    if (triggerAngle < 43.0) {
        return QCoreApplication::translate("SettingsView", "Sensitive. Frosts on smaller turns.");
    }
    if (triggerAngle < 57.0) {
        return QCoreApplication::translate("SettingsView",
                                           "Balanced. Ignores glances at a second screen.");
    }
    return QCoreApplication::translate("SettingsView", "Relaxed. Only frosts on a full turn.");
}

bool isLiveStatus(const QString& statusKind) {
    return statusKind == QLatin1String("calibrating") || statusKind == QLatin1String("watching") ||
           statusKind == QLatin1String("frosted");
}

QString headerAngle(const QString& statusKind, double liveAngle) {
    return isLiveStatus(statusKind) ? gauge::angleReadout(liveAngle) : QString(QChar(0x2014));
}

QString headerButton(const QString& statusKind) {
    if (statusKind == QLatin1String("permissionDenied")) {
        return QStringLiteral("openPrivacySettings");
    }
    if (statusKind == QLatin1String("needsSetup")) {
        return QStringLiteral("finishSetup");
    }
    return {};
}

QString versionLine(const QString& version) {
    return QStringLiteral("Quelmo ") + version;
}

} // namespace quelmo::settings
