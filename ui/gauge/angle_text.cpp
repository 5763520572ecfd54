#include "ui/gauge/angle_text.h"

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
        return QStringLiteral("not tracking");
    }
    QString side;
    if (angle > 2.0) {
        side = QStringLiteral("left");
    } else if (angle < -2.0) {
        side = QStringLiteral("right");
    }
    return QString::number(wholeDegrees(angle)) + QStringLiteral(" degrees ") + side;
}

} // namespace quelmo::gauge
