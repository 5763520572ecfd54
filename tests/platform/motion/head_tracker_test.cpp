// SPDX-License-Identifier: MIT
// HeadTracker over a real motion service: real sockets in temporary folders,
// samples and events seen on the main thread.

#include "platform/motion/head_tracker.h"
#include "platform/motion/motion_service.h"
#include "platform/motion/opentrack_source.h"
#include "platform/motion/opentrack_wire.h"
#include "tests/platform/motion/head_tracker_fixture.h"
#include "tests/platform/motion/motion_test_support.h"

#include <QFile>
#include <QProcess>
#include <QThread>
#include <gtest/gtest.h>

#include <fstream>
#include <sys/stat.h>
#include <vector>

namespace quelmo {
namespace {

using test::facing;
using test::waitFor;

TEST_F(HeadTrackerTest, DatagramsBecomeHeadingAndVerticalOnTheMainThread) {
    setAccess(MotionAccess::authorized);
    auto tracker = makeTracker();
    ASSERT_TRUE(tracker->manager().isDeviceMotionAvailable()) << tracker->manager().sourceErrors();
    tracker->start();
    ASSERT_TRUE(tracker->isRunning());

    ASSERT_TRUE(test::sendSample(temp.paths, facing(90, 0.2)));
    ASSERT_TRUE(test::sendSample(temp.paths, facing(-30)));
    ASSERT_TRUE(waitFor([&] { return seen.motion.size() == 2; }));
    EXPECT_NEAR(seen.motion[0].first, 90.0, 1e-9);
    EXPECT_NEAR(seen.motion[0].second, 0.2, 1e-12);
    EXPECT_NEAR(seen.motion[1].first, -30.0, 1e-9);
    EXPECT_FALSE(seen.offMainThread);
    EXPECT_EQ(tracker->manager().droppedDatagrams(), 0u);
}

TEST_F(HeadTrackerTest, SocketIsPrivateAndRemovedWithTheService) {
    auto tracker = makeTracker();
    struct stat folder {};
    ASSERT_EQ(::stat(temp.paths.socketFolder().c_str(), &folder), 0);
    EXPECT_EQ(folder.st_mode & 0777, 0700u);
    struct stat socket {};
    ASSERT_EQ(::lstat(temp.paths.socketPath().c_str(), &socket), 0);
    EXPECT_TRUE(S_ISSOCK(socket.st_mode));
    tracker.reset();
    EXPECT_NE(::lstat(temp.paths.socketPath().c_str(), &socket), 0);
}

TEST_F(HeadTrackerTest, BadDatagramsAreCountedAndDropped) {
    setAccess(MotionAccess::authorized);
    auto tracker = makeTracker();
    tracker->start();
    const std::string garbage = "not a motion message";
    const std::vector<unsigned char> huge(5000, 'Q');
    DeviceMotion nan = facing(10);
    nan.ax = std::nan("");
    ASSERT_TRUE(test::sendUnix(temp.paths.socketPath(), garbage.data(), garbage.size()));
    ASSERT_TRUE(test::sendUnix(temp.paths.socketPath(), huge.data(), huge.size()));
    ASSERT_TRUE(test::sendUnix(temp.paths.socketPath(), "", 0));
    ASSERT_TRUE(test::sendSample(temp.paths, nan));
    ASSERT_TRUE(test::sendSample(temp.paths, facing(12)));
    ASSERT_TRUE(waitFor([&] { return seen.motion.size() == 1; }));
    EXPECT_NEAR(seen.motion[0].first, 12.0, 1e-9);
    EXPECT_EQ(tracker->manager().droppedDatagrams(), 4u);
    EXPECT_TRUE(seen.errors.empty());
}

TEST_F(HeadTrackerTest, SamplesQueuedBeforeStopAreDropped) {
    setAccess(MotionAccess::authorized);
    auto tracker = makeTracker();
    tracker->start();
    ASSERT_TRUE(test::sendSample(temp.paths, facing(5)));
    tracker->stop();
    test::settle();
    EXPECT_TRUE(seen.motion.empty());
    EXPECT_FALSE(tracker->isRunning());

    tracker->start();
    ASSERT_TRUE(test::sendSample(temp.paths, facing(6)));
    EXPECT_TRUE(waitFor([&] { return seen.motion.size() == 1; }));
}

TEST_F(HeadTrackerTest, ConnectionChangesArriveInOrderRunningOrNot) {
    auto tracker = makeTracker();
    ASSERT_TRUE(test::sendConnection(temp.paths, false));
    ASSERT_TRUE(test::sendConnection(temp.paths, true));
    ASSERT_TRUE(waitFor([&] { return seen.connections.size() == 2; }));
    EXPECT_EQ(seen.connections, (std::vector<bool>{false, true}));
    EXPECT_FALSE(seen.offMainThread);
}

TEST_F(HeadTrackerTest, ConnectionCallbackRunsAfterWhatWasQueued) {
    auto tracker = makeTracker();
    std::vector<std::string> order;
    HeadTrackerHandlers handlers;
    handlers.connectionChange = [&](bool) { order.push_back("connection"); };
    tracker->observe(std::move(handlers));
    QMetaObject::invokeMethod(
        qApp, [&] { order.push_back("queued"); }, Qt::QueuedConnection);
    // The service reporting a connect, as its sources do.
    tracker->manager().onConnectionChange(true);
    EXPECT_TRUE(order.empty());
    ASSERT_TRUE(waitFor([&] { return order.size() == 2; }));
    EXPECT_EQ(order, (std::vector<std::string>{"queued", "connection"}));
}

TEST_F(HeadTrackerTest, BridgeErrorsReachOnErrorWhileRunning) {
    setAccess(MotionAccess::authorized);
    auto tracker = makeTracker();
    unsigned char buf[wire::kMaxMessageSize];
    const std::size_t n = wire::encodeError("Earbud driver restarted", buf);
    ASSERT_TRUE(test::sendUnix(temp.paths.socketPath(), buf, n));
    test::settle();
    EXPECT_TRUE(seen.errors.empty()); // not running: nobody asked
    tracker->start();
    ASSERT_TRUE(test::sendUnix(temp.paths.socketPath(), buf, n));
    ASSERT_TRUE(waitFor([&] { return seen.errors.size() == 1; }));
    EXPECT_EQ(seen.errors[0], "Earbud driver restarted");
}

TEST_F(HeadTrackerTest, NoListeningSourceMeansUnavailableAndStartDoesNothing) {
    // A plain file where the runtime folder should be: nothing can listen.
    temp.paths.runtimeDir = temp.dir.path().toStdString() + "/not-a-folder";
    std::ofstream(temp.paths.runtimeDir) << "x";
    auto tracker = makeTracker();
    EXPECT_FALSE(tracker->manager().isDeviceMotionAvailable());
    EXPECT_FALSE(tracker->manager().sourceErrors().empty());
    tracker->start();
    EXPECT_FALSE(tracker->isRunning());
    EXPECT_EQ(prompt.asked, 0);
}

TEST_F(HeadTrackerTest, ALiveSocketIsNotStolenButAStaleOneIsReplaced) {
    auto first = makeTracker();
    ASSERT_TRUE(first->manager().isDeviceMotionAvailable());
    {
        MotionServiceOptions options;
        options.paths = temp.paths;
        options.opentrackPort = 0;
        options.bluetoothEarbuds = false;
        MotionService second(options);
        EXPECT_FALSE(second.isDeviceMotionAvailable());
        EXPECT_NE(second.sourceErrors().find("another program"), std::string::npos);
    }
    // The second service must not have removed the first one's socket.
    setAccess(MotionAccess::authorized);
    first->start();
    ASSERT_TRUE(test::sendSample(temp.paths, facing(1)));
    ASSERT_TRUE(waitFor([&] { return seen.motion.size() == 1; }));

    // A socket file nobody listens on (left by a crash) is taken over.
    first.reset();
    const int fd = ::socket(AF_UNIX, SOCK_DGRAM, 0);
    sockaddr_un addr{};
    addr.sun_family = AF_UNIX;
    std::strncpy(addr.sun_path, temp.paths.socketPath().c_str(), sizeof addr.sun_path - 1);
    ASSERT_EQ(::bind(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr), 0);
    ::close(fd);
    auto third = makeTracker();
    EXPECT_TRUE(third->manager().isDeviceMotionAvailable()) << third->manager().sourceErrors();
}

TEST_F(HeadTrackerTest, OpentrackYawIsTheHeadingAndTheFirstPacketConnects) {
    setAccess(MotionAccess::authorized);
    const int port = test::freeUdpPort();
    ::mkdir((temp.paths.configDir + "/Quelmo").c_str(), 0700);
    std::ofstream(temp.paths.settingsPath()) << "[Motion]\nopentrackPort=" << port << "\n";
    EXPECT_EQ(configuredOpentrackPort(temp.paths.settingsPath()), port);

    MotionServiceOptions options;
    options.paths = temp.paths;
    options.settingsFile = temp.paths.settingsPath();
    options.bluetoothEarbuds = false;
    HeadTracker tracker(std::make_unique<MotionService>(options));
    HeadTrackerHandlers handlers;
    handlers.motion = [&](double h, double v, double) { seen.motion.emplace_back(h, v); };
    handlers.connectionChange = [&](bool c) { seen.connections.push_back(c); };
    tracker.observe(std::move(handlers));
    tracker.start();

    unsigned char packet[opentrack::kPacketSize];
    for (double yaw : {-40.0, -41.5}) {
        opentrack::encode(opentrack::Pose{1, 2, 3, yaw, 15, -7}, packet);
        ASSERT_TRUE(test::sendUdp(port, packet, sizeof packet));
    }
    ASSERT_TRUE(test::sendUdp(port, packet, 20)); // short: dropped
    ASSERT_TRUE(waitFor([&] { return seen.motion.size() == 2 && seen.connections.size() == 1; }));
    EXPECT_NEAR(seen.motion[0].first, -40.0, 1e-9);
    EXPECT_NEAR(seen.motion[1].first, -41.5, 1e-9);
    EXPECT_EQ(seen.motion[0].second, 0.0);
    EXPECT_EQ(seen.connections, std::vector<bool>{true});
    EXPECT_TRUE(waitFor([&] { return tracker.manager().droppedDatagrams() == 1; }));
}

TEST_F(HeadTrackerTest, TheFirstLiveSourceKeepsTheStreamUntilQuiet) {
    setAccess(MotionAccess::authorized);
    const int port = test::freeUdpPort();
    auto tracker = makeTracker(port);
    const std::vector<std::string>& sources = seen.sources;
    tracker->start();
    unsigned char packet[opentrack::kPacketSize];
    opentrack::encode(opentrack::Pose{0, 0, 0, 50, 0, 0}, packet);

    // The socket sends first: opentrack is ignored, its connect too.
    ASSERT_TRUE(test::sendSample(temp.paths, facing(10)));
    ASSERT_TRUE(waitFor([&] { return seen.motion.size() == 1; }));
    ASSERT_TRUE(test::sendUdp(port, packet, sizeof packet));
    ASSERT_TRUE(test::sendSample(temp.paths, facing(11)));
    ASSERT_TRUE(waitFor([&] { return seen.motion.size() == 2; }));
    test::settle(100);
    EXPECT_EQ(seen.motion.size(), 2u);
    EXPECT_TRUE(seen.connections.empty());
    EXPECT_EQ(sources, std::vector<std::string>{"the motion socket"});

    // Quiet for 1.5 s: opentrack takes over.
    QElapsedTimer quiet;
    quiet.start();
    ASSERT_TRUE(waitFor(
        [&] {
            test::sendUdp(port, packet, sizeof packet);
            test::settle(50);
            return seen.motion.size() > 2;
        },
        4000));
    EXPECT_GE(quiet.elapsed(), MotionService::kSourceQuiet.count() - 100);
    EXPECT_NEAR(seen.motion.back().first, 50.0, 1e-9);
    EXPECT_EQ(sources, (std::vector<std::string>{"the motion socket", "opentrack"}));
}

TEST_F(HeadTrackerTest, OpentrackIsOffUnlessAPortIsConfigured) {
    EXPECT_EQ(configuredOpentrackPort(temp.paths.settingsPath()), 0); // no file
    ::mkdir((temp.paths.configDir + "/Quelmo").c_str(), 0700);
    for (const char* value : {"0", "70000", "-4", "port", ""}) {
        std::ofstream(temp.paths.settingsPath()) << "[Motion]\nopentrackPort=" << value << "\n";
        EXPECT_EQ(configuredOpentrackPort(temp.paths.settingsPath()), 0) << value;
    }
}

TEST_F(HeadTrackerTest, VirtualHeadphonesFeedTheTracker) {
    setAccess(MotionAccess::authorized);
    auto tracker = makeTracker();
    tracker->start();
    const QString scriptPath = temp.dir.filePath(QStringLiteral("turn.sim"));
    std::ofstream(scriptPath.toStdString()) << "0 connect\n0 rssi -66\n0.4 turn 60\n0.6 hold\n";

    QProcess sim;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), QString::fromStdString(temp.paths.runtimeDir));
    sim.setProcessEnvironment(env);
    sim.start(QStringLiteral(QUELMO_SIM_TOOL), {scriptPath});
    ASSERT_TRUE(sim.waitForStarted());

