// SPDX-License-Identifier: MIT
#include "ui/onboarding/onboarding_flow.h"

#include "ui/gauge/angle_text.h"
#include "ui/settings/settings_rules.h"

#include <QCoreApplication>

namespace quelmo::onboarding {

std::optional<Step> stepFromRaw(int raw) {
    if (raw < 0 || raw >= kStepCount) {
        return std::nullopt;
    }
    return static_cast<Step>(raw);
}

QString stepLabel(Step step) {
    return QCoreApplication::translate("OnboardingView", "Step %1 of %2")
        .arg(static_cast<int>(step) + 1)
        .arg(kStepCount);
}

bool hasBack(Step step) {
    return step == Step::permission || step == Step::tryIt;
}

Step previous(Step step) {
    switch (step) {
    case Step::permission:
        return Step::welcome;
    case Step::tryIt:
        return Step::permission;
    default:
        return step;
    }
}

PrimaryAction primaryAction(Step step) {
    switch (step) {
    case Step::welcome:
        return PrimaryAction::showPermission;
    case Step::permission:
        return PrimaryAction::startTryIt;
    case Step::tryIt:
        return PrimaryAction::showDone;
    case Step::done:
        break;
    }
    return PrimaryAction::finish;
}

QString primaryTitle(Step step, bool sawItWork) {
    switch (step) {
    case Step::welcome:
        return QCoreApplication::translate("OnboardingView", "Get Started");
    case Step::permission:
        return QCoreApplication::translate("OnboardingView", "Continue");
    case Step::tryIt:
        return sawItWork ? QCoreApplication::translate("OnboardingView", "Continue")
                         : QCoreApplication::translate("OnboardingView", "Skip");
    case Step::done:
        break;
    }
    return QCoreApplication::translate("OnboardingView", "Finish");
}

bool primaryEnabled(Step step, const QString& authorization) {
    return step != Step::permission || authorization == QLatin1String("authorized");
}

bool sawItWork(std::int64_t frostCount, std::int64_t frostsAtStart, const QString& statusKind) {
    return frostCount > frostsAtStart && statusKind != QLatin1String("frosted");
}

TryItContent tryItContent(bool sawItWork, const QString& statusKind) {
    if (sawItWork) {
        return TryItContent::success;
    }
    return settings::isLiveStatus(statusKind) ? TryItContent::live : TryItContent::waiting;
}

QString tryItReadout(const QString& statusKind, double liveAngle) {
    if (statusKind == QLatin1String("calibrating")) {
        return QCoreApplication::translate("OnboardingView", "Getting ready…");
    }
    return gauge::angleReadout(liveAngle);
}

} // namespace quelmo::onboarding
