// SPDX-License-Identifier: MIT
#include "status_rig.h"

#include "ui/icons/symbol_icons.h"
#include "ui/overlay/frost_coverage.h"
#include "ui/tray/tray_pixmap.h"
#include "ui/tray/tray_texts.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace quelmo {
namespace {

using test::Kind;
using test::StatusRig;

QString degrees(const char* digits) {
    return QString::fromLatin1(digits) + QChar(0x00B0);
}

TEST(TrayAngleText, AbsoluteCappedAndRoundedLikePrintf) {
    EXPECT_EQ(trayAngleText(5.4), degrees("  5"));
    EXPECT_EQ(trayAngleText(-37.6), degrees(" 38"));
    EXPECT_EQ(trayAngleText(140.0), degrees(" 99"));
    EXPECT_EQ(trayAngleText(-120.0), degrees(" 99"));
    EXPECT_EQ(trayAngleText(0.0), degrees("  0"));
    EXPECT_EQ(trayAngleText(2.5), degrees("  2")); // printf rounds halves to even
    EXPECT_EQ(trayAngleText(99.6), degrees(" 99"));
    EXPECT_EQ(trayAngleText(std::numeric_limits<double>::infinity()), degrees(" 99"));
    EXPECT_EQ(trayAngleText(std::nan("")), QString());
}

TEST(TrayTexts, DetailLineAndToolTip) {
    EXPECT_EQ(detailLineText(Kind::watching, 45.0),
              QStringLiteral("Frosts when you turn past 45\u00B0."));
    EXPECT_EQ(detailLineText(Kind::watching, 47.6),
              QStringLiteral("Frosts when you turn past 48\u00B0."));
    for (Kind kind : {Kind::paused, Kind::needsSetup, Kind::permissionDenied, Kind::unsupported,
                      Kind::off, Kind::screenLocked, Kind::calibrating}) {
        EXPECT_TRUE(detailLineText(kind, 50.0).isEmpty()) << kindName(kind);
    }
    EXPECT_EQ(trayToolTip(AppStatus::frosted()),
              QStringLiteral("Quelmo: Frosted. You're turned away."));
}

TEST(SymbolIcons, EverySymbolInBothTonesAndNothingElse) {
    for (const char* name : {"eye", "eye.slash", "eye.slash.fill", "pause.circle",
                             "exclamationmark.circle", "airpodspro"}) {
        for (IconTone tone : {IconTone::light, IconTone::dark}) {
            const QImage image = renderSymbol(QString::fromLatin1(name), tone, QSize(22, 22));
            ASSERT_FALSE(image.isNull()) << name;
            int inked = 0;
            for (int y = 0; y < 22; ++y) {
                for (int x = 0; x < 22; ++x) {
                    inked += qAlpha(image.pixel(x, y)) > 128;
                }
            }
            EXPECT_GT(inked, 20) << name;
        }
    }
    EXPECT_TRUE(symbolIconPath(QStringLiteral("gear"), IconTone::light).isEmpty());
    EXPECT_TRUE(symbolIconPath(QStringLiteral("../quelmo"), IconTone::light).isEmpty());
    EXPECT_FALSE(appIcon().pixmap(64, 64).isNull());
    EXPECT_EQ(toneForBackground(Qt::black), IconTone::dark);
    EXPECT_EQ(toneForBackground(Qt::white), IconTone::light);
}

TEST(TrayPixmap, IconThenAFixedWidthAngleDimmedWhenAsked) {
    TrayLook look{QStringLiteral("eye"), QString(), false, QString()};
    const QPixmap alone = renderTrayPixmap(look, IconTone::light, 22, 1.0);
    EXPECT_EQ(alone.size(), QSize(22, 22));
    look.angleText = trayAngleText(5);
    const QPixmap five = renderTrayPixmap(look, IconTone::light, 22, 1.0);
    look.angleText = trayAngleText(99);
    const QPixmap ninetyNine = renderTrayPixmap(look, IconTone::light, 22, 1.0);
    EXPECT_GT(five.width(), 22);
    EXPECT_EQ(five.size(), ninetyNine.size());
    // The icon's square is the same with or without the text.
    EXPECT_EQ(five.toImage().copy(0, 0, 22, 22), alone.toImage());

    const auto maxAlpha = [](const QPixmap& p) {
        const QImage image = p.toImage();
        int most = 0;
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x) {
                most = std::max(most, qAlpha(image.pixel(x, y)));
            }
        }
        return most;
    };
    look.dimmed = true;
    EXPECT_LT(maxAlpha(renderTrayPixmap(look, IconTone::light, 22, 1.0)),
              maxAlpha(ninetyNine) * 0.6);

    // A symbol we have no icon for falls back to the eye.
    EXPECT_EQ(traySymbolFor(QStringLiteral("questionmark")), QStringLiteral("eye"));
    TrayLook unknown{QStringLiteral("questionmark"), QString(), false, QString()};
    EXPECT_EQ(renderTrayPixmap(unknown, IconTone::light, 22, 1.0).toImage(), alone.toImage());
    // Twice the pixels on a 2× display.
    EXPECT_EQ(renderTrayPixmap(look, IconTone::dark, 22, 2.0).size(), ninetyNine.size() * 2);
}

