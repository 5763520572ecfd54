// SPDX-License-Identifier: MIT
#pragma once

#include <chrono>
#include <cstddef>
#include <string>
#include <vector>

namespace quelmo {

// The program that prints the Bluetooth report, as an argument vector. A
// first argument without a slash is looked up in PATH.
struct ReportCommand {
    std::vector<std::string> argv;

    // $QUELMO_BLUETOOTH_REPORT, when set and not empty, run by /bin/sh -c so
    // that quoting works as in a shell; otherwise quelmo-bt-report from the
    // folder of programDir (the running executable's folder) when it is
    // there, else from PATH.
    static ReportCommand fromEnvironment(const std::string& programDir);
};

struct ReportLimits {
    // The run is terminated (SIGTERM to its process group) this long after launch.
    std::chrono::milliseconds timeLimit{4000};
    // A tool that ignores the request is killed (SIGKILL) this much later,
    // and its output is abandoned after the same delay again, so a run
    // always ends.
    std::chrono::milliseconds killGrace{500};
    // Output kept for parsing; the rest is read and thrown away.
    std::size_t maxOutput = 4 * 1024 * 1024;
};

struct ReportRun {
    bool launched = false;
    bool terminated = false; // hit the time limit
    bool overflowed = false; // printed more than maxOutput
    std::string output;
};

// Runs the command with standard output on a pipe and standard error on
// /dev/null, reads its output to the end, then waits for it to exit. Blocks
// the calling thread for at most timeLimit + 2 * killGrace (plus scheduling).
// When `cancelFd` (if not -1) is or becomes readable, the run ends at once:
// the command's process group is killed and reaped in the background.
ReportRun runReportCommand(const ReportCommand& command, const ReportLimits& limits = {},
                           int cancelFd = -1);

} // namespace quelmo
