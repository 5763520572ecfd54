// SPDX-License-Identifier: MIT
#pragma once

#include "platform/motion/hid_head_tracker.h"
#include "tools/sim/headphone_output.h"

#include <cstdint>
#include <string>
#include <vector>

namespace quelmo::sim {

// A fake head tracker on the open HID standard, on a Unix sequenced-packet
// socket speaking the test door's framing (see hid::Transport): it serves the
// standard's descriptor, answers feature reads and writes as a device keeps
// its feature state, and, while switched on (full power and all events),
// streams input reports at 25 Hz: the rotation vector of the script's head,
// never any acceleration. "disconnect" in a script takes the tracker away
// (the channel closes and no one is let in) until "connect". At `resetAt`
// seconds its reference frame jumps by 90 degrees and the reset counter
// moves, as a tracker that re-centres itself does. What it hears, and
// every change of its power and reporting state, is printed on standard error.
class HidTrackerServer final : public HeadphoneOutput {
  public:
    static constexpr double kPeriod = 0.04;

    HidTrackerServer(std::string path, bool variant, double resetAt);
    ~HidTrackerServer() override;
    HidTrackerServer(const HidTrackerServer&) = delete;
    HidTrackerServer& operator=(const HidTrackerServer&) = delete;

    bool isListening() const { return listener_ >= 0; }
    const std::string& error() const { return error_; }

    void tick(const VirtualHeadphones& phones, bool connectionChanged, double t) override;
    void finish(const VirtualHeadphones& phones) override;
    bool reachable() const override { return client_ >= 0 && on_; }
    std::string destination() const override { return "head tracker socket " + path_; }

  private:
    void receive();
    void handle(const unsigned char* data, std::size_t size);
    void reply(unsigned char kind, const std::vector<unsigned char>& body);
    void dropClient(const char* why);
    std::vector<unsigned char>& featureReport(std::uint8_t id);

    std::string path_;
    int listener_ = -1;
    int client_ = -1;
    std::vector<unsigned char> descriptorBytes_;
    hid::Descriptor descriptor_;
    hid::TrackerLayout layout_;
    std::vector<std::vector<unsigned char>> features_; // by report id
    bool on_ = false;
    double lastReport_ = -1;
    double resetAt_ = -1;
    std::uint8_t resetCounter_ = 0;
    double referenceJump_ = 0; // degrees
    std::string error_;
};

} // namespace quelmo::sim
