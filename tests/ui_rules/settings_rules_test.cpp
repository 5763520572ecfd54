// SPDX-License-Identifier: MIT
#include "ui/settings/settings_rules.h"
#include "ui/settings/settings_rules_object.h"

#include <gtest/gtest.h>

#include <QDesktopServices>
#include <QGuiApplication>
#include <QTemporaryDir>
#include <QUrl>

namespace quelmo::settings {
namespace {

TEST(SettingsRules, TriggerSliderStoresWholeDegreesWithHalvesAwayFromZero) {
    EXPECT_EQ(storedTriggerAngle(44.6), 45);
    EXPECT_EQ(storedTriggerAngle(42.5), 43);
    EXPECT_EQ(storedTriggerAngle(42.4), 42);
    EXPECT_EQ(storedTriggerAngle(35.0), 35);
    EXPECT_EQ(storedTriggerAngle(69.5), 70);
}

TEST(SettingsRules, DescriptionBands) {
    const QString sensitive = "Sensitive. Frosts on smaller turns.";
    const QString balanced = "Balanced. Ignores glances at a second screen.";
    const QString relaxed = "Relaxed. Only frosts on a full turn.";
    EXPECT_EQ(triggerDescription(35), sensitive);
    EXPECT_EQ(triggerDescription(42), sensitive);
    EXPECT_EQ(triggerDescription(42.99), sensitive);
    EXPECT_EQ(triggerDescription(43), balanced);
    EXPECT_EQ(triggerDescription(56.99), balanced);
    EXPECT_EQ(triggerDescription(57), relaxed);
    EXPECT_EQ(triggerDescription(70), relaxed);
}

TEST(SettingsRules, TriggerLabelShowsTheWholeDegreePart) {
    EXPECT_EQ(triggerLabel(45), QString::fromUtf8("45°"));
    EXPECT_EQ(triggerLabel(44.9), QString::fromUtf8("44°"));
}

TEST(SettingsRules, HeaderAngleAndButtonFollowTheStatus) {
    const QString dash = QString::fromUtf8("—");
    EXPECT_EQ(headerAngle("watching", 36.5), QString::fromUtf8("37°"));
    EXPECT_EQ(headerAngle("calibrating", -3.2), QString::fromUtf8("3°"));
    EXPECT_EQ(headerAngle("frosted", 61), QString::fromUtf8("61°"));
    for (const char* kind : {"paused", "needsSetup", "permissionDenied", "unsupported", "off",
                             "screenLocked", "waitingForAirPods", "away"}) {
        EXPECT_EQ(headerAngle(kind, 20), dash) << kind;
        EXPECT_FALSE(isLiveStatus(kind)) << kind;
    }
    EXPECT_EQ(headerButton("permissionDenied"), "openPrivacySettings");
    EXPECT_EQ(headerButton("needsSetup"), "finishSetup");
    EXPECT_EQ(headerButton("watching"), "");
    EXPECT_EQ(headerButton("paused"), "");
}

TEST(SettingsRules, VersionLineKeepsItsSpaceWithoutAVersion) {
    EXPECT_EQ(versionLine("1.0.0"), "Quelmo 1.0.0");
    EXPECT_EQ(versionLine(""), "Quelmo ");
}

// Records what would have been handed to the file manager.
class UrlRecorder : public QObject {
    Q_OBJECT
  public:
    QList<QUrl> opened;
  public slots:
    void open(const QUrl& url) { opened.append(url); }
};

TEST(SettingsRules, ShowFolderOpensOnlyAFolderThatExists) {
    int argc = 1;
    char name[] = "settings_rules_test";
    char* argv[] = {name, nullptr};
    QGuiApplication app(argc, argv);
    UrlRecorder recorder;
    QDesktopServices::setUrlHandler("file", &recorder, "open");

    QTemporaryDir dir;
    const SettingsRules rules;
    EXPECT_TRUE(rules.showFolder(dir.path()));
    EXPECT_FALSE(rules.showFolder(dir.path() + "/never-written"));
    EXPECT_FALSE(rules.showFolder(""));
    ASSERT_EQ(recorder.opened.size(), 1);
    EXPECT_EQ(recorder.opened.front(), QUrl::fromLocalFile(dir.path()));
    QDesktopServices::unsetUrlHandler("file");
}

} // namespace
} // namespace quelmo::settings

#include "settings_rules_test.moc"
