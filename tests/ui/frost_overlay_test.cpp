// SPDX-License-Identifier: MIT
#include "frost_test_rig.h"

#include "ui/overlay/frost_look.h"
#include "ui/overlay/frost_texts.h"

#include <QElapsedTimer>
#include <QGuiApplication>
#include <QScreen>

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace quelmo {
namespace {

using test::FrostRig;

const std::pair<QString, QString> kTurnedAway{
    QStringLiteral("Look back to see your screen"),
    QString::fromUtf8("Stuck? Move the mouse for 3 seconds, or press Ctrl+Alt+Super+R")};
const std::pair<QString, QString> kAway{
    QStringLiteral("Welcome back"),
    QStringLiteral("Touch the keyboard or mouse to see your screen")};

std::vector<std::pair<QString, QString>> everyWindow(const FrostRig& rig,
                                                     const std::pair<QString, QString>& texts) {
    return std::vector<std::pair<QString, QString>>(rig.overlay.windows().size(), texts);
}

TEST(FrostOverlay, StartsHiddenWithOneCoveringWindowPerScreen) {
    FrostRig rig;
    const auto screens = QGuiApplication::screens();
    ASSERT_EQ(rig.overlay.windows().size(), static_cast<std::size_t>(screens.size()));
    for (int i = 0; i < screens.size(); ++i) {
        const FrostWindow& window = *rig.overlay.windows()[static_cast<std::size_t>(i)];
        EXPECT_EQ(window.geometry(), screens[i]->geometry());
        EXPECT_EQ(window.targetScreen(), screens[i]);
        const Qt::WindowFlags flags = window.windowFlags();
        EXPECT_TRUE(flags.testFlag(Qt::WindowTransparentForInput));
        EXPECT_TRUE(flags.testFlag(Qt::WindowDoesNotAcceptFocus));
        EXPECT_TRUE(flags.testFlag(Qt::WindowStaysOnTopHint));
        EXPECT_TRUE(flags.testFlag(Qt::X11BypassWindowManagerHint));
        EXPECT_TRUE(flags.testFlag(Qt::FramelessWindowHint));
        EXPECT_NEAR(window.tint().alphaF(), 0.64, 0.002);
    }
    EXPECT_FALSE(rig.overlay.isShown());
    EXPECT_TRUE(rig.noneVisible());
    EXPECT_EQ(rig.texts(), everyWindow(rig, kTurnedAway));
    EXPECT_EQ(rig.pictures, 0);
}

TEST(FrostOverlay, WithoutCompositorShowsAndHidesAtOnceKeepingTheLastWording) {
    FrostRig rig;
    rig.overlay.setFrost(true, false);
    EXPECT_TRUE(rig.overlay.isShown());
    EXPECT_TRUE(rig.allShown());
    EXPECT_EQ(rig.texts(), everyWindow(rig, kTurnedAway));
    const int pictures = static_cast<int>(rig.overlay.windows().size());
    EXPECT_EQ(rig.pictures, pictures);
    for (const auto& window : rig.overlay.windows()) {
        EXPECT_FALSE(window->backdrop().isNull());
    }

    // Switching to the away wording while shown: new texts at once, no new fade.
    rig.overlay.setFrost(true, true);
    EXPECT_EQ(rig.texts(), everyWindow(rig, kAway));
    EXPECT_EQ(rig.pictures, pictures);
    EXPECT_TRUE(rig.allShown());

    // Clearing leaves the wording as it was, whatever `away` says.
    rig.overlay.setFrost(false, false);
    EXPECT_FALSE(rig.overlay.isShown());
    EXPECT_TRUE(rig.noneVisible());
    EXPECT_EQ(rig.texts(), everyWindow(rig, kAway));

    // The next frost takes a fresh picture and its own wording.
    rig.overlay.setFrost(true, false);
    EXPECT_TRUE(rig.allShown());
    EXPECT_EQ(rig.texts(), everyWindow(rig, kTurnedAway));
    EXPECT_EQ(rig.pictures, 2 * pictures);
}

TEST(FrostOverlayFades, FadeInThenFadeOutThenUnmap) {
    FrostRig rig(true);
    rig.overlay.setFrost(true, false);
    ASSERT_TRUE(rig.overlay.isShown());
    for (const auto& window : rig.overlay.windows()) {
        EXPECT_TRUE(window->isVisible());
        EXPECT_LT(window->windowOpacity(), 1.0); // starts from transparent
    }
    EXPECT_TRUE(QTest::qWaitFor([&] { return rig.allShown(); }, 5000));

    rig.overlay.setFrost(false, false);
    EXPECT_FALSE(rig.overlay.isShown());
    EXPECT_FALSE(rig.noneVisible()); // still fading
    EXPECT_TRUE(QTest::qWaitFor([&] { return rig.noneVisible(); }, 5000));
    for (const auto& window : rig.overlay.windows()) {
        EXPECT_EQ(window->windowOpacity(), 0.0);
    }
}

TEST(FrostOverlayFades, AFadeInDuringAFadeOutKeepsTheWindows) {
    FrostRig rig(true);
    rig.overlay.setFrost(true, false);
    ASSERT_TRUE(QTest::qWaitFor([&] { return rig.allShown(); }, 5000));
    const int pictures = rig.pictures;

    rig.overlay.setFrost(false, false);
    QTest::qWait(10);
    rig.overlay.setFrost(true, false);
    EXPECT_TRUE(rig.overlay.isShown());
    // Long after the fade-out would have ended, the windows are still there, opaque.
    QTest::qWait(200);
    EXPECT_TRUE(rig.allShown());
    // They kept their picture: a window still on screen is never photographed.
    EXPECT_EQ(rig.pictures, pictures);
}

TEST(FrostOverlayFades, ARebuildDuringAFadeOutLeavesTheFrostHidden) {
    FrostRig rig(true);
    rig.overlay.setFrost(true, false);
    ASSERT_TRUE(QTest::qWaitFor([&] { return rig.allShown(); }, 5000));
    rig.overlay.setFrost(false, false);
    rig.overlay.setStrength(0.2);
    EXPECT_FALSE(rig.overlay.isShown());
    EXPECT_TRUE(rig.noneVisible());
    QTest::qWait(100);
    EXPECT_TRUE(rig.noneVisible());
}

TEST(FrostOverlayPreview, ShowsForItsPeriodThenClears) {
    FrostRig rig;
    QElapsedTimer clock;
    clock.start();
    rig.overlay.preview(0.2);
    EXPECT_TRUE(rig.overlay.isPreviewRunning());
    EXPECT_TRUE(rig.allShown());
    ASSERT_TRUE(QTest::qWaitFor([&] { return !rig.overlay.isShown(); }, 5000));
    EXPECT_GE(clock.elapsed(), 200);
    EXPECT_FALSE(rig.overlay.isPreviewRunning());
    EXPECT_TRUE(rig.noneVisible());
}

TEST(FrostOverlayPreview, ASecondPreviewRestartsThePeriod) {
    FrostRig rig;
    QElapsedTimer sinceFirst;
    sinceFirst.start();
    rig.overlay.preview(2.0);
    // Halfway through, however slowly the machine runs, the second one comes.
    ASSERT_TRUE(QTest::qWaitFor([&] { return sinceFirst.elapsed() >= 1000; }, 5000));
    ASSERT_TRUE(rig.overlay.isShown());
    QElapsedTimer sinceSecond;
    sinceSecond.start();
    rig.overlay.preview(2.0);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !rig.overlay.isShown(); }, 8000));
    // Had the first preview's end still been pending, it would have come ~1 s in.
    EXPECT_GE(sinceSecond.elapsed(), 2000);
    EXPECT_EQ(rig.pictures, static_cast<int>(rig.overlay.windows().size()));
}

