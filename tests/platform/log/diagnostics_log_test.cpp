// SPDX-License-Identifier: MIT
#include "platform/log/diagnostics_log.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>
#include <string>
#include <unistd.h>
#include <vector>

namespace quelmo {
namespace {

namespace fs = std::filesystem;
using WallClock = DiagnosticsLog::WallClock;

constexpr std::int64_t kCap = 2'000'000;

class TempDir {
  public:
    TempDir() {
        std::string pattern = (fs::temp_directory_path() / "quelmo-log-test-XXXXXX").string();
        if (!::mkdtemp(pattern.data())) {
            throw std::runtime_error("mkdtemp");
        }
        path_ = pattern;
    }
    ~TempDir() {
        std::error_code ec;
        fs::permissions(path_, fs::perms::owner_all, fs::perm_options::add, ec);
        fs::remove_all(path_, ec);
    }
    const fs::path& path() const { return path_; }

  private:
    fs::path path_;
};

std::string readFile(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

std::vector<std::string> lines(const std::string& text) {
    std::vector<std::string> out;
    std::string::size_type start = 0;
    while (start < text.size()) {
        const auto end = text.find('\n', start);
        if (end == std::string::npos) {
            out.push_back(text.substr(start));
            break;
        }
        out.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    return out;
}

// A wall-clock time point for a local date and time with milliseconds.
WallClock::time_point localTime(int y, int mo, int d, int h, int mi, int s, int ms) {
    std::tm tm{};
    tm.tm_year = y - 1900;
    tm.tm_mon = mo - 1;
    tm.tm_mday = d;
    tm.tm_hour = h;
    tm.tm_min = mi;
    tm.tm_sec = s;
    tm.tm_isdst = -1;
    const std::time_t t = std::mktime(&tm);
    return WallClock::from_time_t(t) + std::chrono::milliseconds(ms);
}

const std::string kStart =
    std::string("--- Quelmo ") + QUELMO_EXPECTED_VERSION + " diagnostics started";
const std::regex kLinePattern(R"(^\d{4}-\d{2}-\d{2} ([01]\d|2[0-3]):[0-5]\d:[0-5]\d\.\d{3} .*$)");

// A fixed clock: 2026-03-09 14:05:07.042 local time.
DiagnosticsLog::Clock fixedClock() {
    const auto t = localTime(2026, 3, 9, 14, 5, 7, 42);
    return [t] { return t; };
}

// Length of a line for a message of n bytes: timestamp, space, message, LF.
std::int64_t lineLength(std::size_t n) {
    return 23 + 1 + static_cast<std::int64_t>(n) + 1;
}

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

// Fills the current log so that bytes() == target, in lines of at most 100 kB.
void fillTo(DiagnosticsLog& log, std::int64_t target) {
    while (log.bytes() < target) {
        const std::int64_t room = target - log.bytes();
        const std::int64_t message = std::min<std::int64_t>(room - lineLength(0), 100'000);
        ASSERT_GE(message, 0) << "cannot land exactly";
        log.write(std::string(static_cast<std::size_t>(message), 'x'));
    }
}

TEST(DiagnosticsLog, ALineThatBringsTheCountToExactlyTheCapDoesNotRotateTheNextDoes) {
    TempDir tmp;
    DiagnosticsLog log(tmp.path(), fixedClock());
    log.open();
    fillTo(log, kCap);
    EXPECT_EQ(log.bytes(), kCap);
    EXPECT_EQ(static_cast<std::int64_t>(fs::file_size(log.currentPath())), kCap);
    EXPECT_FALSE(fs::exists(log.previousPath()));

    log.write("next");
    ASSERT_TRUE(fs::exists(log.previousPath()));
    // The line that crossed the cap stays in the old file.
    const std::string previous = readFile(log.previousPath());
    EXPECT_EQ(static_cast<std::int64_t>(previous.size()), kCap + lineLength(4));
    EXPECT_EQ(lines(previous).back(), "2026-03-09 14:05:07.042 next");
    // The new current file holds just a fresh start line.
    const std::string current = readFile(log.currentPath());
    EXPECT_EQ(current, "2026-03-09 14:05:07.042 " + kStart + "\n");
    EXPECT_EQ(log.bytes(), static_cast<std::int64_t>(current.size()));
    EXPECT_TRUE(log.isOpen());
}

TEST(DiagnosticsLog, RotationReplacesAnOlderPreviousFileAndKeepsTheWholeOldCurrentOne) {
    TempDir tmp;
    { std::ofstream(tmp.path() / "quelmo-previous.log") << "very old\n"; }
    DiagnosticsLog log(tmp.path(), fixedClock());
    log.open();
    fillTo(log, kCap);
    const std::string before = readFile(log.currentPath());
    log.write("over");
    EXPECT_EQ(readFile(log.previousPath()), before + "2026-03-09 14:05:07.042 over\n");
    std::size_t files = 0;
    for ([[maybe_unused]] const auto& e : fs::directory_iterator(tmp.path())) {
        ++files;
    }
    EXPECT_EQ(files, 2u);
}

TEST(DiagnosticsLog, OpeningOverANearlyFullFileRotatesAtOnce) {
    TempDir tmp;
    const std::string old(1'999'990, 'o');
    { std::ofstream(tmp.path() / "quelmo.log", std::ios::binary) << old; }
    DiagnosticsLog log(tmp.path(), fixedClock());
    log.open();
    const std::string startLine = "2026-03-09 14:05:07.042 " + kStart + "\n";
    // The previous log ends with the start line that pushed it past the cap.
    EXPECT_EQ(readFile(log.previousPath()), old + startLine);
    // The new current log begins with a fresh start line.
    EXPECT_EQ(readFile(log.currentPath()), startLine);
    EXPECT_EQ(log.bytes(), static_cast<std::int64_t>(startLine.size()));
    EXPECT_TRUE(log.isOpen());
}

TEST(DiagnosticsLog, OpeningSetsTheCountFromTheFileLength) {
    TempDir tmp;
    { std::ofstream(tmp.path() / "quelmo.log", std::ios::binary) << std::string(1000, 'a'); }
    DiagnosticsLog log(tmp.path(), fixedClock());
    log.open();
    EXPECT_EQ(log.bytes(), 1000 + lineLength(kStart.size()));
}

TEST(DiagnosticsLog, CloseAndReopenAppendsToTheSameFile) {
    TempDir tmp;
    DiagnosticsLog log(tmp.path(), fixedClock());
    log.open();
    log.write("a");
    log.close();
    log.close(); // safe when closed
    EXPECT_FALSE(log.isOpen());
    log.write("dropped");
    log.open();
    log.write("b");
    const auto l = lines(readFile(log.currentPath()));
    ASSERT_EQ(l.size(), 4u);
    EXPECT_EQ(l[0].substr(24), kStart);
    EXPECT_EQ(l[1].substr(24), "a");
    EXPECT_EQ(l[2].substr(24), kStart);
    EXPECT_EQ(l[3].substr(24), "b");
}

TEST(DiagnosticsLog, ANewLaunchAppendsBelowThePreviousContents) {
    TempDir tmp;
    {
        DiagnosticsLog first(tmp.path(), fixedClock());
        first.open();
        first.write("first run");
    } // released without an end line
    DiagnosticsLog second(tmp.path(), fixedClock());
    second.open();
    const auto l = lines(readFile(second.currentPath()));
    ASSERT_EQ(l.size(), 3u);
    EXPECT_EQ(l[1].substr(24), "first run");
    EXPECT_EQ(l[2].substr(24), kStart);
}

TEST(DiagnosticsLog, AFolderThatCannotBeCreatedLeavesTheLogClosed) {
    TempDir tmp;
    const fs::path blocker = tmp.path() / "blocker";
    { std::ofstream(blocker) << "a file where a folder should be"; }
    DiagnosticsLog log(blocker / "Quelmo");
    log.open();
    EXPECT_FALSE(log.isOpen());
    log.write("dropped");
    EXPECT_EQ(readFile(blocker), "a file where a folder should be");
    // The next open() tries again.
    fs::remove(blocker);
    log.open();
    EXPECT_TRUE(log.isOpen());
}

TEST(DiagnosticsLog, AFileThatCannotBeOpenedLeavesTheLogClosed) {
    TempDir tmp;
    fs::create_directories(tmp.path() / "quelmo.log"); // a folder in the file's place
    DiagnosticsLog log(tmp.path());
    log.open();
    EXPECT_FALSE(log.isOpen());
    EXPECT_EQ(log.bytes(), 0);
    log.write("dropped");
    log.close();
    EXPECT_TRUE(fs::is_directory(tmp.path() / "quelmo.log"));
}

TEST(DiagnosticsLog, AFileWithoutWritePermissionLeavesTheLogClosed) {
    if (::geteuid() == 0) {
        GTEST_SKIP() << "root may write any file";
    }
    TempDir tmp;
    { std::ofstream(tmp.path() / "quelmo.log") << "read only\n"; }
    fs::permissions(tmp.path() / "quelmo.log", fs::perms::owner_read);
    DiagnosticsLog log(tmp.path());
    log.open();
    EXPECT_FALSE(log.isOpen());
    EXPECT_EQ(readFile(tmp.path() / "quelmo.log"), "read only\n");
}

TEST(DiagnosticsLog, WhenTheCurrentFileCannotBeMovedAsideItIsBegunAfresh) {
    TempDir tmp;
    // A non-empty folder in the previous file's place: it can be neither
    // deleted nor replaced, so the rename fails.
    fs::create_directories(tmp.path() / "quelmo-previous.log" / "keep");
    DiagnosticsLog log(tmp.path(), fixedClock());
    log.open();
    fillTo(log, kCap);
    log.write("over the cap");
    EXPECT_TRUE(log.isOpen());
    const std::string startLine = "2026-03-09 14:05:07.042 " + kStart + "\n";
    EXPECT_EQ(readFile(log.currentPath()), startLine);
    EXPECT_EQ(log.bytes(), static_cast<std::int64_t>(startLine.size()));
    EXPECT_TRUE(fs::is_directory(tmp.path() / "quelmo-previous.log" / "keep"));
    // And logging goes on as usual.
    log.write("still logging");
    EXPECT_EQ(lines(readFile(log.currentPath())).back().substr(24), "still logging");
}

TEST(DiagnosticsLog, ARotationThatCannotMakeRoomDoesNotLoop) {
    TempDir tmp;
    // A cap smaller than a start line: every fresh file is over it at once.
    DiagnosticsLog log(tmp.path(), fixedClock(), 10);
    log.open(); // must return
    EXPECT_FALSE(log.isOpen());
    const std::string startLine = "2026-03-09 14:05:07.042 " + kStart + "\n";
    EXPECT_EQ(readFile(log.previousPath()), startLine);
    EXPECT_EQ(readFile(log.currentPath()), startLine);
}

TEST(DiagnosticsLog, DefaultCapAndNames) {
    DiagnosticsLog log;
    EXPECT_EQ(log.limit(), 2'000'000);
    EXPECT_EQ(DiagnosticsLog::kLimit, 2'000'000);
    EXPECT_STREQ(DiagnosticsLog::kCurrentName, "quelmo.log");
    EXPECT_STREQ(DiagnosticsLog::kPreviousName, "quelmo-previous.log");
    EXPECT_EQ(log.directory(), DiagnosticsLog::defaultDirectory());
    EXPECT_FALSE(log.isOpen());
}

TEST(DiagnosticsLog, DirectoryFollowsXdgStateHome) {
    EXPECT_EQ(DiagnosticsLog::directoryFor("/x/state", "/home/u"), fs::path("/x/state/Quelmo"));
    EXPECT_EQ(DiagnosticsLog::directoryFor(nullptr, "/home/u"),
              fs::path("/home/u/.local/state/Quelmo"));
    EXPECT_EQ(DiagnosticsLog::directoryFor("", "/home/u"), fs::path("/home/u/.local/state/Quelmo"));
    // A relative XDG_STATE_HOME is invalid and ignored.
    EXPECT_EQ(DiagnosticsLog::directoryFor("rel/state", "/home/u"),
              fs::path("/home/u/.local/state/Quelmo"));
    EXPECT_EQ(DiagnosticsLog::defaultDirectory(),
              DiagnosticsLog::directoryFor(std::getenv("XDG_STATE_HOME"), std::getenv("HOME")));
    EXPECT_EQ(DiagnosticsLog::defaultDirectory().filename(), "Quelmo");
}

} // namespace
} // namespace quelmo
