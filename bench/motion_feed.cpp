// SPDX-License-Identifier: MIT
// motion_feed: a still head at a steady rate, for measuring what watching
// costs. Sends a connect and then one sample every 1/RATE s to Quelmo's
// motion socket (or PATH) for SECONDS, on an absolute schedule so the rate
// does not drift.
//
//   motion_feed RATE SECONDS [PATH]
#include "platform/motion/motion_paths.h"
#include "tools/sim/motion_sender.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <thread>

int main(int argc, char** argv) {
    if (argc < 3 || argc > 4) {
        std::fputs("Usage: motion_feed RATE SECONDS [PATH]\n", stderr);
        return 2;
    }
    const double rate = std::atof(argv[1]);
    const double seconds = std::atof(argv[2]);
    if (!(rate > 0 && rate <= 1000) || !(seconds >= 0)) {
        std::fputs("motion_feed: RATE must be 0 to 1000 Hz, SECONDS 0 or more\n", stderr);
        return 2;
    }
    const std::string path =
        argc == 4 ? argv[3] : quelmo::MotionPaths::fromEnvironment().socketPath();
    quelmo::sim::MotionSender sender(path);
    sender.sendConnection(true);

    using Clock = std::chrono::steady_clock;
    const auto period =
        std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(1.0 / rate));
    const auto start = Clock::now();
    const auto end =
        start + std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(seconds));
    quelmo::DeviceMotion still;
    bool wasReachable = false;
    for (auto next = start; next < end; next += period) {
        std::this_thread::sleep_until(next);
        sender.sendSample(still);
        // A Quelmo that started listening late hears a connect first.
        if (!wasReachable && sender.reachable()) {
            sender.sendConnection(true);
        }
        wasReachable = sender.reachable();
    }
    return 0;
}
