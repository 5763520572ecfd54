// SPDX-License-Identifier: MIT
// The diagnostics log at its cap, and folders and files it cannot use.
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
