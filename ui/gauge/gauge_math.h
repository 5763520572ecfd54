// SPDX-License-Identifier: MIT
#pragma once

#include <QColor>
#include <QObject>
#include <QPointF>
#include <QPolygonF>
#include <QString>
#include <QVariantList>

namespace quelmo {

// The gauge's geometry and texts for GaugeView.qml (a QML singleton), so that
// the numbers come from the tested C++ rather than from script.
class GaugeMath : public QObject {
    Q_OBJECT
    Q_PROPERTY(QVariantList brandColors READ brandColors CONSTANT)
    Q_PROPERTY(QVariantList brandPositions READ brandPositions CONSTANT)
    Q_PROPERTY(QString accessibilityLabel READ accessibilityLabel CONSTANT)
    Q_PROPERTY(double needleAnimationMs READ needleAnimationMs CONSTANT)

  public:
    using QObject::QObject;

    QVariantList brandColors() const;
    QVariantList brandPositions() const;
    QString accessibilityLabel() const;
    double needleAnimationMs() const;

    Q_INVOKABLE QPointF pivot(double width, double height) const;
    Q_INVOKABLE double radius(double width, double height) const;
    Q_INVOKABLE QPointF pointAt(double degrees, double radius, QPointF centre) const;
    Q_INVOKABLE double needleAngle(double angle) const;
    // The band between two angles as the polyline it is stroked along.
    Q_INVOKABLE QPolygonF arc(double from, double to, double radius, QPointF centre) const;
    // The outline of that band stroked 10 wide with round caps, as SVG path
    // data, for bands that are filled with a gradient (a Shape cannot stroke
    // with one).
    Q_INVOKABLE QString strokedArc(double from, double to, double radius, QPointF centre) const;
    Q_INVOKABLE QString accessibilityValue(double angle, bool active) const;
    Q_INVOKABLE QString angleReadout(double angle) const;
};

} // namespace quelmo
