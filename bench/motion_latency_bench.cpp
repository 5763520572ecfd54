// SPDX-License-Identifier: MIT
// Time from a head sample's arrival to the guard's decision on it, through
// the same receiving path as the app (the native source's socket read on the
// main thread's event loop, then the guard), with Qt's GLib event loop (the
// app's) and, to compare, with Qt's own Unix one (QT_NO_GLIB=1). A thread
// sends a still head at 50 Hz beside a 5 Hz timer like the app's tick; each
// sample carries its number, so its decision time can be matched with its
// send time. Whatever the app's receiving path was before, the delay cannot
// have grown by more than the whole of it, so the goal is a 99th percentile
// of at most 5 ms.
// Arguments are ignored, so the benchmark runner's flags do no harm.

#include "bench/bench_results.h"
#include "core/privacy_guard.h"
#include "platform/motion/motion_paths.h"
#include "platform/motion/native_motion_source.h"
#include "tools/sim/motion_sender.h"

#include <QAbstractEventDispatcher>
#include <QCoreApplication>
#include <QTimer>

#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

extern char** environ;

namespace {

using Clock = std::chrono::steady_clock;

constexpr int kSamples = 500; // 10 s at 50 Hz
constexpr auto kPeriod = std::chrono::milliseconds(20);

double percentile(std::vector<double> values, double p) {
    std::sort(values.begin(), values.end());
    const auto index = static_cast<std::size_t>(p * static_cast<double>(values.size() - 1) + 0.5);
    return values[std::min(index, values.size() - 1)];
}

int measure(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    char folder[] = "/tmp/quelmo-latency-XXXXXX";
    if (mkdtemp(folder) == nullptr) {
        return 1;
    }
    quelmo::MotionPaths paths{folder, folder};
    quelmo::NativeMotionSource source(paths);
    if (!source.listen()) {
        std::fprintf(stderr, "cannot listen: %s\n", source.error().c_str());
        return 1;
    }

    std::vector<Clock::time_point> sent(kSamples);
    std::vector<double> latencies;
    latencies.reserve(kSamples);
    quelmo::PrivacyGuard guard;
    guard.inputActivity(60.0, 0.0);
    const auto start = Clock::now();
    source.onMessage = [&](const quelmo::wire::Message& message) {
        if (message.kind != quelmo::wire::Kind::sample) {
            return;
        }
        const double now = std::chrono::duration<double>(Clock::now() - start).count();
        guard.motion(quelmo::headingDegrees(message.motion), 0.0, now);
        const auto index = static_cast<int>(message.motion.ax * 1000.0 + 0.5);
        if (index >= 0 && index < kSamples) {
            latencies.push_back(
                std::chrono::duration<double, std::milli>(Clock::now() - sent[index]).count());
        }
        if (static_cast<int>(latencies.size()) == kSamples) {
            QCoreApplication::quit();
        }
    };
    QTimer tick;
    tick.setInterval(200);
    QObject::connect(&tick, &QTimer::timeout, [&] { guard.inputActivity(60.0, 1.0); });
    tick.start();

    std::atomic<bool> stop{false};
    std::thread sender([&] {
        quelmo::sim::MotionSender out(paths.socketPath());
        auto next = Clock::now();
        for (int i = 0; i < kSamples && !stop; ++i) {
            next += kPeriod;
            std::this_thread::sleep_until(next);
            quelmo::DeviceMotion still;
            still.ax = i / 1000.0; // the sample's number, read back by the receiver
            sent[i] = Clock::now();
            out.sendSample(still);
        }
    });
    // A lost datagram must not hang the benchmark.
    QTimer::singleShot(kSamples * 20 + 5000, &app, &QCoreApplication::quit);
    QCoreApplication::exec();
    stop = true;
    sender.join();
    ::unlink(paths.socketPath().c_str());
    ::rmdir((std::string(folder) + "/quelmo").c_str());
    ::rmdir(folder);
    if (latencies.empty()) {
        return 1;
    }
    const char* loop = QAbstractEventDispatcher::instance()->metaObject()->className();
    std::printf("%s: %zu samples, median %.3f ms, 99th percentile %.3f ms, worst %.3f ms\n", loop,
                latencies.size(), percentile(latencies, 0.5), percentile(latencies, 0.99),
                *std::max_element(latencies.begin(), latencies.end()));
    // The parent reads the 99th percentile from the last line.
    std::printf("p99 %.3f\n", percentile(latencies, 0.99));
    return 0;
}

// Runs this program again with `glib` deciding the event loop; the child's
// 99th percentile in ms, or a negative number when it failed.
double runChild(char** argv, bool glib) {
    int fds[2];
    if (pipe(fds) != 0) {
        return -1;
    }
    const pid_t child = fork();
    if (child == 0) {
        dup2(fds[1], STDOUT_FILENO);
        close(fds[0]);
        setenv("QUELMO_LATENCY_CHILD", "1", 1);
        if (glib) {
            unsetenv("QT_NO_GLIB");
        } else {
            setenv("QT_NO_GLIB", "1", 1);
        }
        execv("/proc/self/exe", argv);
        _exit(127);
    }
    close(fds[1]);
    std::string output;
    char buffer[256];
    ssize_t n = 0;
    while ((n = read(fds[0], buffer, sizeof buffer)) > 0) {
        output.append(buffer, static_cast<std::size_t>(n));
    }
    close(fds[0]);
    int status = 0;
    waitpid(child, &status, 0);
    const auto at = output.rfind("p99 ");
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0 || at == std::string::npos) {
        return -1;
    }
    std::fputs(output.substr(0, at).c_str(), stdout);
    return std::atof(output.c_str() + at + 4);
}

} // namespace

int main(int argc, char** argv) {
    if (std::getenv("QUELMO_LATENCY_CHILD") != nullptr) {
        return measure(argc, argv);
    }
    const double glib = runChild(argv, true);
    const double unix = runChild(argv, false);
    if (glib < 0 || unix < 0) {
        std::puts("sample to decision: a run failed");
        return 1;
    }
    char measured[96];
    std::snprintf(measured, sizeof measured, "%.2f ms (Qt's Unix loop %.2f ms)", glib, unix);
    quelmo::bench::record("Sample to decision, 99th percentile, 50 Hz", "grows by <= 5 ms",
                          measured, glib <= 5.0);
    return 0;
}
