// SPDX-License-Identifier: MIT
// The conversation with earbuds in virtual time: the order of the frames with
// and without answers, the second start frame, silence while worn and while
// not, the stream watchdog; ear detection held before it counts; which start
// frame streamed, remembered per device.

#include "platform/motion/earbuds_handshake.h"
#include "platform/motion/earbuds_memory.h"
#include "platform/motion/earbuds_wire.h"
#include "platform/motion/wear_debounce.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

namespace quelmo {
namespace {

using namespace earbuds;
using Ending = Handshake::Ending;

struct Talk {
    Handshake handshake;
    std::vector<std::string> sent; // "t what"
    std::vector<Ending> endings;
    std::vector<int> streamed;
    double t = 0;

    Talk() {
        handshake.send = [this](const unsigned char*, std::size_t, const char* what) {
            char at[16];
            std::snprintf(at, sizeof at, "%g ", t);
            sent.push_back(at + std::string(what));
        };
        handshake.ended = [this](Ending e) { endings.push_back(e); };
        handshake.streamed = [this](int service) { streamed.push_back(service); };
    }
    // Runs the clock to `until`, firing every deadline on the way.
    void runTo(double until, double lastSample = -1) {
        while (handshake.deadline() && *handshake.deadline() <= until) {
            t = *handshake.deadline();
            handshake.expire(t, lastSample);
        }
        t = until;
    }
    void answer(std::initializer_list<unsigned char> frame) {
        const std::vector<unsigned char> bytes(frame);
        handshake.received(bytes.data(), bytes.size(), t);
    }
    // Opened, and every step answered at once, up to the start frame.
    void openAndAnswer(int preferredService) {
        handshake.opened(t, preferredService);
        answer({0x01, 0x00, 0x04, 0x00});
        answer({0x04, 0x00, 0x04, 0x00, 0x2B, 0x00});
        answer({0x04, 0x00, 0x04, 0x00, 0x04, 0x00, 0x00});
    }
};

TEST(EarbudsConversation, EachFrameWaitsForTheAnswerBeforeIt) {
    Talk talk;
    talk.handshake.opened(0, 0);
    talk.t = 0.1;
    talk.answer({0x01, 0x00, 0x04, 0x00, 0x00, 0x00});
    talk.t = 0.2;
    talk.answer({0x04, 0x00, 0x04, 0x00, 0x06, 0x00, 0x00, 0x00}); // not the feature answer
    talk.t = 0.3;
    talk.answer({0x04, 0x00, 0x04, 0x00, 0x2B, 0x00, 0x01});
    talk.t = 0.4;
    talk.answer({0x04, 0x00, 0x04, 0x00, 0x04, 0x00, 0x01, 0x02, 0x01, 0x64, 0x02, 0x01});
    talk.runTo(1.0);
    talk.handshake.sample(1.0);
    talk.runTo(60, 59.9); // samples keep coming (counted elsewhere)
    EXPECT_EQ(talk.sent, (std::vector<std::string>{"0 connect frame", "0.1 feature frame",
                                                   "0.3 notification request",
                                                   "0.4 start frame (service 14)"}));
    EXPECT_EQ(talk.streamed, std::vector<int>{14});
    EXPECT_EQ(talk.handshake.step(), Handshake::Step::streaming);
    EXPECT_TRUE(talk.handshake.hasStreamedSteadily());
    EXPECT_TRUE(talk.endings.empty());
}

// Earbuds that accept the channel and never say a word: every wait ends, the
// notification request goes twice, both start frames are tried, each stopped,
// and the channel ends within 14 s.
TEST(EarbudsConversation, SilentEarbudsAreGivenUpOnAfterBothStartFrames) {
    Talk talk;
    talk.handshake.opened(0, 0);
    talk.runTo(30);
    EXPECT_EQ(talk.sent, (std::vector<std::string>{
                             "0 connect frame", "2 feature frame", "4 notification request",
                             "6 notification request", "8 start frame (service 14)",
                             "11 stop frame (service 14)", "11 start frame (service 16)",
                             "14 stop frame (service 16)"}));
    EXPECT_EQ(talk.endings, std::vector<Ending>{Ending::noAnswer});
    EXPECT_EQ(talk.handshake.step(), Handshake::Step::closed);
    EXPECT_TRUE(talk.streamed.empty());
}

// Earbuds that answer but only stream for service 16, remembered from last
// time: service 16 goes first; if it fails, 14 is tried. Out of the ears, the
// wait for a sample stops; it starts over when they go back in.
TEST(EarbudsConversation, TheRememberedServiceGoesFirstAndSilenceCountsOnlyWhileWorn) {
    Talk talk;
    talk.openAndAnswer(16);
    ASSERT_EQ(talk.sent.back(), "0 start frame (service 16)");
    talk.t = 1;
    talk.handshake.setWorn(false, 1);
    talk.runTo(20);
    EXPECT_EQ(talk.sent.size(), 4u); // nothing while out of the ears
    talk.handshake.setWorn(true, 20);
    talk.runTo(22.9);
    EXPECT_EQ(talk.sent.size(), 4u);
    talk.runTo(23);
    EXPECT_EQ(talk.sent.back(), "23 start frame (service 14)");
    talk.runTo(26);
    EXPECT_EQ(talk.endings, std::vector<Ending>{Ending::noHeadMotion});
}

// A stream that falls silent is stopped and started once; when samples come
// back all is well, and the next silence gets a restart again; a restart that
// brings nothing ends the channel.
TEST(EarbudsConversation, ASilentStreamIsRestartedOnceThenGivenUp) {
    Talk talk;
    talk.openAndAnswer(0);
    talk.handshake.sample(0.5);
    talk.runTo(10, 5.0); // samples until 5 s, then none
    EXPECT_EQ(talk.sent[talk.sent.size() - 2], "8 stop frame (service 14)");
    EXPECT_EQ(talk.sent.back(), "8 start frame again");
    talk.runTo(13, 10.5); // they came back, until 10.5 s
    EXPECT_TRUE(talk.endings.empty());
    EXPECT_EQ(talk.sent.back(), "8 start frame again");
    const std::size_t before = talk.sent.size();
    talk.runTo(60, 10.5);
    EXPECT_EQ(talk.sent[before], "13.5 stop frame (service 14)");
    EXPECT_EQ(talk.sent[before + 1], "13.5 start frame again");
    EXPECT_EQ(talk.sent.back(), "16.5 stop frame (service 14)");
    EXPECT_EQ(talk.endings, std::vector<Ending>{Ending::streamStopped});
    // Samples from 0.5 s to 10.5 s: long enough for the back-off to start over.
    EXPECT_TRUE(talk.handshake.hasStreamedSteadily());
}

TEST(EarbudsConversation, EarDetectionCountsOnceItHolds) {
    WearDebounce ears;
    EXPECT_EQ(ears.report(true, 0), std::optional<bool>(true)); // the first report counts
    // A bud rubbing on a collar: edges every 0.1 s for 10 s change nothing.
    int changes = 0;
    for (int i = 1; i <= 100; ++i) {
        const double t = i * 0.1;
        changes += ears.expire(t).has_value();
        changes += ears.report(i % 2 == 0, t).has_value();
    }
    EXPECT_EQ(changes, 0);
    EXPECT_EQ(ears.state(), std::optional<bool>(true));
    // Taken out for real: counts 0.3 s later, at the deadline.
    EXPECT_FALSE(ears.report(false, 20.0));
    EXPECT_FALSE(ears.report(false, 20.1)); // repeated reports keep the first time
    ASSERT_TRUE(ears.deadline());
    EXPECT_DOUBLE_EQ(*ears.deadline(), 20.3);
    EXPECT_EQ(ears.expire(20.3), std::optional<bool>(false));
}

TEST(EarbudsConversation, TheServiceThatStreamedIsRememberedPerDevice) {
    QTemporaryDir dir;
    const std::string path = dir.path().toStdString() + "/state/Quelmo/earbuds-streams";
    const ServiceMemory memory(path);
    EXPECT_EQ(memory.recall("AA:BB:CC:DD:EE:FF"), 0);
    EXPECT_TRUE(memory.remember("AA:BB:CC:DD:EE:FF", 16));
    EXPECT_TRUE(memory.remember("11:22:33:44:55:66", 14));
    EXPECT_TRUE(memory.remember("AA:BB:CC:DD:EE:FF", 16));
    EXPECT_EQ(memory.recall("AA:BB:CC:DD:EE:FF"), 16);
    EXPECT_EQ(memory.recall("11:22:33:44:55:66"), 14);
    EXPECT_FALSE(memory.remember("with space", 16));
    EXPECT_FALSE(memory.remember("AA:BB", 15)); // no such start frame
    // A damaged file: good lines are kept, the rest is dropped on the next write.
    {
        std::ofstream out(path, std::ios::app);
        out << "garbage\n12:12 16 extra\n\x01\x02 14\nCC:CC 99\n22:22 16\n";
    }
    EXPECT_EQ(memory.recall("22:22"), 16);
    EXPECT_EQ(memory.recall("CC:CC"), 0);
    EXPECT_TRUE(memory.remember("33:33", 14));
    std::ifstream in(path);
    const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_EQ(text, "33:33 14\nAA:BB:CC:DD:EE:FF 16\n11:22:33:44:55:66 14\n22:22 16\n");
    EXPECT_EQ(ServiceMemory("").recall("AA:BB:CC:DD:EE:FF"), 0); // nowhere to keep it
}

} // namespace
} // namespace quelmo
