// SPDX-License-Identifier: MIT
#pragma once

#include "platform/motion/earbuds_capture.h"

#include <atomic>
#include <string>
#include <vector>

namespace quelmo::sim {

// Plays a capture of an earbuds channel back to Quelmo on the earbuds' test
// socket: each frame the earbuds sent goes out at its captured time after the
// frame of Quelmo's that came before it in the capture; each frame Quelmo sent
// in the capture is waited for (one of the same kind: the same first six
// bytes), at most kPatience, so the earbuds' answers follow Quelmo's frames as
// they did. So a user's capture becomes a test case.
class CapturePlayer {
  public:
    static constexpr double kPatience = 5.0; // seconds

    // Reads the capture; false with the line and reason in error.
    static bool read(const std::string& path, std::vector<earbuds::CapturedFrame>& frames,
                     std::string& error);

    CapturePlayer(std::string socketPath, std::vector<earbuds::CapturedFrame> frames);
    // Waits for Quelmo, plays the capture once, and returns 0 (1 when the
    // socket could not be made). Ends early when `stop` is set.
    int play(const std::atomic<bool>& stop);

  private:
    bool waitForQuelmo(const earbuds::CapturedFrame& expected, const std::atomic<bool>& stop);
    void receive();

    std::string path_;
    std::vector<earbuds::CapturedFrame> frames_;
    std::vector<std::vector<unsigned char>> heard_;
    int listener_ = -1;
    int client_ = -1;
};

} // namespace quelmo::sim
