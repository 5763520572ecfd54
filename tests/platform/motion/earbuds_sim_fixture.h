// SPDX-License-Identifier: MIT
#pragma once

#include "platform/motion/head_tracker.h"
#include "platform/motion/motion_service.h"
#include "tests/platform/motion/motion_test_support.h"

#include <QProcess>
#include <gtest/gtest.h>

#include <fstream>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace quelmo {

// The simulator as earbuds, through the whole motion service.
class EarbudsSimTest : public ::testing::Test {
  protected:
    test::TempPaths temp;
    std::string door = temp.paths.runtimeDir + "/earbuds.sock";
    std::vector<std::pair<double, double>> motion;
    std::vector<bool> connections;
    std::vector<std::string> sources;

    void SetUp() override {
        std::string error;
        ASSERT_TRUE(
            writeMotionAccess(temp.paths.accessRecordPath(), MotionAccess::authorized, error));
    }

    std::unique_ptr<HeadTracker> makeTracker() {
        MotionServiceOptions options;
        options.paths = temp.paths;
        options.opentrackPort = 0;
        options.earbudsSocket = door;
        auto tracker = std::make_unique<HeadTracker>(std::make_unique<MotionService>(options));
        HeadTrackerHandlers handlers;
        handlers.motion = [this](double h, double v, double) { motion.emplace_back(h, v); };
        handlers.connectionChange = [this](bool c) { connections.push_back(c); };
        handlers.sourceChange = [this](const std::string& name) { sources.push_back(name); };
        tracker->observe(std::move(handlers));
        return tracker;
    }

    void startSim(QProcess& sim, const std::string& script, const QString& quirks = {}) {
        const QString file = temp.dir.filePath(QStringLiteral("earbuds.sim"));
        std::ofstream(file.toStdString()) << script;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("XDG_RUNTIME_DIR"),
                   QString::fromStdString(temp.paths.runtimeDir));
        sim.setProcessEnvironment(env);
        QStringList args{QStringLiteral("--earbuds"), QStringLiteral("--socket"),
                         QString::fromStdString(door), file};
        if (!quirks.isEmpty())
            args << QStringLiteral("--quirk") << quirks;
        sim.start(QStringLiteral(QUELMO_SIM_TOOL), args);
        ASSERT_TRUE(sim.waitForStarted());
    }
};

} // namespace quelmo
