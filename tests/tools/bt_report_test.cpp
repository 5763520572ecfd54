// SPDX-License-Identifier: MIT
// quelmo-bt-report's parsing of btmgmt output (on recorded output) and its
// JSON, read back by the signal reader.

#include "platform/signal/bluetooth_rules.h"
#include "platform/signal/headphone_signal.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

namespace quelmo::bluetooth {
namespace {

const std::string kAddress = "00:1B:66:A1:B2:C3";

std::string fixture(const std::string& name) {
    std::ifstream file(std::string(QUELMO_TOOLS_FIXTURES) + "/" + name);
    std::stringstream text;
    text << file.rdbuf();
    return text.str();
}

TEST(BtReport, ReadsTheRelativeRssiFromConnInfoOutput) {
    EXPECT_EQ(parseConnInfoRssi(fixture("btmgmt-conn-info-ok.txt"), kAddress), -7);
    EXPECT_EQ(parseConnInfoRssi(fixture("btmgmt-conn-info-in-range.txt"), kAddress),
              0); // case differs
    EXPECT_EQ(parseConnInfoRssi(fixture("btmgmt-conn-info-interactive.txt"), kAddress), 12);
}

TEST(BtReport, FailuresAndOtherDevicesGiveNoRssi) {
    EXPECT_EQ(parseConnInfoRssi(fixture("btmgmt-conn-info-not-connected.txt"), kAddress),
              std::nullopt);
    EXPECT_EQ(parseConnInfoRssi(fixture("btmgmt-conn-info-permission.txt"), kAddress),
              std::nullopt);
    EXPECT_EQ(parseConnInfoRssi(fixture("btmgmt-conn-info-unavailable.txt"), kAddress),
              std::nullopt);
    EXPECT_EQ(parseConnInfoRssi(fixture("btmgmt-conn-info-ok.txt"), "00:1B:66:A1:B2:C4"),
              std::nullopt);
    EXPECT_EQ(parseConnInfoRssi("", kAddress), std::nullopt);
    EXPECT_EQ(parseConnInfoRssi("\tRSSI -5\n", kAddress), std::nullopt); // no header line
    const std::string header = "Connection Information for " + kAddress + " (BR/EDR)\n";
    EXPECT_EQ(parseConnInfoRssi(header + "\tRSSI -5x\n", kAddress), std::nullopt);
    EXPECT_EQ(parseConnInfoRssi(header + "\tRSSI 400\n", kAddress), std::nullopt);
    EXPECT_EQ(parseConnInfoRssi(header + "\tRSSI \n", kAddress), std::nullopt);
}

TEST(BtReport, RelativeRssiBecomesApproximateDbmBelowZero) {
    EXPECT_EQ(approximateDbm(0), -60);
    EXPECT_EQ(approximateDbm(-7), -67);
    EXPECT_EQ(approximateDbm(12), -48);
    EXPECT_EQ(approximateDbm(90), -1);
}

TEST(BtReport, RecognisesHeadphonesByClassOrIcon) {
    EXPECT_TRUE(isHeadphoneClass(0x240418));  // audio/video, headphones
    EXPECT_TRUE(isHeadphoneClass(0x200404));  // audio/video, wearable headset
    EXPECT_FALSE(isHeadphoneClass(0x240414)); // audio/video, loudspeaker
    EXPECT_FALSE(isHeadphoneClass(0x002540)); // peripheral, keyboard
    EXPECT_FALSE(isHeadphoneClass(0));
    EXPECT_TRUE(isHeadphoneIcon("audio-headphones"));
    EXPECT_TRUE(isHeadphoneIcon("audio-headset"));
    EXPECT_FALSE(isHeadphoneIcon("audio-card"));
}

TEST(BtReport, TheReportIsWhatTheSignalReaderReads) {
    const std::string json = reportJson({
        {"Buds \"Pro\"\n", kAddress, -67},
        {"", "AA:BB:CC:DD:EE:FF", std::nullopt}, // RSSI unknown: listed, not read
        {"Headset", "11:22:33:44:55:66", -48},
    });
    EXPECT_EQ(HeadphoneSignal::parse(json),
              (SignalReadings{{kAddress, -67.0}, {"11:22:33:44:55:66", -48.0}}));
    EXPECT_EQ(reportJson({}), "{\"SPBluetoothDataType\":[{\"device_connected\":[]}]}\n");
}

} // namespace
} // namespace quelmo::bluetooth

