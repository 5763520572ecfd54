// SPDX-License-Identifier: MIT
#include "ui/gauge/angle_text.h"
#include "ui/gauge/gauge_geometry.h"
#include "ui/gauge/gauge_math.h"

#include <gtest/gtest.h>

#include <cmath>

namespace quelmo::gauge {
namespace {

void expectNear(Point actual, Point expected) {
    EXPECT_NEAR(actual.x, expected.x, 1e-9);
    EXPECT_NEAR(actual.y, expected.y, 1e-9);
}

TEST(GaugeGeometry, PivotAndRadiusFollowTheBox) {
    const auto wide = geometryFor(300, 118);
    EXPECT_EQ(wide.pivot, (Point{150, 108}));
    EXPECT_EQ(wide.radius, 96); // min(118 - 22, 150 - 14)
    EXPECT_EQ(wide.radius - kNeedleInset, 82);

    EXPECT_EQ(geometryFor(120, 118).radius, 46); // the width decides
    EXPECT_EQ(geometryFor(300, 150).radius, 128);
}

TEST(GaugeGeometry, AnglesRunFromTheLeftEndOverTheTopToTheRightEnd) {
    const Point c{150, 108};
    expectNear(pointAt(0, 96, c), {150, 12});
    expectNear(pointAt(90, 96, c), {54, 108});   // turned left: left end
    expectNear(pointAt(-90, 96, c), {246, 108}); // turned right: right end
    expectNear(pointAt(30, 10, {0, 0}), {-5, -10 * std::cos(M_PI / 6)});
}

TEST(GaugeGeometry, ArcsHaveOneSegmentPerTwoDegreesAndAtLeastTwo) {
    // Trigger 45 and release 30: the bands of the gauge.
    const auto bands = bandsFor(45, 30);
    EXPECT_EQ(segmentCount(bands.neutral.from, bands.neutral.to), 30);
    EXPECT_EQ(segmentCount(bands.leftHysteresis.from, bands.leftHysteresis.to), 7);
    EXPECT_EQ(segmentCount(bands.rightHysteresis.from, bands.rightHysteresis.to), 7);
    EXPECT_EQ(segmentCount(bands.leftFrost.from, bands.leftFrost.to), 22);
    EXPECT_EQ(segmentCount(bands.rightFrost.from, bands.rightFrost.to), 22);

    EXPECT_EQ(segmentCount(10, 10), 2);
    EXPECT_EQ(segmentCount(0, 5.9), 2); // 2.95 truncates to 2
    EXPECT_EQ(segmentCount(0, 7.9), 3);
    EXPECT_EQ(segmentCount(0, NAN), 2);
    EXPECT_EQ(segmentCount(0, 1e300), 1000); // bounded, whatever it is handed
}

TEST(GaugeGeometry, ArcStartsAtToAndEndsAtFrom) {
    const Point c{100, 100};
    const auto points = arc(90, 45, 50, c);
    ASSERT_EQ(points.size(), 23u);
    expectNear(points.front(), pointAt(45, 50, c));
    expectNear(points.back(), pointAt(90, 50, c));
    expectNear(points[11], pointAt(45 + 45.0 * 11 / 22, 50, c));
}

TEST(GaugeGeometry, BandsSitAroundTheTriggerAndReleaseAngles) {
    const auto b = bandsFor(50, 35);
    EXPECT_EQ(b.neutral.from, 35);
    EXPECT_EQ(b.neutral.to, -35);
    EXPECT_EQ(b.leftHysteresis.from, 50);
    EXPECT_EQ(b.leftHysteresis.to, 35);
    EXPECT_EQ(b.rightHysteresis.from, -35);
    EXPECT_EQ(b.rightHysteresis.to, -50);
    EXPECT_EQ(b.leftFrost.from, 90);
    EXPECT_EQ(b.leftFrost.to, 50);
    EXPECT_EQ(b.rightFrost.from, -50);
    EXPECT_EQ(b.rightFrost.to, -90);
}

TEST(GaugeGeometry, NeedleStaysOnTheHalfCircle) {
    EXPECT_EQ(needleAngle(135), 90);
    EXPECT_EQ(needleAngle(-90), -90);
    EXPECT_EQ(needleAngle(-500), -90);
    EXPECT_EQ(needleAngle(37.5), 37.5);
    EXPECT_EQ(needleAngle(NAN), 0);
    const auto g = geometryFor(300, 118);
    expectNear(needleTip(135, g), {150 - 82, 108}); // exactly left, 82 long
}

TEST(GaugeText, AccessibilityValueNamesSizeAndSide) {
    EXPECT_EQ(accessibilityLabel(), "Head angle");
    EXPECT_EQ(accessibilityValue(31.6, true), "32 degrees left");
    EXPECT_EQ(accessibilityValue(-12.2, true), "12 degrees right");
    EXPECT_EQ(accessibilityValue(1.5, true), "2 degrees ");
    EXPECT_EQ(accessibilityValue(-2.0, true), "2 degrees ");
    EXPECT_EQ(accessibilityValue(2.01, true), "2 degrees left");
    EXPECT_EQ(accessibilityValue(135, true), "135 degrees left");
    EXPECT_EQ(accessibilityValue(-0.4, true), "0 degrees ");
    EXPECT_EQ(accessibilityValue(40, false), "not tracking");
}

TEST(GaugeText, WholeDegreesRoundHalvesAwayFromZero) {
    EXPECT_EQ(wholeDegrees(36.5), 37);
    EXPECT_EQ(wholeDegrees(-36.5), 37);
    EXPECT_EQ(wholeDegrees(36.49), 36);
    EXPECT_EQ(wholeDegrees(NAN), 0);
    EXPECT_EQ(angleReadout(-36.5), QString::fromUtf8("37°"));
    EXPECT_EQ(angleReadout(0.2), QString::fromUtf8("0°"));
}

TEST(GaugeMath, GradientBandOutlineCoversTheStrokedArc) {
    const GaugeMath math;
    const QString d = math.strokedArc(90, 45, 96, {150, 108});
    ASSERT_TRUE(d.startsWith("M "));
    EXPECT_TRUE(d.contains(" C ")); // the round caps
    // The outline reaches half the band width beyond the circle (the curve
    // control points of the round caps may reach a hair further).
    const auto parts = d.split(' ', Qt::SkipEmptyParts);
    double minX = 1e9;
    double maxY = -1e9;
    for (int i = 0; i + 1 < parts.size(); ++i) {
        bool okX = false;
        bool okY = false;
        const double x = parts[i].toDouble(&okX);
        const double y = parts[i + 1].toDouble(&okY);
        if (okX && okY) {
            minX = std::min(minX, x);
            maxY = std::max(maxY, y);
            ++i;
        }
    }
    EXPECT_NEAR(minX, 150 - 96 - 5, 0.1); // the band's outer edge at the left end
    EXPECT_NEAR(maxY, 108 + 5, 0.1);      // the round cap below the left end
}

TEST(GaugeMath, BrandGradientHasThreeEvenStops) {
    const GaugeMath math;
    const auto colors = math.brandColors();
    ASSERT_EQ(colors.size(), 3);
    EXPECT_EQ(colors[0].value<QColor>().name(), "#3b6ef0");
    EXPECT_EQ(colors[1].value<QColor>().name(), "#8a5cf5");
    EXPECT_EQ(colors[2].value<QColor>().name(), "#ed5ea8");
    EXPECT_EQ(math.brandPositions(), (QVariantList{0.0, 0.5, 1.0}));
}

} // namespace
} // namespace quelmo::gauge
