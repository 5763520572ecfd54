// SPDX-License-Identifier: MIT
#pragma once

#include <sys/types.h>

#include <string>
#include <vector>

namespace quelmo::test {

// A private Xvfb on a display number of its own (Xvfb picks a free one with -displayfd, so
// tests running side by side never share or disturb a server). It ends with the object, and
// with the test process should that die first.
//
//     QUELMO_SKIP_UNLESS_INSTALLED("Xvfb", "xvfb");
//     XvfbServer& x = sharedXvfb();
//     ASSERT_TRUE(x.isRunning()) << x.failure();
//     x.run({"xdotool", "key", "a"});
class XvfbServer {
  public:
    XvfbServer();
    ~XvfbServer();

    XvfbServer(const XvfbServer&) = delete;
    XvfbServer& operator=(const XvfbServer&) = delete;

    bool isRunning() const { return pid_ > 0; }
    // ":N", for XOpenDisplay and $DISPLAY.
    const std::string& display() const { return display_; }
    // Why the server is not running.
    const std::string& failure() const { return failure_; }

    // Runs a program (xdotool, say) against this server; returns its exit status or -1.
    int run(const std::vector<std::string>& argv) const;
    // Ends the server now, as if it had gone away under its clients.
    void stop();

  private:
    pid_t pid_ = -1;
    std::string display_;
    std::string failure_;
};

// One server shared by the tests of this process, started at first use.
XvfbServer& sharedXvfb();

} // namespace quelmo::test
