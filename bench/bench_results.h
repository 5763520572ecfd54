// SPDX-License-Identifier: MIT
#pragma once

// One line of `make bench`'s table: the benchmark runner names a file in
// QUELMO_BENCH_RESULTS and every benchmark appends its figures to it as
// "figure<TAB>goal<TAB>measured<TAB>pass|fail". Run alone, a benchmark only
// prints.

#include <cstdio>
#include <cstdlib>
#include <string>

namespace quelmo::bench {

inline void record(const std::string& figure, const std::string& goal, const std::string& measured,
                   bool pass) {
    const char* path = std::getenv("QUELMO_BENCH_RESULTS");
    if (path == nullptr || *path == '\0') {
        return;
    }
    if (std::FILE* file = std::fopen(path, "a")) {
        std::fprintf(file, "%s\t%s\t%s\t%s\n", figure.c_str(), goal.c_str(), measured.c_str(),
                     pass ? "pass" : "fail");
        std::fclose(file);
    }
}

} // namespace quelmo::bench
