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

// "restricted" (an administrator's word) reads as denied.
TEST(MotionAccessRecord, ReadsOnlyTheThreeKnownWords) {
    test::TempPaths temp;
    const std::string record = temp.paths.accessRecordPath();
    EXPECT_EQ(readMotionAccess(record), MotionAccess::notDetermined); // absent
    ::mkdir((temp.paths.configDir + "/Quelmo").c_str(), 0700);
    const std::pair<const char*, MotionAccess> cases[] = {
        {"authorized", MotionAccess::authorized},
        {"denied\n", MotionAccess::denied},
        {"restricted \r\n", MotionAccess::denied},
        {"", MotionAccess::notDetermined},
        {"yes", MotionAccess::notDetermined},
        {" authorized", MotionAccess::notDetermined},
        {"authorized\ndenied", MotionAccess::notDetermined},
    };
    for (const auto& [text, expected] : cases) {
        std::ofstream(record, std::ios::trunc) << text;
        EXPECT_EQ(readMotionAccess(record), expected) << text;
    }
    // A folder in the record's place is unreadable, hence undecided.
    ::unlink(record.c_str());
    ::mkdir(record.c_str(), 0700);
    EXPECT_EQ(readMotionAccess(record), MotionAccess::notDetermined);
}

TEST(MotionAccessRecord, WritingCreatesAPrivateRecordAndUndecidedRemovesIt) {
    test::TempPaths temp;
    const std::string record = temp.paths.accessRecordPath();
    std::string error;
    ASSERT_TRUE(writeMotionAccess(record, MotionAccess::denied, error)) << error;
    EXPECT_EQ(readMotionAccess(record), MotionAccess::denied);
    struct stat st {};
    ASSERT_EQ(::stat(record.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u);
    ASSERT_TRUE(writeMotionAccess(record, MotionAccess::authorized, error));
    EXPECT_EQ(readMotionAccess(record), MotionAccess::authorized);
    ASSERT_TRUE(writeMotionAccess(record, MotionAccess::notDetermined, error));
    EXPECT_NE(::stat(record.c_str(), &st), 0);

    EXPECT_FALSE(
        writeMotionAccess("/proc/quelmo-no-such/motion-access", MotionAccess::denied, error));
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
    std::vector<MotionAccess> changes;
    openMotionAccessSettings([&](MotionAccess s) { changes.push_back(s); }, record);
    QWidget* dialog = visibleWindow("motionAccessDialog");
    ASSERT_NE(dialog, nullptr);
    auto* allow = dialog->findChild<QCheckBox*>(QStringLiteral("allowCheckBox"));
    ASSERT_NE(allow, nullptr);
    EXPECT_FALSE(allow->isChecked());

    allow->click();
    EXPECT_EQ(readMotionAccess(record), MotionAccess::authorized);
    allow->click();
    EXPECT_EQ(readMotionAccess(record), MotionAccess::denied);
    EXPECT_EQ(changes, (std::vector<MotionAccess>{MotionAccess::authorized, MotionAccess::denied}));

    // Opening again reuses the window and shows the record as it is now:
    // restricted by an administrator, which the user cannot change.
    std::ofstream(record, std::ios::trunc) << "restricted\n";
    openMotionAccessSettings({}, record);
    EXPECT_EQ(visibleWindow("motionAccessDialog"), dialog);
    EXPECT_FALSE(allow->isChecked());
    EXPECT_FALSE(allow->isEnabled());
    EXPECT_TRUE(
        dialog->findChild<QLabel*>(QStringLiteral("statusLabel"))->text().contains("restricted"));
    dialog->close();
    EXPECT_TRUE(test::waitFor([] { return visibleWindow("motionAccessDialog") == nullptr; }));
}

} // namespace
} // namespace quelmo
