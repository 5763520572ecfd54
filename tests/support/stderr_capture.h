// SPDX-License-Identifier: MIT
#pragma once

#include <cstdio>
#include <string>

namespace quelmo::test {

// Sends this process's standard error (descriptor 2, so C, C++ and library output alike)
// to a temporary file for as long as it lives; text() reads what arrived so far.
class StderrCapture {
  public:
    StderrCapture();
    ~StderrCapture();

    StderrCapture(const StderrCapture&) = delete;
    StderrCapture& operator=(const StderrCapture&) = delete;

    std::string text() const;
    // How many times needle occurs in text().
    int count(const std::string& needle) const;

  private:
    std::FILE* file_ = nullptr;
    int savedFd_ = -1;
};

} // namespace quelmo::test
