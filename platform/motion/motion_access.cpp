// SPDX-License-Identifier: MIT
#include "platform/motion/motion_access.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <string_view>
#include <sys/stat.h>
#include <unistd.h>

namespace quelmo {

namespace {

constexpr const char* kRestricted = "restricted";

// The record's one word without trailing white space; empty when there is
// no record or it cannot be read.
std::string readRecordWord(const std::string& recordPath) {
    const int fd = ::open(recordPath.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK);
    if (fd < 0)
        return {};
    struct stat st {};
    char buf[64];
    ssize_t n = -1;
    // Only a small regular file counts; a FIFO or device could block or flood.
    if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode))
        n = ::read(fd, buf, sizeof buf);
    ::close(fd);
    if (n <= 0)
        return {};
    std::string_view text(buf, static_cast<std::size_t>(n));
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r' || text.back() == ' ' ||
                             text.back() == '\t')) {
        text.remove_suffix(1);
    }
    return std::string(text);
}

} // namespace

MotionAccess readMotionAccess(const std::string& recordPath) {
    const std::string word = readRecordWord(recordPath);
    if (word == motionAccessName(MotionAccess::authorized))
        return MotionAccess::authorized;
    if (word == motionAccessName(MotionAccess::denied) || word == kRestricted)
        return MotionAccess::denied;
    return MotionAccess::notDetermined;
}

bool isMotionAccessRestricted(const std::string& recordPath) {
    return readRecordWord(recordPath) == kRestricted;
}

bool writeMotionAccess(const std::string& recordPath, MotionAccess access, std::string& error) {
    const auto slash = recordPath.rfind('/');
    if (slash != std::string::npos && slash > 0) {
        const std::string folder = recordPath.substr(0, slash);
        if (::mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST) {
            error = "cannot create " + folder + ": " + std::strerror(errno);
            return false;
        }
    }
    if (access == MotionAccess::notDetermined) {
        if (::unlink(recordPath.c_str()) != 0 && errno != ENOENT) {
            error = "cannot remove " + recordPath + ": " + std::strerror(errno);
            return false;
        }
        return true;
    }
    const std::string temp = recordPath + ".tmp" + std::to_string(::getpid());
    const int fd =
        ::open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (fd < 0) {
        error = "cannot write " + temp + ": " + std::strerror(errno);
        return false;
    }
    const std::string text = std::string(motionAccessName(access)) + "\n";
    const bool written = ::write(fd, text.data(), text.size()) == static_cast<ssize_t>(text.size());
    const int savedErrno = errno;
    const bool closed = ::close(fd) == 0;
    if (!written || !closed || ::rename(temp.c_str(), recordPath.c_str()) != 0) {
        error = "cannot write " + recordPath + ": " + std::strerror(written ? errno : savedErrno);
        ::unlink(temp.c_str());
        return false;
    }
    return true;
}

} // namespace quelmo