TEST(TrayLookFollowsTheModel, IconTooltipAndDimming) {
    StatusRig s;
    s.reach(Kind::watching);
    const TrayLook& look = s.controller->look();
    EXPECT_EQ(look.symbolName, QStringLiteral("eye"));
    EXPECT_EQ(look.toolTip, QStringLiteral("Quelmo: Watching. Turn away and it frosts."));
    EXPECT_FALSE(look.dimmed);
    EXPECT_TRUE(look.angleText.isEmpty()); // the angle is off by default

    s.rig.prefs->setEnabled(false);
    ASSERT_EQ(s.status(), Kind::off);
    EXPECT_EQ(look.symbolName, QStringLiteral("eye.slash"));
    EXPECT_TRUE(look.dimmed);
    s.rig.prefs->setEnabled(true);
    EXPECT_FALSE(look.dimmed);
    s.rig.system.handlers.screenLocked();
    EXPECT_TRUE(look.dimmed);
    EXPECT_EQ(look.toolTip, QStringLiteral("Quelmo: Resting while the screen is locked"));
}

TEST(TrayLookFollowsTheModel, ToolTipSaysWhenNothingCanCoverTheScreen) {
    setFrostCoverageProblem(noCoverageText());
    StatusRig s;
    s.reach(Kind::watching);
    EXPECT_EQ(s.controller->look().toolTip,
              QStringLiteral("Quelmo: Watching. Turn away and it frosts.\n") + noCoverageText());
    setFrostCoverageProblem(QString());
}

TEST(TrayLookFollowsTheModel, TheAngleShowsAtOnceAndOnlyWhileHeadDataIsLive) {
    StatusRig s;
    s.reach(Kind::watching);
    const TrayLook& look = s.controller->look();
    s.rig.prefs->setShowAngleInMenuBar(true);
    EXPECT_EQ(look.angleText, trayAngleText(s.rig.model->liveAngle()));
    EXPECT_FALSE(look.angleText.isEmpty());

    // Turning: the text follows the published angle, not the one before it.
    s.rig.turn(0.0, 80.0);
    s.rig.samples(80.0, 1.0);
    ASSERT_EQ(s.status(), Kind::frosted);
    EXPECT_EQ(look.angleText, trayAngleText(s.rig.model->liveAngle()));
    EXPECT_NE(look.angleText, trayAngleText(0.0));

    s.rig.prefs->setShowAngleInMenuBar(false);
    EXPECT_TRUE(look.angleText.isEmpty());
}

TEST(TrayLookFollowsTheModel, TheAngleGoesWithTheStatusThatHidesIt) {
    StatusRig s;
    s.rig.store.set("showAngleInMenuBar", "true");
    s.reach(Kind::frosted);
    const TrayLook& look = s.controller->look();
    ASSERT_FALSE(look.angleText.isEmpty());
    // The new status reaches the tray before the model holds it; the angle
    // must go in the same step, not at the next angle change.
    s.rig.model->pause(600);
    ASSERT_EQ(s.status(), Kind::paused);
    EXPECT_TRUE(look.angleText.isEmpty());
    EXPECT_EQ(look.symbolName, QStringLiteral("pause.circle"));
}

TEST(TrayLookFollowsTheModel, NoTrayHostMeansNoIconButTheAppRuns) {
    StatusRig s;
    s.reach(Kind::watching);
    EXPECT_EQ(s.controller->trayIcon(), nullptr);
    EXPECT_FALSE(s.controller->trayPixmap().isNull());
}

} // namespace
} // namespace quelmo
