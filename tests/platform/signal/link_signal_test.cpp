// SPDX-License-Identifier: MIT
// Reading the signal inside Quelmo, with the kernel's links, BlueZ and the
// controller stood in: which links are measured, how often BlueZ and btmgmt
// are bothered, and the readings' shape.

#include "platform/signal/link_signal.h"

#include <gtest/gtest.h>

namespace quelmo {
namespace {

using bluetooth::HciLink;

struct StandIns {
    std::vector<HciLink> links;
    std::map<std::string, std::optional<bool>> headphones; // what BlueZ says
    std::map<std::string, std::optional<int>> rssi;        // Read RSSI's answer
    std::map<std::string, std::optional<int>> connInfo;    // btmgmt's answer
    int asked = 0;
    int connInfoRuns = 0;

    LinkSignalPorts ports() {
        LinkSignalPorts p;
        p.links = [this] { return links; };
        p.isHeadphones = [this](int, const std::string& address) {
            ++asked;
            return headphones[address];
        };
        p.readRssi = [this](const HciLink& link) { return rssi[link.address]; };
        p.readConnInfo = [this](const HciLink& link, int) {
            ++connInfoRuns;
            return connInfo[link.address];
        };
        return p;
    }
};

TEST(LinkSignal, MeasuresTheHeadphonesAmongTheLinksAndAsksBluezOncePerConnection) {
    StandIns s;
    s.links = {{0, "AA:00:00:00:00:01", 11, true},   // headphones
               {0, "AA:00:00:00:00:02", 12, true},   // a keyboard
               {1, "AA:00:00:00:00:03", 13, false}}; // headphones on a low-energy link
    s.headphones = {
        {"AA:00:00:00:00:01", true}, {"AA:00:00:00:00:02", false}, {"AA:00:00:00:00:03", true}};
    s.rssi = {{"AA:00:00:00:00:01", -5}, {"AA:00:00:00:00:02", -1}};
    s.connInfo = {{"AA:00:00:00:00:03", -12}};
    LinkSignal signal(s.ports());

    for (int i = 0; i < 5; ++i) {
        const SignalReadings r = signal.read(-1);
        EXPECT_EQ(r, (SignalReadings{{"AA:00:00:00:00:01", -65.0}, {"AA:00:00:00:00:03", -72.0}}));
    }
    EXPECT_EQ(s.asked, 3) << "BlueZ is asked once per device";

    // Gone and back: a new connection, asked about afresh.
    const auto all = s.links;
    s.links = {all[1], all[2]};
    EXPECT_EQ(signal.read(-1).size(), 1u);
    s.links = all;
    signal.read(-1);
    EXPECT_EQ(s.asked, 4);
}

TEST(LinkSignal, BluezThatCannotTellIsAskedAgainLaterAndBtmgmtThatFailsIsNotRunAgain) {
    StandIns s;
    s.links = {{0, "AA:00:00:00:00:01", 11, true}};
    LinkSignal signal(s.ports());
    // BlueZ does not know the device yet, and then it does.
    for (int i = 0; i <= LinkSignal::kAskAgainAfter; ++i) {
        EXPECT_TRUE(signal.read(-1).empty());
    }
    EXPECT_EQ(s.asked, 1);
    s.headphones["AA:00:00:00:00:01"] = true;
    // The controller will not answer Read RSSI and btmgmt has no rights:
    // one try of btmgmt for this connection, then none.
    for (int i = 0; i < 4; ++i) {
        EXPECT_TRUE(signal.read(-1).empty());
    }
    EXPECT_EQ(s.asked, 2);
    EXPECT_EQ(s.connInfoRuns, 1);
    // A controller that answers is read; a value far above the golden range
    // still gives a valid (negative) strength.
    s.rssi["AA:00:00:00:00:01"] = 90;
    EXPECT_EQ(signal.read(-1), (SignalReadings{{"AA:00:00:00:00:01", -1.0}}));
}

} // namespace
} // namespace quelmo
