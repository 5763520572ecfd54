// SPDX-License-Identifier: MIT
// Reading the Bluetooth report's JSON, case by case.

#include "platform/signal/headphone_signal.h"
#include "platform/signal/signal_report_parser.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

namespace quelmo {
namespace {

// One controller whose connected list holds the given device objects.
std::string report(const std::string& devices) {
    return R"({"SPBluetoothDataType":[{"device_connected":[)" + devices + "]}]}";
}

std::string device(const std::string& name, const std::string& fields) {
    return "{\"" + name + "\":{" + fields + "}}";
}

std::string headphones(const std::string& address, const std::string& rssiJson) {
    return device("Buds", R"("device_address":")" + address +
                              R"(","device_minorType":"Headphones","device_rssi":)" + rssiJson);
}

TEST(SignalReport, ReadsConnectedHeadphonesOnly) {
    std::ifstream file(QUELMO_SIGNAL_FIXTURES "/two-devices.json");
    std::stringstream text;
    text << file.rdbuf();
    const SignalReadings reading = HeadphoneSignal::parse(text.str());
    EXPECT_EQ(reading, (SignalReadings{{"AC:80:0A:11:22:33", -61.0}}));
}

TEST(SignalReport, RssiMustBeTextThatIsWhollyANegativeNumber) {
    const std::pair<std::string, std::optional<double>> cases[] = {
        {R"("-58")", -58.0},    {R"("-0.5")", -0.5}, {R"("-6.1e1")", -61.0},
        {R"("-0x10")", -16.0}, // strtod's hexadecimal form is a number too
        {R"("0")", {}},         {R"("12")", {}},     {R"("abc")", {}},
        {R"("")", {}},          {R"(" -58")", {}},   {R"("\t-58")", {}},
        {R"("-58 dBm")", {}},   {R"("-58 ")", {}},   {R"("-58\u0000")", {}},
        {R"("\u0000-58")", {}}, {R"("-1,5")", {}},   {R"("nan")", {}},
        {R"("-inf")", {}},      {R"("-1e999")", {}}, {R"(-58)", {}},
        {R"(null)", {}},        {R"(["-58"])", {}},
    };
    for (const auto& [rssi, expected] : cases) {
        const SignalReadings reading = HeadphoneSignal::parse(report(headphones("A", rssi)));
        if (expected) {
            EXPECT_EQ(reading, (SignalReadings{{"A", *expected}})) << rssi;
        } else {
            EXPECT_TRUE(reading.empty()) << rssi;
        }
    }
}

TEST(SignalReport, MalformedDevicesAreLeftOutAndTheOthersKept) {
    const std::string devices =
        device("No address", R"("device_minorType":"Headphones","device_rssi":"-50")") + "," +
        device("Wrong case",
               R"("device_address":"B","device_minorType":"headphones","device_rssi":"-50")") +
        "," +
        device("Number address",
               R"("device_address":7,"device_minorType":"Headphones","device_rssi":"-50")") +
        "," +
        R"({"Not an object":"x","Good":{"device_address":"C","device_minorType":"Headphones","device_rssi":"-70"}})";
    EXPECT_EQ(HeadphoneSignal::parse(report(devices)), (SignalReadings{{"C", -70.0}}));
}

TEST(SignalReport, LaterDevicesWithTheSameAddressWin) {
    const std::string devices = headphones("A", R"("-50")") + "," + headphones("A", R"("-65")");
    EXPECT_EQ(HeadphoneSignal::parse(report(devices)), (SignalReadings{{"A", -65.0}}));
}

TEST(SignalReport, ControllersAreReadIndependently) {
    const std::string good = R"({"device_connected":[)" + headphones("A", R"("-60")") + "]}";
    const std::string noList = R"({"device_not_connected":[]})";
    const std::string badList =
        R"({"device_connected":[)" + headphones("B", R"("-60")") + R"(,5]})";
    const std::string text =
        R"({"SPBluetoothDataType":[)" + noList + "," + badList + "," + good + "]}";
    EXPECT_EQ(HeadphoneSignal::parse(text), (SignalReadings{{"A", -60.0}}));
}

TEST(SignalReport, AnythingButTheExpectedShapeIsEmpty) {
    const std::string one = headphones("A", R"("-60")");
    for (const std::string& text : {
             std::string(),
             std::string("not json"),
             "[" + report(one) + "]",                                         // top level an array
             R"({"SPBluetoothDataType":{"device_connected":[)" + one + "]}}", // object, not array
             R"({"SPBluetoothDataType":[{"device_connected":[)" + one +
                 "]},3]}",                                  // a non-object controller
             report(one).substr(0, report(one).size() - 3), // cut short
             report(one) + "trailing",
             std::string("\"SPBluetoothDataType\""),
             // Nesting deep enough to exhaust a recursive parser's stack.
             "{\"SPBluetoothDataType\":" + std::string(100000, '[') + std::string(100000, ']') +
                 "}",
         }) {
        EXPECT_TRUE(HeadphoneSignal::parse(text).empty()) << text;
    }
}

} // namespace
} // namespace quelmo
