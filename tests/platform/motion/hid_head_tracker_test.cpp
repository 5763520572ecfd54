// SPDX-License-Identifier: MIT
// Head trackers on the open HID standard: found by usage in two descriptors
// with different report ids, switched on and off, their reports read as
// headings; a keyboard and broken descriptors refused.

#include "platform/motion/hid_head_tracker.h"
#include "tools/sim/hid_tracker_descriptors.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

namespace quelmo {
namespace {

using namespace hid;

struct Case {
    const char* name;
    std::vector<unsigned char> bytes;
    std::uint8_t info, state, input;
};

std::vector<Case> trackers() {
    return {{"standard", sim::standardTrackerDescriptor(), 2, 1, 1},
            {"variant", sim::variantTrackerDescriptor(), 14, 1, 3}};
}

TEST(HidHeadTracker, FoundByUsageWhateverTheReportIds) {
    for (const Case& c : trackers()) {
        std::string why;
        const auto descriptor = parseDescriptor(c.bytes.data(), c.bytes.size(), why);
        ASSERT_TRUE(descriptor) << c.name << ": " << why;
        const auto layout = findHeadTracker(*descriptor, why);
        ASSERT_TRUE(layout) << c.name << ": " << why;
        EXPECT_EQ(layout->description.reportId, c.info) << c.name;
        EXPECT_EQ(layout->reportingState.reportId, c.state) << c.name;
        EXPECT_EQ(layout->rotation.reportId, c.input) << c.name;
        EXPECT_EQ(descriptor->reportBytes(ReportKind::input, c.input), 14u) << c.name;

        // The description, as the device's feature report carries it.
        std::vector<unsigned char> info(descriptor->reportBytes(ReportKind::feature, c.info));
        info[0] = c.info;
        const std::string text = "#AndroidHeadTracker#1.0";
        for (std::size_t i = 0; i < text.size(); ++i)
            ASSERT_TRUE(
                writeField(layout->description, i, text[i], info.data(), info.size(), true));
        EXPECT_EQ(readDescription(*layout, info.data(), info.size()), text);

        // On: full power, all events, and (where there is one) 40 ms; off again.
        std::vector<unsigned char> state(descriptor->reportBytes(ReportKind::feature, c.state));
        state[0] = c.state;
        EXPECT_FALSE(isTrackerOn(*layout, state.data(), state.size()));
        ASSERT_TRUE(setTrackerOn(*layout, true, state.data(), state.size()));
        EXPECT_TRUE(isTrackerOn(*layout, state.data(), state.size()));
        if (layout->interval) {
            EXPECT_EQ(readField(*layout->interval, 0, state.data(), state.size(), true), 21);
        }
        ASSERT_TRUE(setTrackerOn(*layout, false, state.data(), state.size()));
        EXPECT_FALSE(isTrackerOn(*layout, state.data(), state.size()));

        // A head turned 90 degrees to the left: a rotation of pi/2 about z (up).
        TrackerReport turned;
        turned.rotation[2] = 3.141592653589793 / 2;
        turned.resetCounter = 7;
        unsigned char report[64];
        const std::size_t n = encodeTrackerReport(*layout, *descriptor, turned, report);
        const auto read = decodeTrackerReport(*layout, report, n);
        ASSERT_TRUE(read) << c.name;
        EXPECT_EQ(read->resetCounter, 7);
        EXPECT_NEAR(headingDegrees(motionOfRotation(read->rotation)), 90.0, 0.05) << c.name;
        EXPECT_NEAR(verticalAcceleration(motionOfRotation(read->rotation)), 0.0, 1e-12);
        // Another report's id, or cut short: nothing.
        report[0] = static_cast<unsigned char>(c.input + 1);
        EXPECT_FALSE(decodeTrackerReport(*layout, report, n));
        report[0] = c.input;
        EXPECT_FALSE(decodeTrackerReport(*layout, report, n - 2));
    }
}

TEST(HidHeadTracker, KeyboardsAndBrokenDescriptorsAreRefused) {
    std::string why;
    const auto keyboard = sim::keyboardDescriptor();
    EXPECT_TRUE(parseDescriptor(keyboard.data(), keyboard.size(), why));
    EXPECT_FALSE(headTrackerIn(keyboard.data(), keyboard.size(), why));
    EXPECT_NE(why.find("not a custom sensor"), std::string::npos) << why;

    // Cut anywhere, a tracker's descriptor is never taken for one.
    const auto good = sim::standardTrackerDescriptor();
    for (std::size_t n = 0; n < good.size(); ++n)
        EXPECT_FALSE(headTrackerIn(good.data(), n, why)) << n;

    // Hostile shapes: a usage range over every id, nesting without end,
    // a pop without a push, a report of 2^32 bits, a huge descriptor.
    const std::vector<std::vector<unsigned char>> hostile = {
        {0x05, 0x20, 0x19, 0x00, 0x2A, 0xFF, 0xFF, 0x81, 0x02},
        std::vector<unsigned char>(200, 0xA1),
        {0xB4},
        {0xA1, 0x01, 0x75, 0x20, 0x97, 0xFF, 0xFF, 0xFF, 0xFF, 0x81, 0x02, 0xC0},
        {0x85, 0x01, 0x81, 0x02, 0x85, 0x00},
    };
    for (const auto& bytes : hostile)
        EXPECT_FALSE(parseDescriptor(bytes.data(), bytes.size(), why));
    std::vector<unsigned char> huge(5000, 0x00);
    EXPECT_FALSE(parseDescriptor(huge.data(), huge.size(), why));
    // A reporting state whose values do not fit its one bit (logical 1..1:
    // "all events" would be 2): no way to switch it, so no tracker (found
    // by the fuzzer).
    auto odd = sim::standardTrackerDescriptor();
    for (std::size_t i = 0; i + 3 < odd.size(); ++i) {
        if (odd[i] == 0x0A && odd[i + 1] == 0x16 && odd[i + 2] == 0x03) {
            ASSERT_EQ(odd[i + 3], 0x15);
            odd[i + 4] = 0x01;
            break;
        }
    }
    EXPECT_FALSE(headTrackerIn(odd.data(), odd.size(), why));
    // The same layout without report ids: its features could not be framed.
    std::vector<unsigned char> unnumbered;
    const auto standard = sim::standardTrackerDescriptor();
    for (std::size_t i = 0; i < standard.size();) {
        // Item by item (a short item's size is in its prefix's low bits).
        const std::size_t size = 1 + ((standard[i] & 3) == 3 ? 4 : (standard[i] & 3));
        if (standard[i] != 0x85) // the report id item
            unnumbered.insert(unnumbered.end(), standard.begin() + static_cast<long>(i),
                              standard.begin() + static_cast<long>(i + size));
        i += size;
    }
    EXPECT_FALSE(headTrackerIn(unnumbered.data(), unnumbered.size(), why));
    EXPECT_EQ(why, "reports without ids");
    // The descriptions Quelmo reads.
    EXPECT_TRUE(isTrackerDescription("#AndroidHeadTracker#1.0"));
    EXPECT_TRUE(isTrackerDescription("#AndroidHeadTracker#2.0#3"));
    EXPECT_FALSE(isTrackerDescription("#AndroidHeadTracker#3.0"));
    EXPECT_FALSE(isTrackerDescription("AndroidHeadTracker#1.0"));
}

// The reference frame jumps 90 degrees with a new reset counter: the heading
// goes on from where it was, even at 10 reports a second, where the jump
// (900 degrees a second) is too slow for the turn detector to take for a
// re-centre. The same jump without a new counter is a turn.
TEST(HidHeadTracker, AResetOfTheReferenceIsCarriedOver) {
    const auto about = [](double degrees) {
        const double r[3] = {0, 0, degrees * 3.141592653589793 / 180.0};
        return motionOfRotation(r);
    };
    ResetCarry carry;
    EXPECT_NEAR(headingDegrees(carry.apply(about(10), 4)), 10.0, 1e-9);
    EXPECT_NEAR(headingDegrees(carry.apply(about(100), 5)), 10.0, 1e-9);
    EXPECT_NEAR(headingDegrees(carry.apply(about(110), 5)), 20.0, 1e-9);
    EXPECT_NEAR(headingDegrees(carry.apply(about(-170), 6)), 20.0, 1e-9); // across +-180
    EXPECT_NEAR(headingDegrees(carry.apply(about(-160), 6)), 30.0, 1e-9);
    EXPECT_NEAR(headingDegrees(carry.apply(about(-70), 6)), 120.0, 1e-9); // a turn
    carry.reset();
    EXPECT_NEAR(headingDegrees(carry.apply(about(-70), 9)), -70.0, 1e-9);
}

} // namespace
} // namespace quelmo
