// SPDX-License-Identifier: MIT
#pragma once

#include "app/log_port.h"

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>

namespace quelmo {

// The optional diagnostics log: plain UTF-8 text, one line per
// event, "yyyy-MM-dd HH:mm:ss.SSS" local time, a space, the message, a line
// feed. Files "quelmo.log" (current) and "quelmo-previous.log" (the one
// previous file) in directory(); when a write takes the current file past the
// cap (2,000,000 bytes) it is moved aside and a fresh one begun, each opening
// starting with "--- Quelmo <version> diagnostics started".
//
// Nothing is reported to the caller and nothing here throws: a folder or file
// that cannot be made or opened leaves the log closed (writes are dropped) and
// the next open() tries again.
//
// When the current file cannot be moved
// aside at a rotation, it is truncated and begun afresh with a start line, so
// the cap holds; should even that leave it over the cap (a file that can be
// appended to but neither moved nor truncated), the log closes instead of
// rotating again, so a rotation never repeats without end.
//
// Every line is one write(2) on the open file, with no buffering of our own.
// Main thread only; no lock.
class DiagnosticsLog final : public LogPort {
  public:
    using WallClock = std::chrono::system_clock;
    using Clock = std::function<WallClock::time_point()>;

    static constexpr std::int64_t kLimit = 2'000'000;
    static constexpr const char* kCurrentName = "quelmo.log";
    static constexpr const char* kPreviousName = "quelmo-previous.log";

    // A closed log in `directory`. `clock` gives the timestamps' wall-clock
    // time (the system clock by default); `limit` is the cap in bytes.
    explicit DiagnosticsLog(std::filesystem::path directory = defaultDirectory(), Clock clock = {},
                            std::int64_t limit = kLimit);
    // Releases the file, if open, without writing anything.
    ~DiagnosticsLog() override;
    DiagnosticsLog(const DiagnosticsLog&) = delete;
    DiagnosticsLog& operator=(const DiagnosticsLog&) = delete;

    // The log folder on this machine: $XDG_STATE_HOME/Quelmo, or
    // ~/.local/state/Quelmo when XDG_STATE_HOME is unset, empty or relative.
    // Computed once, on first use. The settings window opens it.
    static const std::filesystem::path& defaultDirectory();
    // The same rule for given values of XDG_STATE_HOME and HOME (null: unset).
    static std::filesystem::path directoryFor(const char* xdgStateHome, const char* home);
    // The application's version for the start line: the project version from
    // CMake, or "?" when the build did not provide one.
    static std::string appVersion();
    // "yyyy-MM-dd HH:mm:ss.SSS" in local time, 24-hour, always 3 digits of ms.
    static std::string formatTimestamp(WallClock::time_point time);

    const std::filesystem::path& directory() const { return directory_; }
    std::filesystem::path currentPath() const { return directory_ / kCurrentName; }
    std::filesystem::path previousPath() const { return directory_ / kPreviousName; }

    void open() override;
    void close() override;
    void write(std::string_view message) override;
    void write(std::string_view message, double secondsAgo) override;
    bool isOpen() const override { return fd_ >= 0; }

    // The size of the current file as this object knows it.
    std::int64_t bytes() const { return bytes_; }
    std::int64_t limit() const { return limit_; }

  private:
    void rotate();
    void writeStamped(std::string_view message, WallClock::time_point stamp);

    std::filesystem::path directory_;
    Clock clock_;
    std::int64_t limit_;
    int fd_ = -1;
    std::int64_t bytes_ = 0;
    bool rotating_ = false;
    std::string line_; // reused for every line
    WallClock::time_point lastStamp_{};
};

} // namespace quelmo