// Signal strength without privileges: the Read RSSI command and its events,
// as bytes, and a missing adapter.
#include "platform/signal/hci_rssi.h"

#include <vector>

namespace quelmo::bluetooth {
namespace {

RssiReply parse(const std::vector<unsigned char>& bytes, std::uint16_t handle = 0x002A) {
    return parseRssiEvent(bytes.data(), bytes.size(), handle);
}

TEST(HciRssi, ReadRssiCommandBytes) {
    unsigned char out[kReadRssiCommandSize];
    encodeReadRssi(0x002A, out);
    EXPECT_EQ(std::vector<unsigned char>(out, out + sizeof out),
              (std::vector<unsigned char>{0x01, 0x05, 0x14, 0x02, 0x2A, 0x00}));
    encodeReadRssi(0xF123, out); // only the 12-bit handle goes out
    EXPECT_EQ(out[4], 0x23);
    EXPECT_EQ(out[5], 0x01);
}

TEST(HciRssi, CommandCompleteAndStatusEvents) {
    // Command Complete: packets 1, opcode 0x1405, status 0, handle 0x002A, RSSI -10.
    RssiReply r = parse({0x04, 0x0E, 0x07, 0x01, 0x05, 0x14, 0x00, 0x2A, 0x00, 0xF6});
    EXPECT_TRUE(r.answersUs);
    EXPECT_EQ(r.rssi, -10);
    EXPECT_EQ(parse({0x04, 0x0E, 0x07, 0x01, 0x05, 0x14, 0x00, 0x2A, 0x00, 0x00}).rssi, 0);
    EXPECT_EQ(parse({0x04, 0x0E, 0x07, 0x01, 0x05, 0x14, 0x00, 0x2A, 0x00, 0x05}).rssi, 5);
    // Refused (status 0x02, no such connection): an answer without a value.
    r = parse({0x04, 0x0E, 0x07, 0x01, 0x05, 0x14, 0x02, 0x2A, 0x00, 0x00});
    EXPECT_TRUE(r.answersUs);
    EXPECT_FALSE(r.rssi);
    r = parse({0x04, 0x0F, 0x04, 0x0C, 0x01, 0x05, 0x14});
    EXPECT_TRUE(r.answersUs);
    EXPECT_FALSE(r.rssi);
    // Pending (status 0) is no answer yet.
    EXPECT_FALSE(parse({0x04, 0x0F, 0x04, 0x00, 0x01, 0x05, 0x14}).answersUs);
    // Another handle, another command, another event, cut short, too long a length.
    EXPECT_FALSE(parse({0x04, 0x0E, 0x07, 0x01, 0x05, 0x14, 0x00, 0x2B, 0x00, 0xF6}).answersUs);
    EXPECT_FALSE(parse({0x04, 0x0E, 0x07, 0x01, 0x06, 0x14, 0x00, 0x2A, 0x00, 0xF6}).answersUs);
    EXPECT_FALSE(parse({0x04, 0x05, 0x04, 0x00, 0x2A, 0x00, 0x13}).answersUs);
    EXPECT_FALSE(parse({0x04, 0x0E, 0x07, 0x01, 0x05, 0x14, 0x00, 0x2A, 0x00}).answersUs);
    EXPECT_FALSE(parse({0x04, 0x0E, 0x04, 0x01, 0x05, 0x14, 0x00}).answersUs);
    EXPECT_FALSE(parse({0x02, 0x0E, 0x07, 0x01, 0x05, 0x14, 0x00, 0x2A, 0x00, 0xF6}).answersUs);
    EXPECT_FALSE(parse({}).answersUs);
    // Every shorter cut of a good event is ignored safely.
    const std::vector<unsigned char> good = {0x04, 0x0E, 0x07, 0x01, 0x05,
                                             0x14, 0x00, 0x2A, 0x00, 0xF6};
    for (std::size_t n = 0; n < good.size(); ++n)
        EXPECT_FALSE(parseRssiEvent(good.data(), n, 0x2A).answersUs) << n;
}

TEST(HciRssi, NoAdapterGivesNothingQuickly) {
    std::string why;
    EXPECT_FALSE(readHciRssi(0, "not an address", 500, why));
    EXPECT_NE(why.find("not a Bluetooth address"), std::string::npos);
    // No Bluetooth at all, or no adapter hci97: nothing, with a reason.
    why.clear();
    EXPECT_FALSE(readHciRssi(97, "00:11:22:33:44:55", 500, why));
    EXPECT_FALSE(why.empty());
}

} // namespace
} // namespace quelmo::bluetooth
