// SPDX-License-Identifier: MIT
#pragma once

#include "tools/sim/headphone_output.h"

#include <cstdint>
#include <string>
#include <vector>

namespace quelmo::sim {

// The ways real earbuds misbehave, as the fake can play them.
struct EarbudsQuirks {
    bool silent = false;        // accept the channel, never answer, never stream
    bool noStream = false;      // answer everything, never stream
    bool only16 = false;        // stream only for the service-16 start frame
    bool busy = false;          // answer the connect frame, then end the session
    bool propertyLists = false; // a pose-shaped property list on the sensor opcode every second
    bool empty = false;         // an empty message every 2 s
    bool flap = false;          // ear detection flapping ten times a second
    bool random = false;        // five random bodies a second behind the sensor prefix
    double stallAfter = -1;     // fall silent this many seconds into a stream
    double hangUpAfter = -1;    // close the channel this many seconds into a stream
};
// Reads "silent,plist,stall=5": false with a message for a word it does not know.
bool parseQuirks(const std::string& list, EarbudsQuirks& quirks, std::string& error);
extern const char* const kQuirkHelp;

// Fake earbuds on a Unix sequenced-packet socket: waits for Quelmo, answers
// its connect frame, its feature frame (opcode 0x2B) and its notification
// request (battery and ear state), streams sensor frames at 25 Hz once head
// tracking is asked for with either start frame (after two all-zero frames,
// as real earbuds do; the V1 and V4 envelopes alternating, the sequence
// number growing from one byte to three), reports taking the earbuds out and
// putting them back as ear detection, and stops on either stop frame. One
// client at a time; nothing blocks. What it hears is printed on standard
// error. Quirks make it as rude as earbuds in the field.
class EarbudsServer final : public HeadphoneOutput {
  public:
    static constexpr double kPeriod = 0.04; // 25 Hz

    explicit EarbudsServer(std::string path, EarbudsQuirks quirks = {});
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
    void startStream(int service, const VirtualHeadphones& phones);
    // The quirks that send something of their own while streaming.
    void misbehave(const VirtualHeadphones& phones, double t);

    std::string path_;
    int listener_ = -1;
    int client_ = -1;
    bool greeted_ = false;
    bool notified_ = false;
    bool streaming_ = false;
    EarbudsQuirks quirks_;
    double streamStart_ = -1; // t of the first frame streamed on this channel
    double now_ = 0;
    double lastPropertyList_ = -1, lastEmpty_ = -1, lastFlap_ = -1, lastRandom_ = -1;
    bool flapIn_ = true;
    std::uint32_t noise_ = 2463534242u;
    int zeroFrames_ = 0;
    double lastFrame_ = -1;
    std::uint32_t sequence_ = 0;
    std::string error_;
};

} // namespace quelmo::sim
