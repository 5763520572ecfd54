// SPDX-License-Identifier: MIT
// The consent record, the permission prompt and the Motion Access window.

#include "platform/motion/motion_access.h"
#include "tests/platform/motion/motion_test_support.h"
#include "ui/motion_access/motion_access_ui.h"

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QWidget>
#include <gtest/gtest.h>

#include <fstream>
#include <sys/stat.h>

namespace quelmo {
namespace {

QWidget* visibleWindow(const char* name) {
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (w->objectName() == QLatin1String(name) && w->isVisible())
            return w;
    }
    return nullptr;
}

TEST(MotionAccessRecord, ReadsOnlyTheThreeKnownWords) {
    test::TempPaths temp;
    const std::string record = temp.paths.accessRecordPath();
    EXPECT_EQ(readMotionAccess(record), MotionAccessStatus::notDetermined); // absent
    ::mkdir((temp.paths.configDir + "/Quelmo").c_str(), 0700);
    const std::pair<const char*, MotionAccessStatus> cases[] = {
        {"authorized", MotionAccessStatus::authorized},
        {"denied\n", MotionAccessStatus::denied},
        {"restricted \r\n", MotionAccessStatus::restricted},
        {"", MotionAccessStatus::notDetermined},
        {"yes", MotionAccessStatus::notDetermined},
        {" authorized", MotionAccessStatus::notDetermined},
        {"authorized\ndenied", MotionAccessStatus::notDetermined},
    };
    for (const auto& [text, expected] : cases) {
        std::ofstream(record, std::ios::trunc) << text;
        EXPECT_EQ(readMotionAccess(record), expected) << text;
    }
    // A folder in the record's place is unreadable, hence undecided.
    ::unlink(record.c_str());
    ::mkdir(record.c_str(), 0700);
    EXPECT_EQ(readMotionAccess(record), MotionAccessStatus::notDetermined);
}

TEST(MotionAccessRecord, WritingCreatesAPrivateRecordAndUndecidedRemovesIt) {
    test::TempPaths temp;
    const std::string record = temp.paths.accessRecordPath();
    std::string error;
    ASSERT_TRUE(writeMotionAccess(record, MotionAccessStatus::denied, error)) << error;
    EXPECT_EQ(readMotionAccess(record), MotionAccessStatus::denied);
    struct stat st {};
    ASSERT_EQ(::stat(record.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u);
    ASSERT_TRUE(writeMotionAccess(record, MotionAccessStatus::authorized, error));
    EXPECT_EQ(readMotionAccess(record), MotionAccessStatus::authorized);
    ASSERT_TRUE(writeMotionAccess(record, MotionAccessStatus::notDetermined, error));
    EXPECT_NE(::stat(record.c_str(), &st), 0);

    EXPECT_FALSE(
        writeMotionAccess("/proc/quelmo-no-such/motion-access", MotionAccessStatus::denied, error));
    EXPECT_FALSE(error.empty());
}

TEST(MotionAccessPrompt, AnswersWithTheButtonPressedOrNothingWhenClosed) {
    std::optional<std::optional<bool>> got;
    askForMotionAccess([&](std::optional<bool> a) { got = a; });
    QWidget* prompt = visibleWindow("motionAccessPrompt");
    ASSERT_NE(prompt, nullptr);
    EXPECT_FALSE(prompt->isModal());
    auto* allow = prompt->findChild<QPushButton*>(QStringLiteral("allowButton"));
    ASSERT_NE(allow, nullptr);
    EXPECT_EQ(allow->text(), QStringLiteral("Allow"));
    allow->click();
    ASSERT_TRUE(test::waitFor([&] { return got.has_value(); }));
    EXPECT_EQ(*got, std::optional<bool>(true));
    EXPECT_TRUE(test::waitFor([] { return visibleWindow("motionAccessPrompt") == nullptr; }));

    got.reset();
    askForMotionAccess([&](std::optional<bool> a) { got = a; });
    prompt = visibleWindow("motionAccessPrompt");
    ASSERT_NE(prompt, nullptr);
    prompt->findChild<QPushButton*>(QStringLiteral("denyButton"))->click();
    ASSERT_TRUE(test::waitFor([&] { return got.has_value(); }));
    EXPECT_EQ(*got, std::optional<bool>(false));

    got.reset();
    askForMotionAccess([&](std::optional<bool> a) { got = a; });
    visibleWindow("motionAccessPrompt")->close();
    ASSERT_TRUE(test::waitFor([&] { return got.has_value(); }));
    EXPECT_EQ(*got, std::nullopt);
}

TEST(MotionAccessSettings, TheCheckBoxWritesTheRecord) {
    test::TempPaths temp;
    const std::string record = temp.paths.accessRecordPath();
    std::vector<MotionAccessStatus> changes;
    openMotionAccessSettings([&](MotionAccessStatus s) { changes.push_back(s); }, record);
    QWidget* dialog = visibleWindow("motionAccessDialog");
    ASSERT_NE(dialog, nullptr);
    auto* allow = dialog->findChild<QCheckBox*>(QStringLiteral("allowCheckBox"));
    ASSERT_NE(allow, nullptr);
    EXPECT_FALSE(allow->isChecked());

    allow->click();
    EXPECT_EQ(readMotionAccess(record), MotionAccessStatus::authorized);
    allow->click();
    EXPECT_EQ(readMotionAccess(record), MotionAccessStatus::denied);
    EXPECT_EQ(changes, (std::vector<MotionAccessStatus>{MotionAccessStatus::authorized,
                                                        MotionAccessStatus::denied}));

    // Opening again reuses the window and shows the record as it is now.
    std::string error;
    ASSERT_TRUE(writeMotionAccess(record, MotionAccessStatus::restricted, error));
    openMotionAccessSettings({}, record);
    EXPECT_EQ(visibleWindow("motionAccessDialog"), dialog);
    EXPECT_FALSE(allow->isEnabled());
    EXPECT_TRUE(
        dialog->findChild<QLabel*>(QStringLiteral("statusLabel"))->text().contains("restricted"));
    dialog->close();
    EXPECT_TRUE(test::waitFor([] { return visibleWindow("motionAccessDialog") == nullptr; }));
}

} // namespace
} // namespace quelmo
