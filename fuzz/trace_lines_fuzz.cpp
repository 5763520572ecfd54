// SPDX-License-Identifier: MIT
// Fuzzes quelmo-replay's trace reader: any text runs through a fresh
// detection core without a crash, a hang or a non-finite value in its state.

#include "tools/replay/trace_replay.h"

#include <cstdlib>
#include <sstream>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, std::size_t size) {
    std::istringstream trace(std::string(reinterpret_cast<const char*>(data), size));
    std::ostringstream timeline;
    std::ostringstream errors;
    const int status = quelmo::replayTrace(trace, timeline, errors);
    if (status != 0 && status != 1)
        std::abort();
    // Each line echoes its event's time first (which may be any number the
    // trace gave); the state after it must be finite.
    std::istringstream lines(timeline.str());
    std::string line;
    while (std::getline(lines, line)) {
        std::size_t from = line.find(',');
        if (line.starts_with("f,"))
            from = line.find(',', from + 1);
        if (from == std::string::npos)
            continue;
        const std::string state = line.substr(from);
        if (state.find("nan") != std::string::npos || state.find("inf") != std::string::npos)
            std::abort();
    }
    return 0;
}
