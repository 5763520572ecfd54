// SPDX-License-Identifier: MIT
// HeadphoneSignal with real child processes: fixture scripts stand for the
// Bluetooth report tool.

#include "platform/signal/headphone_signal.h"
#include "platform/signal/report_command.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QThread>
#include <QTimer>
#include <gtest/gtest.h>

#include <chrono>
#include <fstream>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace quelmo {
namespace {

const std::string fixtures = QUELMO_SIGNAL_FIXTURES;

ReportCommand script(const std::string& name) {
    return {{"/bin/sh", fixtures + "/" + name}};
}

// Short limits for the misbehaving tools, so the suite stays quick; the real
// 4-second limit has a test of its own.
ReportLimits quick() {
    ReportLimits limits;
    limits.timeLimit = std::chrono::milliseconds(300);
    limits.killGrace = std::chrono::milliseconds(200);
    limits.maxOutput = 64 * 1024;
    return limits;
}

bool waitFor(const std::function<bool()>& done, int ms) {
    QElapsedTimer timer;
    timer.start();
    while (!done() && timer.elapsed() < ms) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        QThread::msleep(1);
    }
    return done();
}

struct Completion {
    int calls = 0;
    SignalReadings reading;
    bool offMainThread = false;
    std::function<void(SignalReadings)> handler() {
        QThread* main = QThread::currentThread();
        return [this, main](SignalReadings r) {
            ++calls;
            offMainThread |= QThread::currentThread() != main;
            reading = std::move(r);
        };
    }
};

TEST(HeadphoneSignal, ReadsTheReportOnTheWorkerAndCompletesOnTheMainThread) {
    HeadphoneSignal signal(script("good-report.sh"));
    Completion done;
    signal.read(done.handler());
    EXPECT_TRUE(signal.isBusy());
    ASSERT_TRUE(waitFor([&] { return done.calls == 1; }, 3000));
    EXPECT_EQ(done.reading, (SignalReadings{{"AC:80:0A:11:22:33", -61.0}}));
    EXPECT_FALSE(done.offMainThread);
    EXPECT_FALSE(signal.isBusy());
}

TEST(HeadphoneSignal, OnlyOneReadingIsInFlight) {
    HeadphoneSignal signal(script("good-report.sh"));
    Completion first, second, third;
    signal.read(first.handler());
    signal.read(second.handler());
    ASSERT_TRUE(waitFor([&] { return first.calls == 1; }, 3000));
    QCoreApplication::processEvents();
    EXPECT_EQ(second.calls, 0);
    signal.read(third.handler());
    ASSERT_TRUE(waitFor([&] { return third.calls == 1; }, 3000));
    EXPECT_EQ(third.reading.size(), 1u);
    EXPECT_EQ(second.calls, 0);
}

TEST(HeadphoneSignal, FailingToolsGiveAnEmptyReading) {
    for (const ReportCommand& command : {ReportCommand{{"/nonexistent/quelmo-bt-report"}},
                                         ReportCommand{{"quelmo-no-such-report-tool"}},
                                         script("garbage.sh"), script("silent.sh")}) {
        HeadphoneSignal signal(command, quick());
        Completion done;
        signal.read(done.handler());
        ASSERT_TRUE(waitFor([&] { return done.calls == 1; }, 3000)) << command.argv.back();
        EXPECT_TRUE(done.reading.empty()) << command.argv.back();
    }
}

TEST(HeadphoneSignal, AToolStillRunningAfterFourSecondsIsTerminatedWhileTheAppRuns) {
    HeadphoneSignal signal(script("hangs.sh"));
    Completion done;
    int ticks = 0;
    QTimer heartbeat;
    QObject::connect(&heartbeat, &QTimer::timeout, [&] { ++ticks; });
    heartbeat.start(100);
    QElapsedTimer clock;
    clock.start();
    signal.read(done.handler());
    // The main thread keeps running while the tool hangs.
    ASSERT_TRUE(waitFor([&] { return ticks >= 3; }, 3000));
    EXPECT_TRUE(signal.isBusy());
    ASSERT_TRUE(waitFor([&] { return done.calls == 1; }, 8000));
    const qint64 elapsed = clock.elapsed();
    EXPECT_GE(elapsed, 3900);
    EXPECT_LT(elapsed, 6000);
    EXPECT_TRUE(done.reading.empty()); // the report was cut short
}

