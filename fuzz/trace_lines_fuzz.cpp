// Fuzzes quelmo-replay's trace reader: any text runs through a fresh
// detection core without a crash, a hang or a non-finite value in the output.

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
    const std::string out = timeline.str();
    if (out.find("nan") != std::string::npos || out.find("inf") != std::string::npos)
        std::abort();
    return 0;
}
