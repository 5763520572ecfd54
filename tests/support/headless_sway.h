// SPDX-License-Identifier: MIT
#pragma once

#include <sys/types.h>

#include <string>
#include <vector>

namespace quelmo::test {

// A private headless sway (wlroots, software rendering, no input devices and
// no XWayland) on a socket of its own. sway refuses to run as root, so a root
// test process runs it as the unprivileged user "wltest" (made on first use);
// anyone else runs it as themselves. It ends with the object, and with the
// test process should that die first.
//
//     QUELMO_SKIP_UNLESS_INSTALLED("sway", "sway");
//     HeadlessSway sway;
//     ASSERT_TRUE(sway.isRunning()) << sway.failure();
//     sway.run({"wtype", "a"});
class HeadlessSway {
  public:
    HeadlessSway();
    ~HeadlessSway();

    HeadlessSway(const HeadlessSway&) = delete;
    HeadlessSway& operator=(const HeadlessSway&) = delete;

    bool isRunning() const { return pid_ > 0; }
    const std::string& failure() const { return failure_; }
    // The full path of the Wayland socket: works as $WAYLAND_DISPLAY and for
    // wl_display_connect() from any user allowed into the folder.
    const std::string& socket() const { return socket_; }
    const std::string& runtimeDir() const { return runtimeDir_; }

    // Runs a client (wtype, swaymsg) against this sway; its exit status or -1.
    int run(const std::vector<std::string>& argv) const;
    void stop();

  private:
    pid_t pid_ = -1;
    std::string runtimeDir_;
    std::string socket_;
    std::string swaySocket_;
    std::string failure_;
};

} // namespace quelmo::test
