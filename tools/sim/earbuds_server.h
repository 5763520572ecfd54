// SPDX-License-Identifier: MIT
#pragma once

#include "tools/sim/headphone_output.h"

#include <cstdint>
#include <string>

namespace quelmo::sim {

// Fake earbuds on a Unix sequenced-packet socket: waits for Quelmo, answers
// its connect frame, streams sensor frames at 25 Hz once head tracking is
// asked for (after two all-zero frames, as real earbuds do; the 81-byte and
// 79-byte framings alternating), reports taking the earbuds out and putting
// them back as ear detection, and stops on the stop frame. One client at a
// time; nothing blocks. What it hears is printed on standard error.
class EarbudsServer final : public HeadphoneOutput {
  public:
    static constexpr double kPeriod = 0.04; // 25 Hz

    explicit EarbudsServer(std::string path);
    ~EarbudsServer() override;
    EarbudsServer(const EarbudsServer&) = delete;
    EarbudsServer& operator=(const EarbudsServer&) = delete;

    bool isListening() const { return listener_ >= 0; }
    const std::string& error() const { return error_; }

    void tick(const VirtualHeadphones& phones, bool connectionChanged, double t) override;
    void finish(const VirtualHeadphones& phones) override;
    bool reachable() const override { return streaming_; }
    std::string destination() const override { return "earbuds socket " + path_; }

  private:
    void accept();
    void receive(const VirtualHeadphones& phones);
    void handle(const unsigned char* data, std::size_t size, const VirtualHeadphones& phones);
    void sendEarState(bool worn);
    void send(const unsigned char* data, std::size_t size);
    void dropClient(const char* why);

    std::string path_;
    int listener_ = -1;
    int client_ = -1;
    bool greeted_ = false;
    bool notified_ = false;
    bool streaming_ = false;
    int zeroFrames_ = 0;
    double lastFrame_ = -1;
    std::uint32_t sequence_ = 0;
    std::string error_;
};

} // namespace quelmo::sim
