// SPDX-License-Identifier: MIT
#include "ui/qml/qml_setup.h"

#include "ui/gauge/gauge_math.h"
#include "ui/onboarding/guide_flow_object.h"
#include "ui/qml/frost_coverage_object.h"
#include "ui/qml/tinted_icon.h"
#include "ui/qml/wording_object.h"
#include "ui/settings/settings_rules_object.h"

#include <QQmlEngine>

namespace quelmo {

namespace {

constexpr const char* kNativeUri = "Quelmo.Native";

template <typename T> void registerSingleton(const char* name) {
    qmlRegisterSingletonType<T>(kNativeUri, 1, 0, name,
                                [](QQmlEngine*, QJSEngine*) -> QObject* { return new T; });
}

void registerTypes() {
    registerSingleton<GaugeMath>("GaugeMath");
    registerSingleton<SettingsRules>("SettingsRules");
    registerSingleton<GuideFlow>("GuideFlow");
    registerSingleton<WordingObject>("Wording");
    registerSingleton<FrostCoverageObject>("FrostCoverage");
    qmlRegisterType<TintedIcon>(kNativeUri, 1, 0, "TintedIcon");
}

} // namespace

void prepareQmlEngine(QQmlEngine& engine) {
    static const bool registered = (registerTypes(), true);
    (void)registered;
    engine.addImportPath(QStringLiteral("qrc:/"));
}

} // namespace quelmo
