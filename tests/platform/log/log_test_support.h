// SPDX-License-Identifier: MIT
// What the diagnostics log's tests share: a private folder, reading a file
// back, and clocks that give known local times.
#pragma once

#include "platform/log/diagnostics_log.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

namespace quelmo::logtest {

namespace fs = std::filesystem;
using WallClock = DiagnosticsLog::WallClock;

inline constexpr std::int64_t kCap = 2'000'000;

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

inline std::string readFile(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

inline std::vector<std::string> lines(const std::string& text) {
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
inline WallClock::time_point localTime(int y, int mo, int d, int h, int mi, int s, int ms) {
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

inline const std::string kStart =
    std::string("--- Quelmo ") + QUELMO_EXPECTED_VERSION + " diagnostics started";
inline const std::regex
    kLinePattern(R"(^\d{4}-\d{2}-\d{2} ([01]\d|2[0-3]):[0-5]\d:[0-5]\d\.\d{3} .*$)");

// A fixed clock: 2026-03-09 14:05:07.042 local time.
inline DiagnosticsLog::Clock fixedClock() {
    const auto t = localTime(2026, 3, 9, 14, 5, 7, 42);
    return [t] { return t; };
}

// Length of a line for a message of n bytes: timestamp, space, message, LF.
inline std::int64_t lineLength(std::size_t n) {
    return 23 + 1 + static_cast<std::int64_t>(n) + 1;
}

} // namespace quelmo::logtest
