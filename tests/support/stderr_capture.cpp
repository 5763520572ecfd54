// SPDX-License-Identifier: MIT
#include "tests/support/stderr_capture.h"

#include <unistd.h>

namespace quelmo::test {

StderrCapture::StderrCapture() {
    std::fflush(stderr);
    file_ = std::tmpfile();
    if (file_ != nullptr) {
        savedFd_ = dup(STDERR_FILENO);
        dup2(fileno(file_), STDERR_FILENO);
    }
}

StderrCapture::~StderrCapture() {
    std::fflush(stderr);
    if (savedFd_ >= 0) {
        dup2(savedFd_, STDERR_FILENO);
        close(savedFd_);
    }
    if (file_ != nullptr) {
        std::fclose(file_);
    }
}

std::string StderrCapture::text() const {
    std::fflush(stderr);
    std::string text;
    if (file_ == nullptr) {
        return text;
    }
    char buffer[4096];
    ssize_t n = 0;
    for (off_t at = 0; (n = pread(fileno(file_), buffer, sizeof buffer, at)) > 0; at += n) {
        text.append(buffer, static_cast<std::size_t>(n));
    }
    return text;
}

int StderrCapture::count(const std::string& needle) const {
    const std::string all = text();
    int found = 0;
    for (auto at = all.find(needle); at != std::string::npos; at = all.find(needle, at + 1)) {
        ++found;
    }
    return found;
}

} // namespace quelmo::test
