// SPDX-License-Identifier: MIT
#include "platform/motion/earbuds_handshake.h"

#include "platform/motion/earbuds_wire.h"

#include <algorithm>
#include <cstdio>

namespace quelmo::earbuds {

const char* stepName(Handshake::Step step) {
    switch (step) {
    case Handshake::Step::closed:
        return "closed";
    case Handshake::Step::connect:
        return "connect";
    case Handshake::Step::features:
        return "features";
    case Handshake::Step::notify:
        return "notifications";
    case Handshake::Step::start:
        return "start";
    case Handshake::Step::streaming:
        break;
    }
    return "streaming";
}

void Handshake::say(const std::string& line) const {
    if (note)
        note(line);
}

namespace {

std::string seconds(double s) {
    char text[32];
    std::snprintf(text, sizeof text, "%.2f s", std::max(0.0, s));
    return text;
}

} // namespace

std::string Handshake::since(double now) const {
    return seconds(now - stepSince_);
}

void Handshake::opened(double now, int preferredService) {
    preferred_ = preferredService;
    worn_ = true;
    service_ = 0;
    triedOther_ = notifyResent_ = restarted_ = answered_ = false;
    firstSample_ = lastSample_ = -1;
    step_ = Step::connect;
    stepSince_ = now;
    deadline_ = now + kAnswerWait;
    send(kConnectFrame, sizeof kConnectFrame, "connect frame");
}

void Handshake::sendFeatures(double now, const char* how) {
    say(std::string("connect frame ") + how);
    step_ = Step::features;
    stepSince_ = now;
    deadline_ = now + kAnswerWait;
    send(kFeaturesFrame, sizeof kFeaturesFrame, "feature frame");
}

void Handshake::sendNotify(double now) {
    step_ = Step::notify;
    stepSince_ = now;
    deadline_ = now + kNotifyWait;
    send(kNotifyRequest, sizeof kNotifyRequest, "notification request");
}

void Handshake::startService(int service, double now) {
    service_ = service;
    step_ = Step::start;
    stepSince_ = now;
    deadline_ = worn_ ? std::optional<double>(now + kSampleWait) : std::nullopt;
    const StreamFrames& frames = streamFramesFor(service);
    send(frames.start, frames.startSize,
         service == kService16.service ? "start frame (service 16)" : "start frame (service 14)");
}

void Handshake::stopService() {
    if (step_ != Step::start && step_ != Step::streaming)
        return;
    const StreamFrames& frames = streamFramesFor(service_);
    send(frames.stop, frames.stopSize,
         service_ == kService16.service ? "stop frame (service 16)" : "stop frame (service 14)");
}

void Handshake::received(const unsigned char* data, std::size_t size, double now) {
    const FrameKind kind = classify(data, size);
    if (kind != FrameKind::other)
        answered_ = true;
    switch (step_) {
    case Step::connect:
        if (kind == FrameKind::connectResponse)
            sendFeatures(now, ("answered after " + since(now)).c_str());
        return;
    case Step::features:
        if (kind == FrameKind::featuresAnswer) {
            say("feature frame answered after " + since(now));
            sendNotify(now);
        }
        return;
    case Step::notify:
        if (kind != FrameKind::other && kind != FrameKind::connectResponse &&
            kind != FrameKind::disconnect) {
            say("notification request answered after " + since(now) + " (" + frameKindName(kind) +
                ")");
            startService(preferred_ == kService16.service ? kService16.service : kService14.service,
                         now);
        }
        return;
    case Step::closed:
    case Step::start:
    case Step::streaming:
        return;
    }
}

void Handshake::sample(double now) {
    lastSample_ = std::max(lastSample_, now);
    if (firstSample_ < 0)
        firstSample_ = now;
    if (step_ != Step::start)
        return;
    answered_ = true;
    say("service " + std::to_string(service_) + " streams: first sample after " + since(now));
    step_ = Step::streaming;
    restarted_ = false;
    stepSince_ = now;
    deadline_ = now + kSampleWait;
    if (streamed)
        streamed(service_);
}

void Handshake::setWorn(bool worn, double now) {
    if (worn == worn_)
        return;
    worn_ = worn;
    if (step_ != Step::start && step_ != Step::streaming)
        return;
    // Samples are only missed while worn: the wait starts when they go in.
    if (worn) {
        stepSince_ = now;
        deadline_ = now + kSampleWait;
    } else {
        deadline_.reset();
    }
}

void Handshake::expire(double now, double lastSample) {
    if (lastSample > lastSample_) {
        if (firstSample_ < 0)
            firstSample_ = lastSample;
        lastSample_ = lastSample;
        if (step_ == Step::start)
            sample(lastSample);
    }
    if (!deadline_ || now < *deadline_)
        return;
    switch (step_) {
    case Step::closed:
        deadline_.reset();
        return;
    case Step::connect:
        sendFeatures(now, ("not answered in " + since(now)).c_str());
        return;
    case Step::features:
        say("feature frame not answered in " + since(now));
        sendNotify(now);
        return;
    case Step::notify:
        if (!notifyResent_) {
            notifyResent_ = true;
            say("notification request not answered in " + since(now) + ": sent again");
            sendNotify(now);
            return;
        }
        say("notification request not answered in " + since(now));
        startService(preferred_ == kService16.service ? kService16.service : kService14.service,
                     now);
        return;
    case Step::start:
        if (!triedOther_) {
            triedOther_ = true;
            const int other =
                service_ == kService16.service ? kService14.service : kService16.service;
            say("service " + std::to_string(service_) + " sent no sample in " + since(now) +
                ": trying service " + std::to_string(other));
            stopService();
            startService(other, now);
            return;
        }
        say("service " + std::to_string(service_) + " sent no sample in " + since(now));
        end(answered_ ? Ending::noHeadMotion : Ending::noAnswer);
        return;
    case Step::streaming: {
        const double watchFrom = std::max(lastSample_, stepSince_);
        if (now < watchFrom + kSampleWait) {
            if (restarted_ && lastSample_ > stepSince_)
                restarted_ = false;
            deadline_ = watchFrom + kSampleWait;
            return;
        }
        if (!restarted_) {
            restarted_ = true;
            say("no sample for " + seconds(now - watchFrom) + ": restarting the stream");
            stopService();
            const StreamFrames& frames = streamFramesFor(service_);
            send(frames.start, frames.startSize, "start frame again");
            stepSince_ = now;
            deadline_ = now + kSampleWait;
            return;
        }
        say("the stream stayed silent after a restart");
        end(Ending::streamStopped);
        return;
    }
    }
}

void Handshake::stop() {
    stopService();
    step_ = Step::closed;
    deadline_.reset();
}

void Handshake::reset() {
    step_ = Step::closed;
    deadline_.reset();
}

void Handshake::end(Ending ending) {
    stop();
    if (ended)
        ended(ending);
}

bool Handshake::hasStreamedSteadily() const {
    return firstSample_ >= 0 && lastSample_ - firstSample_ >= kSteadyStream;
}

} // namespace quelmo::earbuds
