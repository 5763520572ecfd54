// SPDX-License-Identifier: MIT
#include "platform/settings/qsettings_preference_store.h"
#include "platform/settings/shared_preferences.h"

#include "app/preferences.h"

#include <QDir>
#include <QSettings>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <unistd.h>

namespace quelmo {
namespace {

namespace fs = std::filesystem;
using namespace std::string_literals;

std::string readFile(const QString& path) {
    std::ifstream in(path.toStdString(), std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

void writeFile(const QString& path, const std::string& bytes) {
    fs::create_directories(fs::path(path.toStdString()).parent_path());
    std::ofstream(path.toStdString(), std::ios::binary) << bytes;
}

// A settings file in a fresh temporary folder.
class SettingsFile : public ::testing::Test {
  protected:
    QTemporaryDir dir;
    QString path = dir.filePath(QStringLiteral("Quelmo/Quelmo.conf"));
};

// What an independent reader (another QSettings) finds in the file.
QVariant independentlyRead(const QString& path, const char* key) {
    QSettings s(path, QSettings::NativeFormat);
    return s.value(QString::fromUtf8(key));
}

TEST(QSettingsPreferenceStore, UsersStoreLivesUnderXdgConfigHome) {
    QSettingsPreferenceStore store;
    const QString expected = QDir(qEnvironmentVariable("XDG_CONFIG_HOME"))
                                 .filePath(QStringLiteral("Quelmo/Quelmo.conf"));
    EXPECT_EQ(store.fileName(), expected);
}

TEST(QSettingsPreferenceStore, SharedPreferencesUseTheUsersStore) {
    Preferences& shared = sharedPreferences();
    EXPECT_EQ(&shared, &sharedPreferences());
    const QString file = QDir(qEnvironmentVariable("XDG_CONFIG_HOME"))
                             .filePath(QStringLiteral("Quelmo/Quelmo.conf"));
    shared.setOnboardingDone(true);
    EXPECT_EQ(independentlyRead(file, "onboardingDone").toString(), QStringLiteral("true"));
    EXPECT_NE(readFile(file).find("onboardingDone=true"), std::string::npos);
}

TEST_F(SettingsFile, FreshFileGivesTheDefaultsAndIsNotCreatedByLoading) {
    QSettingsPreferenceStore store(path);
    Preferences p(store);
    EXPECT_TRUE(p.enabled());
    EXPECT_EQ(p.triggerAngle(), 50.0);
    EXPECT_EQ(p.frostStrength(), 0.6);
    EXPECT_FALSE(p.diagnostics());
    EXPECT_FALSE(fs::exists(path.toStdString()));
}

TEST_F(SettingsFile, WritesAreOnDiskAtOnceInTheNativeFormat) {
    QSettingsPreferenceStore store(path);
    Preferences p(store);
    p.setEnabled(false);
    p.setDiagnostics(true);
    p.setTriggerAngle(45.5);
    p.setFrostStrength(0.6);
    // No sync, no destruction: already in the file.
    const std::string text = readFile(path);
    EXPECT_NE(text.find("[General]"), std::string::npos);
    EXPECT_NE(text.find("enabled=false\n"), std::string::npos);
    EXPECT_NE(text.find("diagnostics=true\n"), std::string::npos);
    EXPECT_NE(text.find("triggerAngle=45.5\n"), std::string::npos);
    EXPECT_NE(text.find("frostStrength=0.6\n"), std::string::npos);
}

TEST_F(SettingsFile, ValuesSurviveARestart) {
    {
        QSettingsPreferenceStore store(path);
        Preferences p(store);
        p.setEnabled(false);
        p.setTriggerAngle(80); // stored as it is
        p.setFrostStrength(0.1 + 0.2);
        p.setFrostOnDisconnect(true);
        EXPECT_EQ(p.triggerAngle(), 80.0);
    }
    QSettingsPreferenceStore store(path);
    Preferences p(store);
    EXPECT_FALSE(p.enabled());
    EXPECT_EQ(p.triggerAngle(), 70.0);       // limited when read
    EXPECT_EQ(p.frostStrength(), 0.1 + 0.2); // every bit of the double
    EXPECT_TRUE(p.frostOnDisconnect());
    EXPECT_EQ(independentlyRead(path, "triggerAngle").toString(), QStringLiteral("80"));
}

TEST_F(SettingsFile, HandWrittenValuesAreReadAsText) {
    writeFile(path, "[General]\n"
                    "enabled=abc\n"
                    "triggerAngle=abc\n"
                    "frostStrength=1.5\n"
                    "showAngleInMenuBar=true\n"
                    "useInputEvidence=0\n"
                    "frostWhenWalkingAway=\"false\"\n"
                    "frostWhenFar=1, 2\n"
                    "frostOnDisconnect=60\n"
                    "diagnostics=TRUE\n"
                    "onboardingDone=@Invalid()\n");
    QSettingsPreferenceStore store(path);
    Preferences p(store);
    EXPECT_TRUE(p.enabled());          // text: the default, not false
    EXPECT_EQ(p.triggerAngle(), 50.0); // not a number: the default
    EXPECT_EQ(p.frostStrength(), 1.0); // limited
    EXPECT_TRUE(p.showAngleInMenuBar());
    EXPECT_FALSE(p.useInputEvidence());
    EXPECT_FALSE(p.frostWhenWalkingAway()); // quotes are the file format's
    EXPECT_TRUE(p.frostWhenFar());          // a list: the default
    EXPECT_FALSE(p.frostOnDisconnect());    // a number is not a Boolean
    EXPECT_TRUE(p.diagnostics());
    EXPECT_FALSE(p.onboardingDone());
}

TEST_F(SettingsFile, TriggerAngleLimitsOnRead) {
    for (const auto& [text, expected] : std::vector<std::pair<std::string, double>>{
             {"20", 35.0}, {"35", 35.0}, {"52.5", 52.5}, {"70", 70.0}, {"80", 70.0}}) {
        writeFile(path, "[General]\ntriggerAngle=" + text + "\n");
        QSettingsPreferenceStore store(path);
        EXPECT_EQ(Preferences(store).triggerAngle(), expected) << text;
    }
}

TEST_F(SettingsFile, OtherKeysAndOtherWritersAreKept) {
    writeFile(path, "[General]\nsomethingElse=kept\n\n[Other]\nx=1\n");
    QSettingsPreferenceStore store(path);
    Preferences p(store);
    p.setEnabled(false);
    // Another program adds a key between our writes.
    {
        QSettings other(path, QSettings::NativeFormat);
        other.setValue(QStringLiteral("foreign"), QStringLiteral("yes"));
    }
    p.setDiagnostics(true);
    EXPECT_EQ(independentlyRead(path, "somethingElse").toString(), QStringLiteral("kept"));
    EXPECT_EQ(independentlyRead(path, "Other/x").toString(), QStringLiteral("1"));
    EXPECT_EQ(independentlyRead(path, "foreign").toString(), QStringLiteral("yes"));
    EXPECT_EQ(independentlyRead(path, "enabled").toString(), QStringLiteral("false"));
    EXPECT_EQ(independentlyRead(path, "diagnostics").toString(), QStringLiteral("true"));
}

TEST_F(SettingsFile, ACorruptFileNeitherCrashesNorLosesTheOtherKeys) {
    const std::string corrupt = "[General]\n"
                                "triggerAngle=60\n"
                                "other=keep\n"
                                "enabled=\xff\xfe\x00garbage\n"
                                "\x01\x02[[[not a section\n"
                                "=\n"
                                "\\\\broken key=1\n"
                                "[General\n"
                                "frostWhenFar=false\n"s;
    writeFile(path, corrupt);
    QSettingsPreferenceStore store(path);
    Preferences p(store);
    EXPECT_EQ(p.triggerAngle(), 60.0);
    EXPECT_TRUE(p.enabled()); // unreadable: the default
    p.setDiagnostics(true);
    // The keys that could be read are still there, with ours.
    EXPECT_EQ(independentlyRead(path, "triggerAngle").toString(), QStringLiteral("60"));
    EXPECT_EQ(independentlyRead(path, "other").toString(), QStringLiteral("keep"));
    EXPECT_EQ(independentlyRead(path, "diagnostics").toString(), QStringLiteral("true"));
    // And the file as it was is kept beside it.
    EXPECT_EQ(readFile(store.corruptCopyFileName()), corrupt);
    // Made once: a second write does not overwrite the copy.
    p.setDiagnostics(false);
    EXPECT_EQ(readFile(store.corruptCopyFileName()), corrupt);
}

TEST_F(SettingsFile, RandomBytesNeitherCrashNorStopWriting) {
    std::mt19937 random(20260309);
    for (int round = 0; round < 20; ++round) {
        std::string bytes(4096, '\0');
        for (auto& b : bytes) {
            b = static_cast<char>(random() & 0xff);
        }
        writeFile(path, bytes + "\n[General]\nfrostStrength=0.25\n");
        QSettingsPreferenceStore store(path);
        Preferences p(store);
        EXPECT_GE(p.triggerAngle(), 35.0);
        EXPECT_LE(p.triggerAngle(), 70.0);
        p.setTriggerAngle(55);
        QSettingsPreferenceStore again(path);
        EXPECT_EQ(Preferences(again).triggerAngle(), 55.0) << "round " << round;
    }
}

TEST_F(SettingsFile, AFolderInTheFilesPlaceReadsAsDefaultsAndIsLeftAlone) {
    fs::create_directories(path.toStdString());
    QSettingsPreferenceStore store(path);
    Preferences p(store);
    EXPECT_TRUE(p.enabled());
    p.setEnabled(false); // no crash; lives for this run only
    EXPECT_FALSE(p.enabled());
    EXPECT_TRUE(fs::is_directory(path.toStdString()));
}

TEST_F(SettingsFile, AnUnreadableFileIsNeverWrittenOver) {
    if (::geteuid() == 0) {
        GTEST_SKIP() << "root reads any file";
    }
    writeFile(path, "[General]\nother=keep\ntriggerAngle=60\n");
    fs::permissions(path.toStdString(), fs::perms::owner_write);
    {
        QSettingsPreferenceStore store(path);
        Preferences p(store);
        EXPECT_EQ(p.triggerAngle(), 50.0);
        p.setEnabled(false);
    }
    fs::permissions(path.toStdString(), fs::perms::owner_read | fs::perms::owner_write);
    EXPECT_EQ(readFile(path), "[General]\nother=keep\ntriggerAngle=60\n");
}

} // namespace
} // namespace quelmo
