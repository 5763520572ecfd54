// SPDX-License-Identifier: MIT
// The earbuds session over the test door: against a peer scripted here (exact
// bytes both ways), and against quelmo-sim --earbuds as a real process.

#include "platform/motion/earbuds_source.h"
#include "platform/motion/head_tracker.h"
#include "platform/motion/motion_service.h"
#include "tests/platform/motion/earbuds_frames.h"
#include "tests/platform/motion/earbuds_sim_fixture.h"
#include "tests/platform/motion/motion_test_support.h"

#include <QProcess>
#include <gtest/gtest.h>

#include <fstream>
#include <mutex>
#include <string>
#include <sys/socket.h>
#include <sys/un.h>
#include <vector>

namespace quelmo {
namespace {

using test::waitFor;

// Plays the earbuds' side by hand: a listening sequenced-packet socket.
class ScriptedEarbuds {
  public:
    explicit ScriptedEarbuds(std::string path) : path_(std::move(path)) {
        listener_ = ::socket(AF_UNIX, SOCK_SEQPACKET | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
        sockaddr_un addr{};
        addr.sun_family = AF_UNIX;
        std::strncpy(addr.sun_path, path_.c_str(), sizeof addr.sun_path - 1);
        ::bind(listener_, reinterpret_cast<const sockaddr*>(&addr), sizeof addr);
        ::listen(listener_, 4);
    }
    ~ScriptedEarbuds() {
        hangUp();
        ::close(listener_);
        ::unlink(path_.c_str());
    }
    // Waits (running the event loop) for the source to connect.
    bool accept(int ms = 3000) {
        return waitFor(
            [&] {
                if (client_ < 0)
                    client_ = ::accept4(listener_, nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC);
                return client_ >= 0;
            },
            ms);
    }
    // The next frame the source sent, waiting for it.
    std::vector<unsigned char> receive() {
        std::vector<unsigned char> frame(8192);
        ssize_t n = -1;
        waitFor([&] {
            if (n < 0)
                n = ::recv(client_, frame.data(), frame.size(), MSG_DONTWAIT);
            return n >= 0;
        });
        frame.resize(n < 0 ? 0 : static_cast<std::size_t>(n));
        return frame;
    }
    void send(const std::vector<unsigned char>& frame) {
        ::send(client_, frame.data(), frame.size(), MSG_NOSIGNAL);
    }
    void hangUp() {
        if (client_ >= 0)
            ::close(client_);
        client_ = -1;
    }

  private:
    std::string path_;
    int listener_ = -1;
    int client_ = -1;
};

std::vector<unsigned char> frameOf(const unsigned char* data, std::size_t size) {
    return {data, data + size};
}

std::vector<unsigned char> earState(earbuds::BudState a, earbuds::BudState b) {
    unsigned char buf[earbuds::kEarDetectionSize];
    return frameOf(buf, earbuds::encodeEarDetection(a, b, buf));
}

// What the source handed over, in order, from the main thread or (samples
// only) from its reading thread.
struct Heard {
    std::mutex mutex;
    std::vector<double> headings;
    std::vector<bool> connections;
    std::vector<std::string> events; // "sample" or "connected"/"disconnected", in order
    int onThread = 0;

    std::size_t sampleCount() {
        std::lock_guard<std::mutex> lock(mutex);
        return headings.size();
    }
    std::vector<bool> connectionList() {
        std::lock_guard<std::mutex> lock(mutex);
        return connections;
    }
};

void listen(EarbudsSource& source, Heard& heard, bool onThread = false) {
    source.onMessage = [&heard](const wire::Message& m, double) {
        std::lock_guard<std::mutex> lock(heard.mutex);
        if (m.kind == wire::Kind::sample) {
            heard.headings.push_back(headingDegrees(m.motion));
            heard.events.push_back("sample");
        } else if (m.kind != wire::Kind::error) {
            heard.connections.push_back(m.kind == wire::Kind::connected);
            heard.events.push_back(m.kind == wire::Kind::connected ? "connected" : "disconnected");
        }
    };
    if (onThread) {
        source.onThreadSample = [&heard](const wire::Message& m, double) {
            std::lock_guard<std::mutex> lock(heard.mutex);
            heard.headings.push_back(headingDegrees(m.motion));
            heard.events.push_back("sample");
            ++heard.onThread;
            return true;
        };
    }
}

// A source started against a scripted peer that has accepted its channel.
struct Session {
    test::TempPaths temp;
    std::string path = temp.paths.runtimeDir + "/earbuds.sock";
    ScriptedEarbuds peer{path};
    EarbudsSource source{EarbudsTarget{"test earbuds", path, true}};
    Heard heard;

