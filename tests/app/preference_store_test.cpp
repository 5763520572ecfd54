// SPDX-License-Identifier: MIT
#include "app/preference_store.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace quelmo {
namespace {

TEST(ParseStoredBool, TrueFalseOneZero) {
    EXPECT_EQ(parseStoredBool("true"), true);
    EXPECT_EQ(parseStoredBool("false"), false);
    EXPECT_EQ(parseStoredBool("TRUE"), true);
    EXPECT_EQ(parseStoredBool("False"), false);
    EXPECT_EQ(parseStoredBool("1"), true);
    EXPECT_EQ(parseStoredBool("0"), false);
    EXPECT_EQ(parseStoredBool("  true\t"), true);
}

TEST(ParseStoredBool, AnythingElseIsNotABoolean) {
    for (const char* text : {"", " ", "abc", "yes", "no", "on", "off", "2", "-1", "1.0", "0.0",
                             "truex", "t", "f", "true false", "\"true\""}) {
        EXPECT_FALSE(parseStoredBool(text).has_value()) << text;
    }
}

TEST(ParseStoredDouble, DecimalNumbers) {
    EXPECT_EQ(parseStoredDouble("50"), 50.0);
    EXPECT_EQ(parseStoredDouble("0.6"), 0.6);
    EXPECT_EQ(parseStoredDouble("-0.5"), -0.5);
    EXPECT_EQ(parseStoredDouble("1e2"), 100.0);
    EXPECT_EQ(parseStoredDouble("1e-07"), 1e-7);
    EXPECT_EQ(parseStoredDouble(" 35 "), 35.0);
    EXPECT_EQ(parseStoredDouble(".5"), 0.5);
}

TEST(ParseStoredDouble, AnythingElseIsNotADouble) {
    for (const char* text : {"", " ", "abc", "50abc", "50 60", "0x40", "nan", "NaN", "inf", "-inf",
                             "infinity", "1e999", "50,5", "true", "false", "--1"}) {
        EXPECT_FALSE(parseStoredDouble(text).has_value()) << text;
    }
}

TEST(FormatStoredDouble, ShortestTextThatReadsBack) {
    EXPECT_EQ(formatStoredDouble(50.0), "50");
    EXPECT_EQ(formatStoredDouble(0.6), "0.6");
    EXPECT_EQ(formatStoredDouble(-0.5), "-0.5");
    for (double v : {0.1 + 0.2, 1.0 / 3.0, 35.000000000000007, 1e-300, 69.99999999999999}) {
        EXPECT_EQ(parseStoredDouble(formatStoredDouble(v)), v);
    }
}

TEST(MemoryPreferenceStore, WritesBooleansAsTrueFalseAndCountsWrites) {
    MemoryPreferenceStore store;
    EXPECT_FALSE(store.read("enabled").has_value());
    store.writeBool("enabled", false);
    store.writeBool("diagnostics", true);
    store.writeDouble("triggerAngle", 80);
    EXPECT_EQ(store.read("enabled"), "false");
    EXPECT_EQ(store.read("diagnostics"), "true");
    EXPECT_EQ(store.read("triggerAngle"), "80");
    EXPECT_EQ(store.writeCount(), 3u);
    store.set("x", "text");
    EXPECT_EQ(store.writeCount(), 3u);
    EXPECT_TRUE(store.contains("x"));
    store.remove("x");
    EXPECT_FALSE(store.contains("x"));
}

} // namespace
} // namespace quelmo
