// SPDX-License-Identifier: MIT
#include "status_rig.h"

#include "ui/tray/tray_texts.h"

#include <QAction>
#include <QMessageBox>

#include <gtest/gtest.h>

namespace quelmo {
namespace {

using test::Kind;
using test::StatusRig;

TEST(StatusMenu, ThirteenEntriesInOrderWithTheirKeys) {
    StatusRig s;
    s.start();
    const QList<QAction*> items = s.controller->menu()->actions();
    ASSERT_EQ(items.size(), 13);
    const QStringList titles = {QString(),
                                QString(),
                                QString(),
                                QString(),
                                QStringLiteral("Turn Quelmo Off"),
                                QStringLiteral("Pause for 30 Minutes"),
                                QStringLiteral("I'm Facing the Screen"),
                                QString(),
                                QStringLiteral("Settings\u2026"),
                                QStringLiteral("Welcome Guide\u2026"),
                                QStringLiteral("About Quelmo"),
                                QString(),
                                QStringLiteral("Quit Quelmo")};
    for (int i = 0; i < 13; ++i) {
        EXPECT_EQ(items[i]->isSeparator(), i == 3 || i == 7 || i == 11) << i;
        if (i > 2) {
            EXPECT_EQ(items[i]->text(), titles[i]) << i;
        }
    }
    EXPECT_EQ(items[0], s.controller->statusLine());
    EXPECT_EQ(items[1], s.controller->detailLine());
    EXPECT_EQ(items[2], s.controller->fixItem());
    EXPECT_FALSE(s.controller->statusLine()->isEnabled());
    EXPECT_FALSE(s.controller->detailLine()->isEnabled());
    EXPECT_EQ(s.controller->recenterItem()->shortcut(),
              QKeySequence(Qt::CTRL | Qt::ALT | Qt::META | Qt::Key_R));
    EXPECT_EQ(s.controller->settingsItem()->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_Comma));
    EXPECT_EQ(s.controller->quitItem()->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_Q));
    EXPECT_TRUE(s.controller->guideItem()->shortcut().isEmpty());
    EXPECT_TRUE(s.controller->toggleItem()->shortcut().isEmpty());
}

struct MenuCase {
    Kind kind;
    QString detail;
    QString fix; // empty: hidden
    bool recenter;
    bool enabled = true;
};

TEST(StatusMenu, LinesVisibilityAndEnablingForEveryStatus) {
    const QString none;
    const std::vector<MenuCase> cases = {
        {Kind::paused, none, none, false},
        {Kind::needsSetup, none, QStringLiteral("Finish Setup\u2026"), false},
        {Kind::permissionDenied, none, QStringLiteral("Open Motion Access Settings\u2026"), false},
        {Kind::unsupported, none, none, false},
        {Kind::off, none, none, false, false},
        {Kind::screenLocked, none, none, false},
        {Kind::waitingForAirPods,
         QStringLiteral("Put them in your ears and connect them to this computer."), none, false},
        {Kind::calibrating, none, none, true},
        {Kind::watching, QStringLiteral("Frosts when you turn past 50\u00B0."), none, true},
        {Kind::frosted, QStringLiteral("Look back, or move the mouse for 3 seconds."), none, true},
        {Kind::away, QStringLiteral("Touch the keyboard or mouse to see your screen."), none, true},
    };
    for (const MenuCase& c : cases) {
        StatusRig s;
        s.reach(c.kind);
        ASSERT_EQ(s.status(), c.kind) << kindName(c.kind);
        emit s.controller->menu()->aboutToShow();
        StatusItemController& item = *s.controller;
        SCOPED_TRACE(kindName(c.kind));
        EXPECT_EQ(item.statusLine()->text(), s.rig.model->status().title());
        EXPECT_EQ(item.detailLine()->text(), c.detail);
        EXPECT_EQ(item.detailLine()->isVisible(), !c.detail.isEmpty());
        EXPECT_EQ(item.fixItem()->isVisible(), !c.fix.isEmpty());
        if (!c.fix.isEmpty()) {
            EXPECT_EQ(item.fixItem()->text(), c.fix);
        }
        EXPECT_EQ(item.recenterItem()->isEnabled(), c.recenter);
        EXPECT_EQ(item.toggleItem()->text(),
                  c.enabled ? QStringLiteral("Turn Quelmo Off") : QStringLiteral("Turn Quelmo On"));
        EXPECT_EQ(item.pauseItem()->isEnabled(), c.enabled);
        EXPECT_EQ(item.pauseItem()->text(), c.kind == Kind::paused
                                                ? QStringLiteral("Resume Now")
                                                : QStringLiteral("Pause for 30 Minutes"));
        for (QAction* always :
             {item.settingsItem(), item.guideItem(), item.aboutItem(), item.quitItem()}) {
            EXPECT_TRUE(always->isEnabled());
            EXPECT_TRUE(always->isVisible());
        }
    }
}

