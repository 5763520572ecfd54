// SPDX-License-Identifier: MIT
#include "tools/replay/trace_replay.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace quelmo {
namespace {

std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

struct Replay {
    std::string out;
    std::string err;
    int status = 0;
};

Replay replay(const std::string& trace) {
    std::istringstream in(trace);
    std::ostringstream out;
    std::ostringstream err;
    Replay r;
    r.status = replayTrace(in, out, err);
    r.out = out.str();
    r.err = err.str();
    return r;
}

std::vector<std::string> frostLines(const std::string& out) {
    std::vector<std::string> lines;
    std::istringstream in(out);
    for (std::string line; std::getline(in, line);) {
        if (line.rfind("f,", 0) == 0) {
            lines.push_back(line);
        }
    }
    return lines;
}

// The timeline format is fixed byte for byte: these traces pin it down.
TEST(TraceReplay, TimelinesMatchTheRecordedOnes) {
    for (const char* name : {"every-kind", "bad-lines"}) {
        const std::string base = std::string(QUELMO_TRACES_DIR) + "/" + name;
        const Replay r = replay(readFile(base + ".trace"));
        EXPECT_EQ(r.out, readFile(base + ".expected")) << name;
        EXPECT_EQ(r.err, readFile(base + ".errors")) << name;
    }
}

TEST(TraceReplay, StateLineLayout) {
    const Replay r = replay("m,0,10,0\nm,4,10,0\n");
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, "0.000000,calibrating,0,0,1,0.000000,0.000000,10.000000,0,0,0,0,-,0,0\n"
                     "4.000000,watching,0,0,1,0.000000,0.000000,10.000000,0,0,0,0,-,0,0\n");
}

TEST(TraceReplay, FrostChangesComeBeforeTheirStateLine) {
    const Replay r = replay("c,0,turn.warmup=0\nm,0,0,0\ni,0,0\np,0,a=-60\ni,1,10\np,1,a=-60\n"
                            "p,2,a=-95\np,3,a=-95\ns,4\n");
    EXPECT_EQ(r.status, 0);
    EXPECT_NE(r.out.find("f,3.000000,1\n3.000000,away,1,1,1,"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("f,4.000000,0\n4.000000,noSignal,0,0,0,"), std::string::npos) << r.out;
}

TEST(TraceReplay, UnreadableLinesAreReportedAndSkipped) {
    const Replay r = replay("# comment\n\n   \nm,0,1,0\nq,1\nm,1,2,0\r\nc,2,walk.stepsNeeded=-\n");
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "line 5: unknown event kind: q,1\n"
                     "line 7: bad setting value: c,2,walk.stepsNeeded=-\n");
    EXPECT_EQ(std::count(r.out.begin(), r.out.end(), '\n'), 2); // the two good samples
}

TEST(TraceReplay, NonFiniteNumbersAreHandedToTheCoreHarmlessly) {
    const Replay r = replay("m,0,0,0\nm,0.02,nan,0\nm,0.04,0,inf\ni,0.06,-inf\np,0.08,a=nan\n");
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out.find("nan"), std::string::npos) << r.out;
    EXPECT_EQ(r.out.find("inf"), std::string::npos) << r.out;
}

// The bundled examples show what they say they show.
TEST(TraceReplay, ExamplesFrostAndClearOnce) {
    struct Example {
        const char* file;
        const char* state;
    };
    for (const Example e :
         {Example{"turn-away-and-back.trace", ",frosted,"},
          Example{"walk-away-and-back.trace", ",away,"}, Example{"far-signal-drop.trace", ",away,"},
          Example{"loss-while-turned-away.trace", ",away,"}}) {
        const Replay r = replay(readFile(std::string(QUELMO_EXAMPLES_DIR) + "/" + e.file));
        EXPECT_EQ(r.status, 0) << e.file << r.err;
        const auto frosts = frostLines(r.out);
        ASSERT_EQ(frosts.size(), 2u) << e.file;
        EXPECT_EQ(frosts[0].back(), '1');
        EXPECT_EQ(frosts[1].back(), '0');
        EXPECT_NE(r.out.find(e.state), std::string::npos) << e.file;
    }
}

} // namespace
} // namespace quelmo
