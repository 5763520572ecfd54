// SPDX-License-Identifier: MIT
#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace quelmo::test {

// The full path of an executable found on PATH, or nothing.
std::optional<std::string> findProgram(std::string_view name);

// Runs argv (argv[0] looked up on PATH) with the given variables added to (or replacing
// those in) the environment and waits for it. Returns its exit status, or -1 when it could
// not start, was killed by a signal, or outlived timeout (it is then killed).
int runProgram(const std::vector<std::string>& argv,
               const std::vector<std::pair<std::string, std::string>>& environment = {},
               std::chrono::milliseconds timeout = std::chrono::seconds(60));

} // namespace quelmo::test

// Skips the current test (use in a test body or SetUp) when program is not on PATH,
// naming the Debian package that provides it.
#define QUELMO_SKIP_UNLESS_INSTALLED(program, package)                                             \
    do {                                                                                           \
        if (!::quelmo::test::findProgram(program)) {                                               \
            GTEST_SKIP() << (program) << " is not installed (apt-get install " << (package)        \
                         << "); skipping this test";                                               \
        }                                                                                          \
    } while (0)