// A panel lays the menu out from what was published before it opens it, so
// the lines follow every change without waiting for the menu to open.
TEST(StatusMenu, TheLinesFollowChangesBeforeTheMenuOpens) {
    StatusRig s;
    s.reach(Kind::watching);
    EXPECT_EQ(s.controller->statusLine()->text(), s.rig.model->status().title());
    s.rig.prefs->setTriggerAngle(47.6);
    EXPECT_EQ(s.controller->detailLine()->text(),
              QStringLiteral("Frosts when you turn past 48\u00B0."));
    s.rig.model->pause(600);
    EXPECT_EQ(s.controller->statusLine()->text(), s.rig.model->status().title());
    EXPECT_FALSE(s.controller->detailLine()->isVisible());
    EXPECT_EQ(s.controller->pauseItem()->text(), QStringLiteral("Resume Now"));
    s.rig.prefs->setEnabled(false);
    EXPECT_EQ(s.controller->toggleItem()->text(), QStringLiteral("Turn Quelmo On"));
    EXPECT_FALSE(s.controller->pauseItem()->isEnabled());
}

TEST(StatusMenuActions, PauseAndResumeFollowTheTitle) {
    StatusRig s;
    s.reach(Kind::watching);
    AppModel& model = *s.rig.model;
    model.pause(600);
    emit s.controller->menu()->aboutToShow();
    ASSERT_EQ(s.controller->pauseItem()->text(), QStringLiteral("Resume Now"));
    s.controller->pauseItem()->trigger();
    EXPECT_FALSE(model.isPaused());
    emit s.controller->menu()->aboutToShow();
    ASSERT_EQ(s.controller->pauseItem()->text(), QStringLiteral("Pause for 30 Minutes"));
    s.controller->pauseItem()->trigger();
    ASSERT_TRUE(model.pausedUntil().has_value());
    EXPECT_EQ(*model.pausedUntil() - s.rig.scheduler.now(), std::chrono::seconds(1800));
    EXPECT_EQ(s.status(), Kind::paused);
}

TEST(StatusMenuActions, ToggleFlipsThePreference) {
    StatusRig s;
    s.reach(Kind::watching);
    s.controller->toggleItem()->trigger();
    EXPECT_FALSE(s.rig.prefs->enabled());
    EXPECT_EQ(s.status(), Kind::off);
    emit s.controller->menu()->aboutToShow();
    EXPECT_EQ(s.controller->toggleItem()->text(), QStringLiteral("Turn Quelmo On"));
    EXPECT_FALSE(s.controller->pauseItem()->isEnabled());
    s.controller->toggleItem()->trigger();
    EXPECT_TRUE(s.rig.prefs->enabled());
}

TEST(StatusMenuActions, CommandsReachTheirTargets) {
    StatusRig s;
    s.reach(Kind::frosted);
    s.controller->recenterItem()->trigger();
    EXPECT_EQ(s.rig.log.matching("manual recenter").size(), 1u);
    s.controller->settingsItem()->trigger();
    EXPECT_EQ(s.rig.windows.settings, 1);
    s.controller->guideItem()->trigger();
    EXPECT_EQ(s.rig.windows.onboarding, 1);

    StatusRig denied;
    denied.reach(Kind::permissionDenied);
    denied.controller->fixItem()->trigger();
    EXPECT_EQ(denied.rig.privacy.opened, 1);
    EXPECT_EQ(denied.rig.windows.onboarding, 0);

    StatusRig setup;
    setup.reach(Kind::needsSetup);
    setup.controller->fixItem()->trigger();
    EXPECT_EQ(setup.rig.windows.onboarding, 1);
    EXPECT_EQ(setup.rig.privacy.opened, 0);
}

TEST(StatusMenuActions, AboutShowsOneBoxWithVersionAndCredits) {
    StatusRig s;
    s.start();
    s.controller->aboutItem()->trigger();
    QMessageBox* box = s.controller->aboutBox();
    ASSERT_NE(box, nullptr);
    EXPECT_TRUE(box->isVisible());
    EXPECT_EQ(box->windowTitle(), QStringLiteral("About Quelmo"));
    EXPECT_TRUE(box->text().contains(QStringLiteral(QUELMO_VERSION_STRING)));
    EXPECT_TRUE(
        box->informativeText().contains(QStringLiteral("Your screen looks away when you do.<br>")));
    EXPECT_TRUE(box->informativeText().contains(
        QStringLiteral("Not affiliated with Apple Inc. AirPods is a trademark of Apple Inc.")));
    EXPECT_TRUE(box->informativeText().contains(QStringLiteral("font-size:11pt")));
    s.controller->aboutItem()->trigger();
    EXPECT_EQ(s.controller->aboutBox(), box);
    box->close();
}

} // namespace
} // namespace quelmo
