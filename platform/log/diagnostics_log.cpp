// SPDX-License-Identifier: MIT
#include "platform/log/diagnostics_log.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <fcntl.h>
#include <pwd.h>
#include <sys/types.h>
#include <unistd.h>

#include <system_error>
#include <utility>
#include <vector>

namespace quelmo {

namespace {

int openForAppend(const std::filesystem::path& path) {
    int fd;
    do {
        fd = ::open(path.c_str(), O_WRONLY | O_APPEND | O_CLOEXEC);
    } while (fd < 0 && errno == EINTR);
    return fd;
}

std::string homeDirectory(const char* home) {
    if (home && *home) {
        return home;
    }
    const long suggested = ::sysconf(_SC_GETPW_R_SIZE_MAX);
    std::vector<char> buffer(suggested > 0 ? static_cast<std::size_t>(suggested) : 16384);
    passwd entry{};
    passwd* result = nullptr;
    if (::getpwuid_r(::getuid(), &entry, buffer.data(), buffer.size(), &result) == 0 && result &&
        result->pw_dir) {
        return result->pw_dir;
    }
    return "/";
}

} // namespace

DiagnosticsLog::DiagnosticsLog(std::filesystem::path directory, Clock clock, std::int64_t limit)
    : directory_(std::move(directory)), clock_(std::move(clock)), limit_(limit) {
    if (!clock_) {
        clock_ = [] { return WallClock::now(); };
    }
    ::tzset(); // the user's time zone, read once for the life of the log
}

DiagnosticsLog::~DiagnosticsLog() {
    if (fd_ >= 0) {
        ::close(fd_);
    }
}

std::filesystem::path DiagnosticsLog::directoryFor(const char* xdgStateHome, const char* home) {
    std::filesystem::path base;
    if (xdgStateHome && *xdgStateHome && xdgStateHome[0] == '/') {
        base = xdgStateHome;
    } else {
        base = std::filesystem::path(homeDirectory(home)) / ".local" / "state";
    }
    return base / "Quelmo";
}

const std::filesystem::path& DiagnosticsLog::defaultDirectory() {
    static const std::filesystem::path directory =
        directoryFor(std::getenv("XDG_STATE_HOME"), std::getenv("HOME"));
    return directory;
}

std::string DiagnosticsLog::appVersion() {
#ifdef QUELMO_VERSION_STRING
    const std::string version = QUELMO_VERSION_STRING;
    return version.empty() ? "?" : version;
#else
    return "?";
#endif
}

namespace {

// Room for any values of the fields, though a real date takes 23 characters.
using TimestampBuffer = char[96];

// Writes "yyyy-MM-dd HH:mm:ss.SSS" into `out`.
void formatTimestampInto(DiagnosticsLog::WallClock::time_point time, TimestampBuffer& out) {
    using namespace std::chrono;
    const auto ms = floor<milliseconds>(time.time_since_epoch());
    const auto secs = floor<seconds>(ms);
    const auto millis = static_cast<int>((ms - secs).count()); // 0...999, also before 1970
    const std::time_t t = static_cast<std::time_t>(secs.count());
    std::tm local{};
    if (!::localtime_r(&t, &local)) {
        local = std::tm{};
    }
    std::snprintf(out, sizeof out, "%04d-%02d-%02d %02d:%02d:%02d.%03d", local.tm_year + 1900,
                  local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min, local.tm_sec,
                  millis);
}

} // namespace

std::string DiagnosticsLog::formatTimestamp(WallClock::time_point time) {
    TimestampBuffer text;
    formatTimestampInto(time, text);
    return text;
}

void DiagnosticsLog::open() {
    // Already open: nothing to do.
    if (fd_ >= 0) {
        return;
    }
    // The folder, with intermediate folders; failure ignored.
    std::error_code ignored;
    std::filesystem::create_directories(directory_, ignored);
    const auto path = currentPath();
    // An empty file if none exists (O_EXCL: an existing one is left alone).
    const int created = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (created >= 0) {
        ::close(created);
    }
    // Open for writing at the end.
    fd_ = openForAppend(path);
    // The size so far, for the rotation cap.
    bytes_ = 0;
    if (fd_ >= 0) {
        const off_t end = ::lseek(fd_, 0, SEEK_END);
        if (end > 0) {
            bytes_ = static_cast<std::int64_t>(end);
        }
    }
    // The start line (dropped if the file could not be opened).
    write("--- Quelmo " + appVersion() + " diagnostics started");
}

void DiagnosticsLog::write(std::string_view message) {
    writeStamped(message, clock_());
}

void DiagnosticsLog::write(std::string_view message, double secondsAgo) {
    const auto now = clock_();
    if (!(secondsAgo > 0.0) || secondsAgo > 3600.0) {
        writeStamped(message, now); // not a number, or no plausible age
        return;
    }
    const auto ago =
        std::chrono::duration_cast<WallClock::duration>(std::chrono::duration<double>(secondsAgo));
    writeStamped(message, std::max(now - ago, std::min(lastStamp_, now)));
}

void DiagnosticsLog::writeStamped(std::string_view message, WallClock::time_point stamp) {
    if (fd_ < 0) {
        return;
    }
    lastStamp_ = stamp;
    TimestampBuffer timestamp;
    formatTimestampInto(stamp, timestamp);
    // The line is built in a buffer kept between writes: no allocation once
    // it has grown to the longest line.
    line_.assign(timestamp);
    line_ += ' ';
    line_ += message;
    line_ += '\n';

    // One write; a short write (rare on a regular file) is finished off.
    const char* data = line_.data();
    std::size_t left = line_.size();
    while (left > 0) {
        const ssize_t n = ::write(fd_, data, left);
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            break;
        }
        bytes_ += n;
        data += n;
        left -= static_cast<std::size_t>(n);
    }

    if (bytes_ > limit_) {
        rotate();
    }
}

void DiagnosticsLog::rotate() {
    if (rotating_) {
        // The fresh file is over the cap already: it could be neither moved
        // aside nor truncated. Stop here rather than rotate without end.
        close();
        return;
    }
    rotating_ = true;
    close();
    const auto current = currentPath();
    const auto previous = previousPath();
    ::unlink(previous.c_str()); // failure (none there) ignored
    if (::rename(current.c_str(), previous.c_str()) != 0) {
        // Cannot move it aside: begin it afresh so the cap still holds.
        if (::truncate(current.c_str(), 0) != 0) {
            // Failure ignored; open() then finds the file over the cap and the
            // guard above ends the attempt.
        }
    }
    open();
    rotating_ = false;
}

void DiagnosticsLog::close() {
    if (fd_ >= 0) {
        ::close(fd_); // failure ignored
    }
    fd_ = -1;
}

} // namespace quelmo
