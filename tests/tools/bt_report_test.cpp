// quelmo-bt-report's parsing of btmgmt output (on recorded output) and its
// JSON, read back by the signal reader.

#include "platform/signal/headphone_signal.h"
#include "tools/bt-report/bt_report.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

namespace quelmo::btreport {
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
} // namespace quelmo::btreport