TEST(FrostOverlayPreview, AFrostWantedMeanwhileOutlastsThePreview) {
    FrostRig rig;
    rig.overlay.preview(0.05);
    rig.overlay.setFrost(true, true);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !rig.overlay.isPreviewRunning(); }, 5000));
    QTest::qWait(20);
    EXPECT_TRUE(rig.overlay.isShown());
    EXPECT_TRUE(rig.allShown());

    // And a preview while frosted changes nothing when it ends.
    rig.overlay.preview(0.05);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !rig.overlay.isPreviewRunning(); }, 5000));
    QTest::qWait(20);
    EXPECT_TRUE(rig.allShown());
}

TEST(FrostOverlayPreview, UnusableDurationsEndPromptlyAndHugeOnesDoNotOverflow) {
    FrostRig rig;
    for (double seconds : {std::numeric_limits<double>::quiet_NaN(), -3.0,
                           -std::numeric_limits<double>::infinity()}) {
        rig.overlay.preview(seconds);
        EXPECT_TRUE(rig.overlay.isShown());
        EXPECT_TRUE(QTest::qWaitFor([&] { return !rig.overlay.isShown(); }, 5000)) << seconds;
    }
    rig.overlay.preview(1e12);
    QTest::qWait(20);
    EXPECT_TRUE(rig.overlay.isPreviewRunning());
    EXPECT_TRUE(rig.overlay.isShown());
}

TEST(FrostOverlayStrength, OnlyAChangedValueRebuilds) {
    FrostRig rig;
    const auto before = rig.windowIdentities();
    rig.overlay.setStrength(0.6);
    EXPECT_EQ(rig.windowIdentities(), before);
    rig.overlay.setStrength(std::nan(""));
    EXPECT_EQ(rig.windowIdentities(), before);
    EXPECT_EQ(rig.overlay.strength(), 0.6);

    rig.overlay.setStrength(1.0);
    EXPECT_NE(rig.windowIdentities(), before);
    for (const auto& window : rig.overlay.windows()) {
        EXPECT_NEAR(window->tint().alphaF(), 0.92, 0.002);
    }
    // Out-of-range values are held to 0...1: 5 is 1, already set.
    const auto atOne = rig.windowIdentities();
    rig.overlay.setStrength(5.0);
    EXPECT_EQ(rig.windowIdentities(), atOne);
    rig.overlay.setStrength(-1.0);
    EXPECT_EQ(rig.overlay.strength(), 0.0);
    for (const auto& window : rig.overlay.windows()) {
        EXPECT_NEAR(window->tint().alphaF(), 0.22, 0.002);
    }
}

TEST(FrostOverlayStrength, ARebuildWhileShownKeepsTheFrostItsWordingAndItsPicture) {
    FrostRig rig(true);
    rig.overlay.setFrost(true, true);
    const int pictures = rig.pictures;
    const auto before = rig.windowIdentities();
    rig.overlay.setStrength(1.0);
    EXPECT_NE(rig.windowIdentities(), before);
    EXPECT_TRUE(rig.overlay.isShown());
    // At once, with no fade, even though fades are on.
    EXPECT_TRUE(rig.allShown());
    EXPECT_EQ(rig.texts(), everyWindow(rig, kAway));
    EXPECT_EQ(rig.pictures, pictures);
    for (const auto& window : rig.overlay.windows()) {
        EXPECT_FALSE(window->backdrop().isNull());
    }
}

} // namespace
} // namespace quelmo
