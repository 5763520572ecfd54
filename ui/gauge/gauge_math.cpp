// SPDX-License-Identifier: MIT
#include "ui/gauge/gauge_math.h"

#include "ui/gauge/angle_text.h"
#include "ui/gauge/brand.h"
#include "ui/gauge/gauge_geometry.h"
#include "ui/gauge/svg_path.h"

#include <QPainterPath>
#include <QPainterPathStroker>

namespace quelmo {

namespace {
gauge::Point toPoint(QPointF p) {
    return {p.x(), p.y()};
}
QPointF toQPoint(gauge::Point p) {
    return {p.x, p.y};
}
} // namespace

QVariantList GaugeMath::brandColors() const {
    QVariantList colors;
    for (const auto& stop : gauge::brandGradientStops()) {
        colors.append(stop.second);
    }
    return colors;
}

QVariantList GaugeMath::brandPositions() const {
    QVariantList positions;
    for (const auto& stop : gauge::kBrandStops) {
        positions.append(stop.position);
    }
    return positions;
}

QString GaugeMath::accessibilityLabel() const {
    return gauge::accessibilityLabel();
}

double GaugeMath::needleAnimationMs() const {
    return gauge::kNeedleAnimationSeconds * 1000.0;
}

QPointF GaugeMath::pivot(double width, double height) const {
    return toQPoint(gauge::geometryFor(width, height).pivot);
}

double GaugeMath::radius(double width, double height) const {
    return gauge::geometryFor(width, height).radius;
}

QPointF GaugeMath::pointAt(double degrees, double radius, QPointF centre) const {
    return toQPoint(gauge::pointAt(degrees, radius, toPoint(centre)));
}

double GaugeMath::needleAngle(double angle) const {
    return gauge::needleAngle(angle);
}

QPolygonF GaugeMath::arc(double from, double to, double radius, QPointF centre) const {
    QPolygonF polygon;
    for (const auto& p : gauge::arc(from, to, radius, toPoint(centre))) {
        polygon.append(toQPoint(p));
    }
    return polygon;
}

QString GaugeMath::strokedArc(double from, double to, double radius, QPointF centre) const {
    const QPolygonF line = arc(from, to, radius, centre);
    QPainterPath path;
    path.addPolygon(line);
    QPainterPathStroker stroker;
    stroker.setWidth(gauge::kBandWidth);
    stroker.setCapStyle(Qt::RoundCap);
    stroker.setJoinStyle(Qt::MiterJoin);
    return gauge::svgPathData(stroker.createStroke(path));
}

QString GaugeMath::accessibilityValue(double angle, bool active) const {
    return gauge::accessibilityValue(angle, active);
}

QString GaugeMath::angleReadout(double angle) const {
    return gauge::angleReadout(angle);
}

} // namespace quelmo
