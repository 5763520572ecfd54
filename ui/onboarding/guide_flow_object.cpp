// SPDX-License-Identifier: MIT
#include "ui/onboarding/guide_flow_object.h"

#include "ui/onboarding/onboarding_flow.h"

namespace quelmo {

using namespace onboarding;

namespace {
// Steps from QML that are out of range are treated as the first page.
Step toStep(int raw) {
    return stepFromRaw(raw).value_or(Step::welcome);
}
} // namespace

int GuideFlow::stepCount() const {
    return kStepCount;
}

int GuideFlow::validStep(int raw) const {
    const auto step = stepFromRaw(raw);
    return step ? static_cast<int>(*step) : -1;
}

QString GuideFlow::stepLabel(int step) const {
    return onboarding::stepLabel(toStep(step));
}

bool GuideFlow::hasBack(int step) const {
    return onboarding::hasBack(toStep(step));
}

int GuideFlow::previous(int step) const {
    return static_cast<int>(onboarding::previous(toStep(step)));
}

QString GuideFlow::primaryAction(int step) const {
    switch (onboarding::primaryAction(toStep(step))) {
    case PrimaryAction::showPermission:
        return QStringLiteral("showPermission");
    case PrimaryAction::startTryIt:
        return QStringLiteral("startTryIt");
    case PrimaryAction::showDone:
        return QStringLiteral("showDone");
    case PrimaryAction::finish:
        break;
    }
    return QStringLiteral("finish");
}

QString GuideFlow::primaryTitle(int step, bool sawItWork) const {
    return onboarding::primaryTitle(toStep(step), sawItWork);
}

bool GuideFlow::primaryEnabled(int step, const QString& authorization) const {
    return onboarding::primaryEnabled(toStep(step), authorization);
}

bool GuideFlow::sawItWork(double frostCount, double frostsAtStart,
                          const QString& statusKind) const {
    return onboarding::sawItWork(static_cast<std::int64_t>(frostCount),
                                 static_cast<std::int64_t>(frostsAtStart), statusKind);
}

QString GuideFlow::tryItContent(bool sawItWork, const QString& statusKind) const {
    switch (onboarding::tryItContent(sawItWork, statusKind)) {
    case TryItContent::success:
        return QStringLiteral("success");
    case TryItContent::live:
        return QStringLiteral("live");
    case TryItContent::waiting:
        break;
    }
    return QStringLiteral("waiting");
}

QString GuideFlow::tryItReadout(const QString& statusKind, double liveAngle) const {
    return onboarding::tryItReadout(statusKind, liveAngle);
}

} // namespace quelmo
