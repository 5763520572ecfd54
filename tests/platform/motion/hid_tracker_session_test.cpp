// SPDX-License-Identifier: MIT
// A head tracker on the open HID standard through the whole motion service,
// played by quelmo-sim --hid-tracker on the test door: named, measuring no
// steps, its turn read as a heading, switched off when updates stop.

#include "platform/motion/head_tracker.h"
#include "platform/motion/motion_service.h"
#include "tests/platform/motion/motion_test_support.h"

#include <QProcess>
#include <gtest/gtest.h>

#include <cmath>
#include <fstream>

namespace quelmo {
namespace {

using test::waitFor;

TEST(HidTrackerSession, ATrackerIsNamedMeasuresNoStepsAndIsSwitchedOffAgain) {
    test::TempPaths temp;
    std::string error;
    ASSERT_TRUE(writeMotionAccess(temp.paths.accessRecordPath(), MotionAccess::authorized, error));
    const std::string door = temp.paths.runtimeDir + "/tracker.sock";
    const QString script = temp.dir.filePath(QStringLiteral("tracker.sim"));
    std::ofstream(script.toStdString()) << "0.5 face\n0.5 turn 60\n30 hold\n";
    QProcess sim;
    sim.start(QStringLiteral(QUELMO_SIM_TOOL),
              {QStringLiteral("--hid-tracker"), QStringLiteral("--socket"),
               QString::fromStdString(door), script});
    ASSERT_TRUE(sim.waitForStarted());

    MotionServiceOptions options;
    options.paths = temp.paths;
    options.opentrackPort = 0;
    options.bluetoothEarbuds = false;
    options.hidTrackerSocket = door;
    HeadTracker tracker(std::make_unique<MotionService>(options));
    std::vector<std::pair<double, double>> motion;
    std::vector<std::string> sources;
    std::vector<bool> steps;
    HeadTrackerHandlers handlers;
    handlers.motion = [&](double h, double v, double) { motion.emplace_back(h, v); };
    handlers.sourceChange = [&](const std::string& name) { sources.push_back(name); };
    handlers.stepsMeasured = [&](bool measured) { steps.push_back(measured); };
    tracker.observe(std::move(handlers));
    tracker.start();

    ASSERT_TRUE(waitFor(
        [&] { return !motion.empty() && std::fabs(motion.back().first - 60.0) < 0.1; }, 8000));
    EXPECT_EQ(sources, std::vector<std::string>{"the head tracker on the test socket"});
    EXPECT_EQ(steps, std::vector<bool>{false});
    EXPECT_EQ(motion.back().second, 0.0);
    tracker.stop();
    QString said;
    EXPECT_TRUE(waitFor([&] {
        said += QString::fromUtf8(sim.readAllStandardError());
        return said.contains(QLatin1String("switched off"));
    }));
    sim.terminate();
    sim.waitForFinished(3000);
}

} // namespace
} // namespace quelmo
