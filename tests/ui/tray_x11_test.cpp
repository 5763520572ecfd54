// SPDX-License-Identifier: MIT
#include "status_rig.h"
#include "xvfb_session.h"

#include <QProcess>
#include <QSystemTrayIcon>
#include <QTest>

#include <gtest/gtest.h>

namespace quelmo {
namespace {

TEST(TrayOnX11, DocksIntoAnXEmbedTrayThatComesUpAfterUs) {
    QUELMO_SKIP_WITHOUT_XVFB();
    QUELMO_SKIP_UNLESS_INSTALLED("trayer", "trayer");
    test::StatusRig s;
    s.rig.start();
    s.controller = std::make_unique<StatusItemController>(
        *s.rig.model, s.rig.windows,
        StatusItemController::Options{probeTrayHosts, QString(), std::nullopt});
    EXPECT_EQ(s.controller->trayIcon(), nullptr); // nothing to dock into yet

    QProcess tray;
    // A dark panel: the symbols must switch to their light variant.
    tray.start(QStringLiteral("trayer"),
               {QStringLiteral("--edge"), QStringLiteral("top"), QStringLiteral("--height"),
                QStringLiteral("24"), QStringLiteral("--transparent"), QStringLiteral("true"),
                QStringLiteral("--alpha"), QStringLiteral("0"), QStringLiteral("--tint"),
                QStringLiteral("0x202024")});
    ASSERT_TRUE(tray.waitForStarted());
    // The controller looks again every 2 s.
    EXPECT_TRUE(QTest::qWaitFor(
        [&] {
            return s.controller->trayIcon() != nullptr && s.controller->trayIcon()->isVisible();
        },
        15000));
    EXPECT_TRUE(
        QTest::qWaitFor([&] { return s.controller->trayIcon()->geometry().isValid(); }, 10000));
    EXPECT_EQ(s.controller->trayIcon()->toolTip(),
              QStringLiteral("Quelmo: Waiting for your AirPods"));
    EXPECT_TRUE(
        QTest::qWaitFor([&] { return s.controller->panelTone() == IconTone::dark; }, 10000));
    s.controller.reset();
    tray.terminate();
    tray.waitForFinished();
}

} // namespace
} // namespace quelmo
