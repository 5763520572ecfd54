// SPDX-License-Identifier: MIT
// quelmo-replay: runs a recorded trace through the detection core and prints
// every decision it takes.
#include "tools/replay/trace_replay.h"

#include <cstring>
#include <fstream>
#include <iostream>

namespace {

const char* const kUsage =
    "Usage: quelmo-replay [TRACE]\n"
    "\n"
    "Runs a recorded trace of head motion, keyboard/mouse idle readings and\n"
    "Bluetooth signal readings through a fresh detection core and prints the\n"
    "decision timeline: an 'f,T,0|1' line for every change of the frost, then\n"
    "one state line per event:\n"
    "  T,STATUS,FROSTED,AWAY,LIVE,ANGLE,VELOCITY,FORWARD,TURNED,WALKING,STEPS,SOFT,\n"
    "  DROP,OVERRIDES,JUMPS\n"
    "\n"
    "Trace lines (comma separated, no spaces; '#' starts a comment):\n"
    "  m,T,HEADING,VERTICAL     head sample (degrees, g)\n"
    "  i,T,IDLE                 seconds since the last keyboard or mouse event\n"
    "  p,T[,DEV=DBM...]         Bluetooth signal readings\n"
    "  l,T                      head data lost\n"
    "  s,T                      stop watching\n"
    "  r,T                      re-centre\n"
    "  c,T,NAME=VALUE           change a setting (turn.*, walk.*, input.*, away.*)\n"
    "\n"
    "Reads standard input when no TRACE is given or TRACE is '-'. Lines that\n"
    "cannot be read are reported on standard error and skipped; the exit status\n"
    "is then 1.\n";

} // namespace

int main(int argc, char** argv) {
    std::ios::sync_with_stdio(false);
    if (argc > 2) {
        std::cerr << kUsage;
        return 2;
    }
    if (argc == 2 && (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0)) {
        std::cout << kUsage;
        return 0;
    }
    if (argc == 1 || std::strcmp(argv[1], "-") == 0) {
        return quelmo::replayTrace(std::cin, std::cout, std::cerr);
    }
    std::ifstream file(argv[1]);
    if (!file) {
        std::cerr << "quelmo-replay: cannot open " << argv[1] << ": " << std::strerror(errno)
                  << '\n';
        return 2;
    }
    return quelmo::replayTrace(file, std::cout, std::cerr);
}
