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
        *s.rig.model, s.rig.windows, StatusItemController::Options{probeTrayHosts, QString()});
    EXPECT_EQ(s.controller->trayIcon(), nullptr); // nothing to dock into yet

    QProcess tray;
    tray.start(QStringLiteral("trayer"), {QStringLiteral("--edge"), QStringLiteral("top"),
                                          QStringLiteral("--height"), QStringLiteral("24")});
    ASSERT_TRUE(tray.waitForStarted());
    // The controller looks again every 2 s.
    EXPECT_TRUE(QTest::qWaitFor(
        [&] { return s.controller->trayIcon() != nullptr && s.controller->trayIcon()->isVisible(); },
        15000));
    EXPECT_TRUE(QTest::qWaitFor([&] { return s.controller->trayIcon()->geometry().isValid(); }, 10000));
    EXPECT_EQ(s.controller->trayIcon()->toolTip(), QStringLiteral("Quelmo: Waiting for your AirPods"));
    s.controller.reset();
    tray.terminate();
    tray.waitForFinished();
}

} // namespace
} // namespace quelmo