TEST(HeadphoneSignal, QuittingDoesNotWaitForAHungTool) {
    QElapsedTimer clock;
    {
        HeadphoneSignal signal(script("hangs.sh"));
        signal.read([](SignalReadings) {});
        clock.start();
    }
    // Well under the tool's 4-second limit that used to hold quitting up.
    EXPECT_LT(clock.elapsed(), 2000);
}

TEST(HeadphoneSignal, EveryRunEndsHoweverTheToolMisbehaves) {
    // Ignores SIGTERM and leaves a child holding the pipe: killed, abandoned.
    QElapsedTimer clock;
    clock.start();
    ReportRun run = runReportCommand(script("stubborn.sh"), quick());
    EXPECT_TRUE(run.terminated);
    EXPECT_LT(clock.elapsed(), 2000);

    // Prints without end: the kept output is capped, the rest drained.
    run = runReportCommand(script("floods.sh"), quick());
    EXPECT_TRUE(run.overflowed);
    EXPECT_EQ(run.output.size(), quick().maxOutput);
    HeadphoneSignal flooded(script("floods.sh"), quick());
    Completion done;
    flooded.read(done.handler());
    ASSERT_TRUE(waitFor([&] { return done.calls == 1; }, 3000));
    EXPECT_TRUE(done.reading.empty());

    // Closes its output but keeps running: what it printed still counts.
    run = runReportCommand(script("closes-output.sh"), quick());
    EXPECT_TRUE(run.terminated);
    EXPECT_EQ(HeadphoneSignal::parse(run.output).size(), 1u);
}

TEST(HeadphoneSignal, TheCompletionRunsEvenIfTheReaderIsGone) {
    QTemporaryDir dir;
    const std::string finished = dir.filePath("finished").toStdString();
    Completion done;
    {
        HeadphoneSignal signal(
            {{"/bin/sh", "-c", "sh \"$0\" && : > \"$1\"", fixtures + "/good-report.sh", finished}});
        signal.read(done.handler());
        // The reader goes while its completion is still on the way (however
        // slowly the machine runs the tool), not while the tool still runs.
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
        while (::access(finished.c_str(), F_OK) != 0 && std::chrono::steady_clock::now() < deadline)
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    ASSERT_TRUE(waitFor([&] { return done.calls == 1; }, 3000));
    EXPECT_EQ(done.reading.size(), 1u);
}

TEST(ReportCommand, EnvironmentOverridesTheBundledHelper) {
    QTemporaryDir dir;
    const std::string folder = dir.path().toStdString();
    ::unsetenv("QUELMO_BLUETOOTH_REPORT");
    EXPECT_EQ(ReportCommand::fromEnvironment(folder).argv,
              std::vector<std::string>{"quelmo-bt-report"});
    const std::string helper = folder + "/quelmo-bt-report";
    std::ofstream(helper) << "#!/bin/sh\n";
    ::chmod(helper.c_str(), 0755);
    EXPECT_EQ(ReportCommand::fromEnvironment(folder).argv, std::vector<std::string>{helper});

    ::setenv("QUELMO_BLUETOOTH_REPORT", "quelmo-sim --report 'with space'", 1);
    EXPECT_EQ(ReportCommand::fromEnvironment(folder).argv,
              (std::vector<std::string>{"/bin/sh", "-c", "quelmo-sim --report 'with space'"}));
    ::setenv("QUELMO_BLUETOOTH_REPORT", (fixtures + "/good-report.sh").c_str(), 1);
    EXPECT_EQ(
        HeadphoneSignal::parse(runReportCommand(ReportCommand::fromEnvironment(folder)).output)
            .size(),
        1u);
    ::unsetenv("QUELMO_BLUETOOTH_REPORT");
}

} // namespace
} // namespace quelmo
