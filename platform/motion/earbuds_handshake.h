// SPDX-License-Identifier: MIT
#pragma once

// The conversation with earbuds once their channel is up, as working clients
// hold it: the connect frame and its answer, the feature frame and its
// answer, the notification request (sent again once when nothing comes back),
// then head tracking from the service that streamed last time; if no sample
// comes within kSampleWait while the earbuds are worn, the other service;
// if neither streams, the channel ends. Once samples flow, a stream that
// falls silent for kSampleWait is stopped and started once, then the channel
// ends. Every wait has a deadline, so earbuds that accept the channel and
// never answer cannot hold it for ever.
//
// Knows no clock and no socket: the caller passes the time (seconds on any
// steady clock), arms a timer for deadline(), sends what `send` is given and
// closes the channel when `ended` is called.

#include <cstddef>
#include <functional>
#include <optional>
#include <string>

namespace quelmo::earbuds {

class Handshake {
  public:
    static constexpr double kAnswerWait = 2.0;
    static constexpr double kNotifyWait = 2.0;
    static constexpr double kSampleWait = 3.0;
    // Streaming this long counts as working (the back-off starts over).
    static constexpr double kSteadyStream = 10.0;

    enum class Step { closed, connect, features, notify, start, streaming };
    enum class Ending {
        noAnswer,      // nothing came back at all
        noHeadMotion,  // answered, but neither start frame brought a sample
        streamStopped, // samples flowed, then stopped, and a restart did not help
    };

    // Frames to send, in order. `what` names the step for a reader.
    std::function<void(const unsigned char* data, std::size_t size, const char* what)> send;
    // The channel should close; called once per channel.
    std::function<void(Ending)> ended;
    // A service streamed: remember it for these earbuds.
    std::function<void(int service)> streamed;
    // One line per step, for the probe: "connect answered after 0.01 s".
    std::function<void(const std::string& line)> note;

    // The channel is up. preferredService: the service that streamed from
    // these earbuds before (14 or 16), 0 when unknown.
    void opened(double now, int preferredService);
    // A frame other than a sample arrived (its first bytes are enough).
    void received(const unsigned char* data, std::size_t size, double now);
    // A sample arrived. lastSampleAt() keeps the time.
    void sample(double now);
    // Ear detection after debouncing: samples are only expected while worn.
    void setWorn(bool worn, double now);
    // The deadline passed (the caller may call early: nothing happens).
    // lastSample: the newest sample's time, for samples counted elsewhere
    // (a reading thread); below lastSampleAt() it is ignored.
    void expire(double now, double lastSample = -1);
    // Sends the stop frame of the running stream, if one was started.
    void stop();
    // The channel is gone: nothing more is sent.
    void reset();

    Step step() const { return step_; }
    std::optional<double> deadline() const { return deadline_; }
    int service() const { return service_; }
    double lastSampleAt() const { return lastSample_; }
    // Samples have flowed for kSteadyStream since the first one.
    bool hasStreamedSteadily() const;

  private:
    void sendFeatures(double now, const char* how);
    void sendNotify(double now);
    void startService(int service, double now);
    void stopService();
    void end(Ending ending);
    void say(const std::string& line) const;
    std::string since(double now) const;

    int preferred_ = 0;
    int service_ = 0;
    bool triedOther_ = false;
    bool notifyResent_ = false;
    bool restarted_ = false;
    bool answered_ = false;
    bool worn_ = true;
    Step step_ = Step::closed;
    std::optional<double> deadline_;
    double stepSince_ = 0;
    double firstSample_ = -1;
    double lastSample_ = -1;
};

const char* stepName(Handshake::Step step);

} // namespace quelmo::earbuds
