// SPDX-License-Identifier: MIT
#include "ui/gauge/svg_path.h"

namespace quelmo::gauge {

namespace {
void appendPoint(QString& out, const QPainterPath::Element& e) {
    out += QString::number(e.x, 'f', 3);
    out += QLatin1Char(' ');
    out += QString::number(e.y, 'f', 3);
}
} // namespace

QString svgPathData(const QPainterPath& path) {
    QString out;
    const int count = path.elementCount();
    for (int i = 0; i < count; ++i) {
        const auto e = path.elementAt(i);
        if (!out.isEmpty()) {
            out += QLatin1Char(' ');
        }
        if (e.isMoveTo()) {
            out += QStringLiteral("M ");
            appendPoint(out, e);
        } else if (e.isLineTo()) {
            out += QStringLiteral("L ");
            appendPoint(out, e);
        } else if (e.isCurveTo() && i + 2 < count) {
            // A cubic curve takes its two following data elements along.
            out += QStringLiteral("C ");
            appendPoint(out, e);
            out += QLatin1Char(' ');
            appendPoint(out, path.elementAt(i + 1));
            out += QLatin1Char(' ');
            appendPoint(out, path.elementAt(i + 2));
            i += 2;
        }
    }
    return out;
}

} // namespace quelmo::gauge
