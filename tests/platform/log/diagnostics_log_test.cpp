// SPDX-License-Identifier: MIT
// The diagnostics log: opening, lines and their time stamps, and its folder.
#include "tests/platform/log/log_test_support.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <string>
#include <unistd.h>
#include <vector>

namespace quelmo {
namespace {

using namespace logtest;

TEST(DiagnosticsLog, StartsClosedAndWritesNothingWhileClosed) {
    TempDir tmp;
    const fs::path dir = tmp.path() / "Quelmo";
    DiagnosticsLog log(dir);
    EXPECT_FALSE(log.isOpen());
    log.write("dropped");
    log.close();
    EXPECT_FALSE(fs::exists(dir));
    EXPECT_EQ(log.bytes(), 0);
}

TEST(DiagnosticsLog, OpenCreatesTheFolderAndWritesTheStartLine) {
    TempDir tmp;
    const fs::path dir = tmp.path() / "state" / "Quelmo";
    DiagnosticsLog log(dir, fixedClock());
    log.open();
    EXPECT_TRUE(log.isOpen());
    EXPECT_EQ(log.directory(), dir);
    EXPECT_EQ(log.currentPath(), dir / "quelmo.log");
    EXPECT_EQ(log.previousPath(), dir / "quelmo-previous.log");
    const std::string expected = "2026-03-09 14:05:07.042 " + kStart + "\n";
    EXPECT_EQ(readFile(dir / "quelmo.log"), expected);
    EXPECT_EQ(log.bytes(), static_cast<std::int64_t>(expected.size()));
}

TEST(DiagnosticsLog, StartLineCarriesTheCMakeProjectVersion) {
    EXPECT_EQ(DiagnosticsLog::appVersion(), QUELMO_EXPECTED_VERSION);
    EXPECT_NE(DiagnosticsLog::appVersion(), "");
}

TEST(DiagnosticsLog, OpenTwiceWritesOneStartLine) {
    TempDir tmp;
    DiagnosticsLog log(tmp.path(), fixedClock());
    log.open();
    log.open();
    EXPECT_EQ(lines(readFile(log.currentPath())).size(), 1u);
}

TEST(DiagnosticsLog, LinesAreAppendedAtOnceWithoutBuffering) {
    TempDir tmp;
    DiagnosticsLog log(tmp.path(), fixedClock());
    log.open();
    log.write("FROST at 52\xC2\xB0");
    // Visible in the file while the log is still open.
    const auto l = lines(readFile(log.currentPath()));
    ASSERT_EQ(l.size(), 2u);
    EXPECT_EQ(l[1], "2026-03-09 14:05:07.042 FROST at 52\xC2\xB0");
    // The byte count is the encoded length (the degree sign is two bytes).
    EXPECT_EQ(log.bytes(), static_cast<std::int64_t>(fs::file_size(log.currentPath())));
}

TEST(DiagnosticsLog, MessagesAreWrittenAsGiven) {
    TempDir tmp;
    DiagnosticsLog log(tmp.path(), fixedClock());
    log.open();
    log.write("two\nlines");
    log.write("");
    const std::string text = readFile(log.currentPath());
    const auto l = lines(text);
    ASSERT_EQ(l.size(), 4u);
    EXPECT_EQ(l[1], "2026-03-09 14:05:07.042 two");
    EXPECT_EQ(l[2], "lines"); // only the first physical line carries a timestamp
    EXPECT_EQ(l[3], "2026-03-09 14:05:07.042 ");
    EXPECT_EQ(text.find('\r'), std::string::npos);
    EXPECT_NE(text.substr(0, 3), "\xEF\xBB\xBF"); // no byte-order mark
}

TEST(DiagnosticsLog, TimestampsHaveThreeDigitMillisecondsAnd24HourHours) {
    EXPECT_EQ(DiagnosticsLog::formatTimestamp(localTime(2026, 3, 9, 0, 0, 0, 0)),
              "2026-03-09 00:00:00.000");
    EXPECT_EQ(DiagnosticsLog::formatTimestamp(localTime(2026, 3, 9, 9, 5, 7, 7)),
              "2026-03-09 09:05:07.007");
    EXPECT_EQ(DiagnosticsLog::formatTimestamp(localTime(2026, 3, 9, 13, 0, 0, 42)),
              "2026-03-09 13:00:00.042");
    EXPECT_EQ(DiagnosticsLog::formatTimestamp(localTime(2026, 12, 31, 23, 59, 59, 999)),
              "2026-12-31 23:59:59.999");
    EXPECT_EQ(DiagnosticsLog::formatTimestamp(localTime(2026, 3, 9, 12, 30, 0, 100)),
              "2026-03-09 12:30:00.100");
    // Sub-millisecond parts are cut, never rounded up to a 4th digit.
    EXPECT_EQ(DiagnosticsLog::formatTimestamp(localTime(2026, 3, 9, 23, 59, 59, 999) +
                                              std::chrono::microseconds(999)),
              "2026-03-09 23:59:59.999");
}

// A line about a held-back sample carries the sample's time, but the file
// never goes back in time, and an age that is not a number counts as none.
TEST(DiagnosticsLog, ALineStampedEarlierNeverGoesBeforeTheLineAboveIt) {
    TempDir tmp;
    auto now = localTime(2026, 3, 9, 14, 5, 7, 0);
    DiagnosticsLog log(tmp.path(), [&] { return now; });
    log.open();
    now += std::chrono::seconds(2);
    log.write("held", 0.75);
    log.write("older than the line above", 1.5);
    log.write("not a number", std::nan(""));
    log.write("from the far past", 1e9);
    const auto got = lines(readFile(log.currentPath()));
    ASSERT_EQ(got.size(), 5u);
    EXPECT_EQ(got[1], "2026-03-09 14:05:08.250 held");
    EXPECT_EQ(got[2], "2026-03-09 14:05:08.250 older than the line above");
    EXPECT_EQ(got[3], "2026-03-09 14:05:09.000 not a number");
    EXPECT_EQ(got[4], "2026-03-09 14:05:09.000 from the far past");
}

TEST(DiagnosticsLog, EveryLineOfADayMatchesTheFormat) {
    TempDir tmp;
    int hour = 0;
    int ms = 0;
    DiagnosticsLog log(tmp.path(), [&] { return localTime(2026, 6, 1, hour, 7, 3, ms); });
    log.open();
    for (hour = 0; hour < 24; ++hour) {
        for (int m : {0, 5, 50, 500, 999}) {
            ms = m;
            log.write("h");
        }
    }
    const auto l = lines(readFile(log.currentPath()));
    ASSERT_EQ(l.size(), 1u + 24u * 5u);
    for (const auto& line : l) {
        EXPECT_TRUE(std::regex_match(line, kLinePattern)) << line;
        EXPECT_EQ(line[23], ' ');
    }
    EXPECT_EQ(l.back().substr(0, 23), "2026-06-01 23:07:03.999");
}

TEST(DiagnosticsLog, RealClockTimestampsMatchTheFormat) {
    TempDir tmp;
    DiagnosticsLog log(tmp.path());
    log.open();
    log.write("now");
    for (const auto& line : lines(readFile(log.currentPath()))) {
        EXPECT_TRUE(std::regex_match(line, kLinePattern)) << line;
    }
}

} // namespace
} // namespace quelmo
