// SPDX-License-Identifier: MIT
#include "platform/instance/single_instance.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QLocalSocket>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>
#include <unistd.h>

namespace quelmo {
namespace {

bool waitUntil(const std::function<bool()>& done, int milliseconds = 5000) {
    QDeadlineTimer deadline(milliseconds);
    while (!done() && !deadline.hasExpired()) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    }
    return done();
}

TEST(SingleInstance, SecondStartGivesWayAndBringsTheFirstForward) {
    QTemporaryDir dir;
    const QString folder = dir.path() + "/quelmo";
    int reopened = 0;
    SingleInstance first(folder);
    ASSERT_TRUE(first.claim([&] { ++reopened; }));
    EXPECT_TRUE(first.isPrimary());
    EXPECT_EQ(QFile(folder).permissions() & (QFile::ReadGroup | QFile::ReadOther), 0);

    // A second start in another process (a lock held in this process would be
    // shared with it, so the check runs in a child).
    QProcess second;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("QUELMO_TEST_INSTANCE_FOLDER", folder);
    second.setProcessEnvironment(env);
    second.start(QCoreApplication::applicationFilePath(),
                 {"--gtest_filter=SingleInstanceChild.DISABLED_GivesWay",
                  "--gtest_also_run_disabled_tests"});
    ASSERT_TRUE(waitUntil([&] { return second.state() == QProcess::NotRunning; }));
    EXPECT_EQ(second.exitCode(), 0) << second.readAll().toStdString();
    ASSERT_TRUE(waitUntil([&] { return reopened == 1; }));

    // Strangers on the socket are ignored.
    QLocalSocket stranger;
    stranger.connectToServer(first.socketPath());
    ASSERT_TRUE(stranger.waitForConnected(2000));
    stranger.write("hello\n");
    stranger.waitForBytesWritten(1000);
    waitUntil([] { return false; }, 300);
    EXPECT_EQ(reopened, 1);
}

TEST(SingleInstance, RecenterIsDoneAndAnsweredOnlyWhenSomeoneRuns) {
    QTemporaryDir dir;
    const QString folder = dir.path() + "/quelmo";
    EXPECT_EQ(SingleInstance::requestRecenter(folder), SingleInstance::Delivery::notRunning);

    SingleInstance first(folder);
    ASSERT_TRUE(first.claim({}));
    // The request blocks this thread, so it comes from a child process, which
    // exits 0 when its request was answered "ok", and not 0 otherwise.
    const auto ask = [&] {
        QProcess child;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("QUELMO_TEST_INSTANCE_FOLDER", folder);
        child.setProcessEnvironment(env);
        child.start(QCoreApplication::applicationFilePath(),
                    {"--gtest_filter=SingleInstanceChild.DISABLED_Recenters",
                     "--gtest_also_run_disabled_tests"});
        waitUntil([&] { return child.state() == QProcess::NotRunning; }, 10000);
        return child.exitCode();
    };
    // Still starting: nothing to re-centre yet, and the sender hears so.
    EXPECT_NE(ask(), 0);

    int recentred = 0;
    first.setRecenterHandler([&] { ++recentred; });
    EXPECT_EQ(ask(), 0);
    EXPECT_EQ(recentred, 1);
}

TEST(SingleInstance, UnusableFolderIsNotFatal) {
    SingleInstance instance("/proc/quelmo-cannot-be-here");
    EXPECT_FALSE(instance.claim({}));
    EXPECT_FALSE(instance.isPrimary());
}

// Only a lock held by a live instance means "give way"; a lock that cannot be
// made, or a folder of another user, is a problem to report (the program then
// starts anyway), never a silent exit.
TEST(SingleInstance, OnlyAHeldLockMeansAnotherInstance) {
    QTemporaryDir dir;
    const QString held = dir.path() + "/held";
    SingleInstance first(held);
    ASSERT_TRUE(first.claim({}));
    SingleInstance second(held);
    EXPECT_FALSE(second.claim({}));
    EXPECT_TRUE(second.problem().isEmpty());

    const QString blocked = dir.path() + "/blocked";
    ASSERT_TRUE(QDir().mkpath(blocked + "/instance.lock")); // a folder where the lock goes
    SingleInstance third(blocked);
    EXPECT_FALSE(third.claim({}));
    EXPECT_TRUE(third.problem().contains("instance.lock")) << third.problem().toStdString();

    SingleInstance nowhere("/proc/quelmo-cannot-be-here");
    EXPECT_FALSE(nowhere.claim({}));
    EXPECT_FALSE(nowhere.problem().isEmpty());

    if (::geteuid() == 0) { // only root can give a folder away
        const QString foreign = dir.path() + "/foreign";
        ASSERT_TRUE(QDir().mkpath(foreign));
        ASSERT_EQ(::chown(QFile::encodeName(foreign).constData(), 65534, 65534), 0);
        SingleInstance fourth(foreign);
        EXPECT_FALSE(fourth.claim({}));
        EXPECT_TRUE(fourth.problem().contains("another user")) << fourth.problem().toStdString();
    }
}

// Run by the first test in a child process: must find the first instance.
TEST(SingleInstanceChild, DISABLED_GivesWay) {
    const QString folder = qEnvironmentVariable("QUELMO_TEST_INSTANCE_FOLDER");
    ASSERT_FALSE(folder.isEmpty());
    SingleInstance second(folder);
    EXPECT_FALSE(second.claim({}));
}

TEST(SingleInstanceChild, DISABLED_Recenters) {
    const QString folder = qEnvironmentVariable("QUELMO_TEST_INSTANCE_FOLDER");
    ASSERT_EQ(SingleInstance::requestRecenter(folder), SingleInstance::Delivery::delivered);
}

} // namespace
} // namespace quelmo

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
