// SPDX-License-Identifier: MIT
#include "ui/gauge/angle_text.h"

#include <QCoreApplication>

#include <algorithm>
#include <cmath>

namespace quelmo::gauge {

namespace {
// Far beyond any head angle; keeps the conversion to an integer defined.
constexpr double kLargest = 1e15;
} // namespace

long long wholeDegrees(double angle) {
    if (std::isnan(angle)) {
        return 0;
    }
    const double size = std::fmin(std::fabs(angle), kLargest);
    return static_cast<long long>(std::round(size)); // std::round: halves away from zero
}

QString angleReadout(double angle) {
    return QString::number(wholeDegrees(angle)) + QChar(0x00B0);
}

QString accessibilityValue(double angle, bool active) {
    if (!active) {
        return QCoreApplication::translate("GaugeView", "not tracking");
    }
    // Within 2 degrees of the middle the side is left out.
    const int degrees = static_cast<int>(std::min(wholeDegrees(angle), 1000000LL));
    if (angle > 2.0) {
        return QCoreApplication::translate("GaugeView", "%n degrees left", nullptr, degrees);
    }
    if (angle < -2.0) {
        return QCoreApplication::translate("GaugeView", "%n degrees right", nullptr, degrees);
    }
    return QCoreApplication::translate("GaugeView", "%n degrees ", nullptr, degrees);
}

QString accessibilityLabel() {
    return QCoreApplication::translate("GaugeView", "Head angle");
}

} // namespace quelmo::gauge
