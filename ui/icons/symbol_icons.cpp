// SPDX-License-Identifier: MIT
#include "ui/icons/symbol_icons.h"

#include <QFile>
#include <QPainter>
#include <QSvgRenderer>

namespace quelmo {

QString symbolIconPath(const QString& symbolName, IconTone tone) {
    // Names come from the status; anything with a path separator or not in
    // the set we ship is refused rather than looked up.
    if (symbolName.isEmpty() || symbolName.contains(QLatin1Char('/'))) {
        return {};
    }
    const QString path =
        QStringLiteral(":/quelmo/icons/%1/%2.svg")
            .arg(tone == IconTone::light ? QStringLiteral("light") : QStringLiteral("dark"),
                 symbolName);
    return QFile::exists(path) ? path : QString();
}

QImage renderSymbol(const QString& symbolName, IconTone tone, QSize pixelSize) {
    const QString path = symbolIconPath(symbolName, tone);
    if (path.isEmpty() || pixelSize.isEmpty()) {
        return {};
    }
    QSvgRenderer renderer(path);
    if (!renderer.isValid()) {
        return {};
    }
    QImage image(pixelSize, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    renderer.render(&painter, QRectF(QPointF(0, 0), QSizeF(pixelSize)));
    return image;
}

IconTone toneForBackground(const QColor& background) {
    return background.lightnessF() < 0.5 ? IconTone::dark : IconTone::light;
}

QString appIconPath() {
    return QStringLiteral(":/quelmo/icons/quelmo.svg");
}

QIcon appIcon() {
    return QIcon(appIconPath());
}

} // namespace quelmo
