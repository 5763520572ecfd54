// SPDX-License-Identifier: MIT
#include "app/app_status.h"

#include <QDate>
#include <QDateTime>
#include <QTime>

#include <gtest/gtest.h>

#include <vector>

namespace quelmo {
namespace {

using Kind = AppStatus::Kind;

// A wall-clock time point for a local date and time.
AppStatus::TimePoint localTime(int y, int mo, int d, int h, int mi) {
    const QDateTime dt(QDate(y, mo, d), QTime(h, mi));
    return AppStatus::TimePoint{std::chrono::milliseconds{dt.toMSecsSinceEpoch()}};
}

std::vector<AppStatus> casesWithoutValue() {
    return {AppStatus::needsSetup(),  AppStatus::permissionDenied(), AppStatus::unsupported(),
            AppStatus::off(),         AppStatus::screenLocked(),     AppStatus::waitingForAirPods(),
            AppStatus::calibrating(), AppStatus::watching(),         AppStatus::frosted(),
            AppStatus::away()};
}

std::string utf8(const QString& s) {
    return s.toStdString();
}

TEST(AppStatus, TitlesMatchTheShownTextsByteForByte) {
    EXPECT_EQ(utf8(AppStatus::needsSetup().title()), "Finish setup to start");
    EXPECT_EQ(utf8(AppStatus::permissionDenied().title()), "Motion access is turned off");
    EXPECT_EQ(utf8(AppStatus::unsupported().title()),
              "Head tracking isn't available on this computer");
    EXPECT_EQ(utf8(AppStatus::off().title()), "Quelmo is off");
    EXPECT_EQ(utf8(AppStatus::screenLocked().title()), "Resting while the screen is locked");
    EXPECT_EQ(utf8(AppStatus::waitingForAirPods().title()), "Waiting for your AirPods");
    EXPECT_EQ(utf8(AppStatus::calibrating().title()), "Getting ready\xE2\x80\xA6");
    EXPECT_EQ(utf8(AppStatus::watching().title()), "Watching. Turn away and it frosts.");
    EXPECT_EQ(utf8(AppStatus::frosted().title()), "Frosted. You're turned away.");
    EXPECT_EQ(utf8(AppStatus::away().title()), "Frosted. You stepped away.");
}

TEST(AppStatus, GettingReadyUsesTheSingleEllipsisCharacter) {
    const QByteArray bytes = AppStatus::calibrating().title().toUtf8();
    EXPECT_EQ(bytes.size(), 16);
    EXPECT_FALSE(bytes.contains("..."));
    EXPECT_EQ(AppStatus::calibrating().title().back(), QChar(0x2026));
}

TEST(AppStatus, ApostrophesArePlainAscii) {
    for (const auto& s : {AppStatus::unsupported(), AppStatus::frosted()}) {
        const QByteArray bytes = s.title().toUtf8();
        EXPECT_TRUE(bytes.contains('\''));
        for (char c : bytes) {
            EXPECT_GE(static_cast<unsigned char>(c), 0x20);
            EXPECT_LT(static_cast<unsigned char>(c), 0x80);
        }
    }
}

TEST(AppStatus, SymbolNames) {
    EXPECT_EQ(utf8(AppStatus::paused(localTime(2026, 3, 9, 15, 45)).symbolName()), "pause.circle");
    EXPECT_EQ(utf8(AppStatus::needsSetup().symbolName()), "exclamationmark.circle");
    EXPECT_EQ(utf8(AppStatus::permissionDenied().symbolName()), "exclamationmark.circle");
    EXPECT_EQ(utf8(AppStatus::unsupported().symbolName()), "exclamationmark.circle");
    EXPECT_EQ(utf8(AppStatus::off().symbolName()), "eye.slash");
    EXPECT_EQ(utf8(AppStatus::screenLocked().symbolName()), "eye.slash");
    EXPECT_EQ(utf8(AppStatus::waitingForAirPods().symbolName()), "airpodspro");
    EXPECT_EQ(utf8(AppStatus::calibrating().symbolName()), "eye");
    EXPECT_EQ(utf8(AppStatus::watching().symbolName()), "eye");
    EXPECT_EQ(utf8(AppStatus::frosted().symbolName()), "eye.slash.fill");
    EXPECT_EQ(utf8(AppStatus::away().symbolName()), "eye.slash.fill");
}

TEST(AppStatus, PausedTitleInUnitedStatesEnglish) {
    const auto s = AppStatus::paused(localTime(2026, 3, 9, 15, 45));
    // Qt's short time format for en_US is "h:mm AP".
    EXPECT_EQ(utf8(s.title(QLocale(QLocale::English, QLocale::UnitedStates))),
              "Paused until 3:45 PM");
}

TEST(AppStatus, PausedTitleFollowsA24HourLocale) {
    const auto s = AppStatus::paused(localTime(2026, 3, 9, 15, 45));
    EXPECT_EQ(utf8(s.title(QLocale(QLocale::German, QLocale::Germany))), "Paused until 15:45");
    EXPECT_EQ(utf8(s.title(QLocale(QLocale::English, QLocale::UnitedKingdom))),
              "Paused until 15:45");
}

TEST(AppStatus, PausedTitleOnTheNextDayShowsTheTimeOnly) {
    const QDateTime tomorrow(QDate::currentDate().addDays(1), QTime(9, 5));
    const auto s = AppStatus::paused(
        AppStatus::TimePoint{std::chrono::milliseconds{tomorrow.toMSecsSinceEpoch()}});
    EXPECT_EQ(utf8(s.title(QLocale(QLocale::English, QLocale::UnitedStates))),
              "Paused until 9:05 AM");
    const QLocale de(QLocale::German, QLocale::Germany);
    EXPECT_EQ(utf8(s.title(de)), "Paused until 09:05");
}

TEST(AppStatus, PausedTitleUsesTheSystemLocaleByDefault) {
    const auto s = AppStatus::paused(localTime(2026, 3, 9, 15, 45));
    EXPECT_EQ(s.title(), s.title(QLocale::system()));
    EXPECT_TRUE(s.title().startsWith(QStringLiteral("Paused until ")));
}

TEST(AppStatus, PausedEqualityComparesTheTime) {
    const auto t1 = localTime(2026, 3, 9, 15, 45);
    const auto t2 = t1 + std::chrono::minutes(30);
    EXPECT_EQ(AppStatus::paused(t1), AppStatus::paused(t1));
    EXPECT_NE(AppStatus::paused(t1), AppStatus::paused(t2));
    EXPECT_NE(AppStatus::paused(t1), AppStatus::paused(t1 + std::chrono::nanoseconds(1)));
}

TEST(AppStatus, NoTwoDifferentCasesAreEqual) {
    auto all = casesWithoutValue();
    all.push_back(AppStatus::paused(localTime(2026, 3, 9, 15, 45)));
    for (std::size_t i = 0; i < all.size(); ++i) {
        for (std::size_t j = 0; j < all.size(); ++j) {
            EXPECT_EQ(all[i] == all[j], i == j) << i << " vs " << j;
        }
    }
}

TEST(AppStatus, PausedNeverEqualsACaseWithoutValue) {
    // Not even one made from the epoch (a default time).
    const auto p = AppStatus::paused(AppStatus::TimePoint{});
    for (const auto& s : casesWithoutValue()) {
        EXPECT_NE(p, s);
        EXPECT_NE(s, p);
    }
}

TEST(AppStatus, KindsAndPausedUntil) {
    const auto t = localTime(2026, 3, 9, 15, 45);
    EXPECT_EQ(AppStatus::paused(t).kind(), Kind::paused);
    EXPECT_EQ(AppStatus::paused(t).pausedUntil(), t);
    EXPECT_EQ(AppStatus::watching().kind(), Kind::watching);
    EXPECT_FALSE(AppStatus::watching().pausedUntil().has_value());
    EXPECT_STREQ(kindName(Kind::waitingForAirPods), "waitingForAirPods");
    EXPECT_STREQ(kindName(Kind::paused), "paused");
}

TEST(AppStatus, IsAPlainCopyableValue) {
    AppStatus a = AppStatus::frosted();
    const AppStatus b = a;
    a = AppStatus::away();
    EXPECT_EQ(b, AppStatus::frosted());
    EXPECT_EQ(a, AppStatus::away());
    static_assert(std::is_trivially_copyable_v<AppStatus>);
}

} // namespace
} // namespace quelmo
