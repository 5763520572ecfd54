// SPDX-License-Identifier: MIT
#pragma once

#include <vector>

namespace quelmo::gauge {

// A point in the gauge's own coordinates: points, y axis pointing down.
struct Point {
    double x = 0.0;
    double y = 0.0;
    bool operator==(const Point&) const = default;
};

// Where the dial sits in a box of the given size: the pivot near the bottom
// centre and the largest radius that keeps the bands inside the box.
struct Geometry {
    Point pivot;
    double radius = 0.0;
};

// Stroke widths and insets the layers are drawn with.
inline constexpr double kBandWidth = 10.0;
inline constexpr double kNeedleWidth = 3.0;
inline constexpr double kNeedleInset = 14.0; // the needle stops short of the bands
inline constexpr double kPivotDiameter = 12.0;
// The needle cannot leave the half circle.
inline constexpr double kNeedleLimit = 90.0;
// How far the needle takes to follow a new angle, in seconds.
inline constexpr double kNeedleAnimationSeconds = 0.12;

Geometry geometryFor(double width, double height);

// The point at `degrees` on a circle of `radius` about `centre`: 0 straight up,
// +90 at the left end, -90 at the right end (positive angles are turns to the
// user's left, as the gauge is seen from above the head).
Point pointAt(double degrees, double radius, Point centre);

// Segments of the polyline between two angles: one per two degrees, at least two.
int segmentCount(double from, double to);

// The band between two angles as a polyline, starting at `to` and ending at `from`.
std::vector<Point> arc(double from, double to, double radius, Point centre);

// The angle the needle is drawn at: the live angle held to the half circle.
double needleAngle(double angle);

// The needle's tip for a live angle.
Point needleTip(double angle, const Geometry& geometry);

// The four bands for a trigger and release angle, each as its arc's end angles
// (`from`, `to`) in drawing order: neutral, the two hysteresis bands, the two
// frost zones.
struct Band {
    double from;
    double to;
};
struct Bands {
    Band neutral;
    Band leftHysteresis;
    Band rightHysteresis;
    Band leftFrost;
    Band rightFrost;
};
Bands bandsFor(double triggerAngle, double releaseAngle);

} // namespace quelmo::gauge