    // While it plays, --report gives the simulated headphones' signal.
    ASSERT_TRUE(waitFor([&] { return !seen.motion.empty(); }));
    ASSERT_TRUE(
        waitFor([&] { return QFile::exists(QString::fromStdString(temp.paths.simStatePath())); }));
    QProcess report;
    report.setProcessEnvironment(env);
    report.start(QStringLiteral(QUELMO_SIM_TOOL), {QStringLiteral("--report")});
    ASSERT_TRUE(report.waitForFinished(3000));
    EXPECT_NE(report.readAllStandardOutput().indexOf("\"device_rssi\":\"-66\""), -1);

    ASSERT_TRUE(waitFor([&] { return sim.state() == QProcess::NotRunning; }, 5000));
    EXPECT_EQ(sim.exitCode(), 0);
    ASSERT_TRUE(waitFor([&] { return seen.connections.size() == 2; }));
    EXPECT_EQ(seen.connections, (std::vector<bool>{true, false}));
    // About 50 samples a second for one second, ending at the turned heading.
    EXPECT_GT(seen.motion.size(), 25u);
    EXPECT_LT(seen.motion.size(), 65u);
    EXPECT_NEAR(seen.motion.back().first, 60.0, 1e-6);
}

} // namespace
} // namespace quelmo