    explicit Session(bool onThread) {
        listen(source, heard, onThread);
        source.start();
    }
    // The conversation as real earbuds hold it, each frame answered, up to
    // the start frame.
    void answerUpToTheStart() {
        EXPECT_EQ(peer.receive(), frameOf(earbuds::kConnectFrame, sizeof earbuds::kConnectFrame));
        EXPECT_FALSE(source.isStreaming());
        peer.send({0x01, 0x00, 0x04, 0x00, 0x00, 0x00});
        EXPECT_EQ(peer.receive(), frameOf(earbuds::kFeaturesFrame, sizeof earbuds::kFeaturesFrame));
        peer.send({0x04, 0x00, 0x04, 0x00, 0x2B, 0x00, 0x01});
        EXPECT_EQ(peer.receive(), frameOf(earbuds::kNotifyRequest, sizeof earbuds::kNotifyRequest));
        peer.send({0x04, 0x00, 0x04, 0x00, 0x04, 0x00, 0x01, 0x02, 0x01, 0x64, 0x02, 0x01});
        EXPECT_EQ(peer.receive(), frameOf(earbuds::kStartFrame, sizeof earbuds::kStartFrame));
        EXPECT_TRUE(source.isStreaming());
    }
};

// The whole session, read on the main thread or, once streaming, on a
// thread of the source's own.
void greetStreamFollowTheEarsAndStop(bool onThread) {
    Session session(onThread);
    auto& [temp, path, peer, source, heard] = session;
    ASSERT_TRUE(peer.accept());

    // Each frame only once the one before is answered.
    session.answerUpToTheStart();

    // Zero frames, damaged frames, an oversized one, an empty message and
    // other notifications give nothing; the captured frame gives its heading.
    auto zero = test::bytesOf(test::kCapturedV1);
    std::fill(zero.end() - 58, zero.end(), 0);
    auto cut = test::bytesOf(test::kCapturedV4);
    cut.pop_back();
    peer.send(zero);
    peer.send(cut);
    peer.send(std::vector<unsigned char>(5000, 0x04));
    peer.send({});
    peer.send({0x04, 0x00, 0x04, 0x00, 0x04, 0x00, 0x01, 0x02, 0x01, 0x64, 0x02, 0x01});
    peer.send(test::bytesOf(test::kCapturedV1));
    ASSERT_TRUE(waitFor([&] { return heard.sampleCount() == 1; }));
    EXPECT_NEAR(heard.headings[0], -52.28, 0.01);
    EXPECT_EQ(source.dropped(), 1u);
    EXPECT_EQ(source.counts().otherSensor, 2u);
    EXPECT_EQ(source.counts().empty, 1u);
    EXPECT_EQ(heard.connectionList(), std::vector<bool>{true});

    // A steady stream (on the reading thread, when there is one).
    for (int i = 0; i < 5; ++i) {
        peer.send(test::bytesOf(test::kCapturedV2));
        test::settle(10);
    }
    ASSERT_TRUE(waitFor([&] { return heard.sampleCount() == 6; }));

    // Out of the ears (in the case), for long enough to count: a disconnect,
    // and the stream that runs on is not handed over; back in: a connect and
    // samples again, in the order they came.
    peer.send(earState(earbuds::BudState::inCase, earbuds::BudState::outOfEar));
    ASSERT_TRUE(waitFor([&] { return heard.connectionList().size() == 2; }));
    EXPECT_EQ(source.condition(), EarbudsCondition::unknown); // one bud still out
    peer.send(test::bytesOf(test::kCapturedV3));
    peer.send(earState(earbuds::BudState::moving, earbuds::BudState::inCase));
    peer.send(earState(earbuds::BudState::inEar, earbuds::BudState::inCase));
    ASSERT_TRUE(waitFor([&] { return heard.connectionList().size() == 3; }));
    peer.send(test::bytesOf(test::kCapturedV4));
    for (int i = 0; i < 3; ++i) {
        test::settle(10);
        peer.send(test::bytesOf(test::kCapturedV2));
    }
    ASSERT_TRUE(waitFor([&] { return heard.sampleCount() == 10; }));
    {
        std::lock_guard<std::mutex> lock(heard.mutex);
        EXPECT_NEAR(heard.headings[6], 0.24, 0.01);
        EXPECT_EQ(heard.connections, (std::vector<bool>{true, false, true}));
        std::vector<std::string> expected = {"connected"};
        expected.insert(expected.end(), 6, "sample");
        expected.insert(expected.end(), {"disconnected", "connected"});
        expected.insert(expected.end(), 4, "sample");
        EXPECT_EQ(heard.events, expected);
        if (onThread) {
            EXPECT_GT(heard.onThread, 0);
        }
    }

    // Stopping sends the stop frame and closes the channel.
    source.stop();
    EXPECT_EQ(peer.receive(), frameOf(earbuds::kStopFrame, sizeof earbuds::kStopFrame));
    EXPECT_TRUE(peer.receive().empty());
    EXPECT_EQ(heard.connectionList(), (std::vector<bool>{true, false, true, false}));
}

TEST(EarbudsSession, GreetsStreamsFollowsTheEarsAndStops) {
    greetStreamFollowTheEarsAndStop(false);
}

TEST(EarbudsSession, ReadOnAThreadOnceStreamingNothingComesOutOfOrder) {
    greetStreamFollowTheEarsAndStop(true);
}

// Read on its thread, a channel the earbuds close is noticed and opened again.
TEST(EarbudsSession, AChannelClosedUnderTheReadingThreadIsOpenedAgain) {
    Session session(true);
    auto& [temp, path, peer, source, heard] = session;
    ASSERT_TRUE(peer.accept());
    session.answerUpToTheStart();
    peer.send(test::bytesOf(test::kCapturedV2));
    ASSERT_TRUE(waitFor([&] { return heard.sampleCount() == 1; }));
    peer.hangUp();
    ASSERT_TRUE(waitFor([&] { return heard.connectionList().size() == 2; }));
    EXPECT_NE(source.error().find("closed the channel"), std::string::npos) << source.error();
    ASSERT_TRUE(peer.accept(3000));
    EXPECT_EQ(peer.receive(), frameOf(earbuds::kConnectFrame, sizeof earbuds::kConnectFrame));
}

TEST(EarbudsSession, ALostChannelIsOpenedAgainLaterEachTime) {
    Session session(false);
    auto& [temp, path, peer, source, heard] = session;
    ASSERT_TRUE(peer.accept());
    peer.receive();
    // No answer to the connect frame: the source goes on after a while;
    // earbuds already streaming are heard whatever the step.
    EXPECT_EQ(peer.receive(), frameOf(earbuds::kFeaturesFrame, sizeof earbuds::kFeaturesFrame));
    peer.send(test::bytesOf(test::kCapturedV2));
    ASSERT_TRUE(waitFor([&] { return heard.headings.size() == 1; }));

    // The earbuds end the session: a disconnect, then a retry after 1 s.
    peer.send(frameOf(earbuds::kDisconnectFrame, sizeof earbuds::kDisconnectFrame));
    ASSERT_TRUE(waitFor([&] { return heard.connections.size() == 2; }));
    EXPECT_EQ(heard.connections, (std::vector<bool>{true, false}));
    EXPECT_EQ(source.nextRetry(), 2 * EarbudsSource::kFirstRetry);
    QElapsedTimer clock;
    clock.start();
    peer.hangUp();
    ASSERT_TRUE(peer.accept(3000));
    EXPECT_GE(clock.elapsed(), 800);
    // Hung up before the greeting is answered: the next wait is longer.
    peer.hangUp();
    ASSERT_TRUE(waitFor([&] { return source.nextRetry() == 4 * EarbudsSource::kFirstRetry; }));
    EXPECT_FALSE(source.isStreaming());
}

TEST(EarbudsSession, NoBluetoothLeavesTheSourceQuiet) {
    // Not an address, and on most test machines no Bluetooth either: one
    // reason is kept, nothing is handed over, nothing blocks.
    for (const char* address : {"not an address", "00:11:22:33:44:55"}) {
        EarbudsSource source(EarbudsTarget{"earbuds", address, false});
        Heard heard;
        listen(source, heard);
        source.start();
        test::settle(100);
        if (std::string(address) == "not an address") {
            EXPECT_NE(source.error().find("not a Bluetooth address"), std::string::npos);
        }
        EXPECT_TRUE(heard.headings.empty());
        EXPECT_FALSE(source.isStreaming());
    }
}

TEST_F(EarbudsSimTest, HandshakeSamplesEarsStopAndReconnect) {
    QProcess sim;
    startSim(sim, "0.5 face\n0.6 turn 60\n0.4 hold\n0.4 disconnect\n0.4 connect\n30 hold\n");
    auto tracker = makeTracker();
    tracker->start();

    ASSERT_TRUE(waitFor([&] { return motion.size() > 20 && !connections.empty(); }, 5000));
    EXPECT_EQ(sources, std::vector<std::string>{"earbuds on the test socket"});
    // Taken out and put back: a disconnect and a connect, samples after.
    ASSERT_TRUE(waitFor([&] { return connections.size() >= 3; }, 5000));
    EXPECT_EQ(connections, (std::vector<bool>{true, false, true}));
    const std::size_t before = motion.size();
    ASSERT_TRUE(waitFor([&] { return motion.size() > before + 5; }));
    EXPECT_NEAR(motion.back().first, 60.0, 0.05);

    tracker->stop();
    QString said;
    ASSERT_TRUE(waitFor([&] {
        said += QString::fromUtf8(sim.readAllStandardError());
        return said.contains(QLatin1String("head tracking off"));
    }));
    const auto at = [&](const char* line) { return said.indexOf(QLatin1String(line)); };
    EXPECT_GE(at("earbuds: connect frame"), 0) << said.toStdString();
    EXPECT_LT(at("earbuds: connect frame"), at("earbuds: notification request"));
    EXPECT_LT(at("earbuds: notification request"), at("earbuds: head tracking on"));
    EXPECT_LT(at("earbuds: head tracking on"), at("earbuds: head tracking off"));
    EXPECT_EQ(said.indexOf(QLatin1String("(before")), -1);

    // The simulator restarted while Quelmo watches: the channel is lost (a
    // disconnect) and found again; quitting stops head tracking.
    motion.clear();
    tracker->start();
    ASSERT_TRUE(waitFor([&] { return motion.size() > 5 && connections.back(); }, 5000));
    const std::size_t seen = connections.size();
    sim.terminate();
    ASSERT_TRUE(sim.waitForFinished(3000));
    ASSERT_TRUE(waitFor([&] { return connections.size() > seen && !connections.back(); }));
    motion.clear();
    QProcess again;
    startSim(again, "0.5 turn -30\n30 hold\n");
    // Back within the first retries, turning to where the new script goes.
    EXPECT_TRUE(waitFor(
        [&] { return !motion.empty() && std::fabs(motion.back().first + 30.0) < 0.05; }, 8000));
    tracker.reset();
    QString heard;
    EXPECT_TRUE(waitFor([&] {
        heard += QString::fromUtf8(again.readAllStandardError());
        return heard.contains(QLatin1String("head tracking off"));
    }));
    again.terminate();
    ASSERT_TRUE(again.waitForFinished(3000));
}

} // namespace
} // namespace quelmo
