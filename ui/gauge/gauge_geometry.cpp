// SPDX-License-Identifier: MIT
#include "ui/gauge/gauge_geometry.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace quelmo::gauge {

namespace {
// A span far beyond anything the settings offer must not turn into an
// unbounded allocation; 1000 segments already cover 2000 degrees.
constexpr int kMaxSegments = 1000;
} // namespace

Geometry geometryFor(double width, double height) {
    Geometry g;
    g.pivot = {width * 0.5, height - 10.0};
    const double byHeight = height - 22.0;
    const double byWidth = width * 0.5 - 14.0;
    g.radius = byHeight < byWidth ? byHeight : byWidth;
    return g;
}

Point pointAt(double degrees, double radius, Point centre) {
    const double radians = degrees * std::numbers::pi / 180.0;
    return {centre.x - radius * std::sin(radians), centre.y - radius * std::cos(radians)};
}

int segmentCount(double from, double to) {
    const double span = std::fabs(from - to) * 0.5;
    if (!std::isfinite(span)) {
        return 2;
    }
    const double whole = std::trunc(std::min(span, double(kMaxSegments)));
    const int n = static_cast<int>(whole);
    return n > 2 ? n : 2;
}

std::vector<Point> arc(double from, double to, double radius, Point centre) {
    const int n = segmentCount(from, to);
    std::vector<Point> points;
    points.reserve(static_cast<std::size_t>(n) + 1);
    points.push_back(pointAt(to, radius, centre));
    for (int i = 1; i <= n; ++i) {
        points.push_back(pointAt(to + (from - to) * i / n, radius, centre));
    }
    return points;
}

double needleAngle(double angle) {
    if (std::isnan(angle)) {
        return 0.0;
    }
    return std::clamp(angle, -kNeedleLimit, kNeedleLimit);
}

Point needleTip(double angle, const Geometry& geometry) {
    return pointAt(needleAngle(angle), geometry.radius - kNeedleInset, geometry.pivot);
}

Bands bandsFor(double triggerAngle, double releaseAngle) {
    return {
        {releaseAngle, -releaseAngle}, {triggerAngle, releaseAngle}, {-releaseAngle, -triggerAngle},
        {90.0, triggerAngle},          {-triggerAngle, -90.0},
    };
}

} // namespace quelmo::gauge
