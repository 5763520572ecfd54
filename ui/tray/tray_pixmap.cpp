// SPDX-License-Identifier: MIT
#include "ui/tray/tray_pixmap.h"

#include <QFont>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QPainter>

#include <cmath>

namespace quelmo {
namespace {

constexpr qreal kDimmedOpacity = 0.4;

QColor inkFor(IconTone tone) {
    return tone == IconTone::light ? QColor(0x1c, 0x1c, 0x1e) : QColor(0xf2, 0xf2, 0xf7);
}

// Medium weight, sized like small control text; the digits of the usual
// Linux sans fonts all have one width, which keeps the number from jiggling.
QFont angleFont(int height) {
    QFont font = QFontDatabase::systemFont(QFontDatabase::GeneralFont);
    font.setPixelSize(std::max(8, static_cast<int>(std::lround(height * 0.58))));
    font.setWeight(QFont::Medium);
    return font;
}

} // namespace

QString traySymbolFor(const QString& symbolName) {
    if (!symbolIconPath(symbolName, IconTone::light).isEmpty()) {
        return symbolName;
    }
    if (!symbolIconPath(QStringLiteral("eye"), IconTone::light).isEmpty()) {
        return QStringLiteral("eye");
    }
    return {};
}

QPixmap renderTrayPixmap(const TrayLook& look, IconTone tone, int height, qreal devicePixelRatio) {
    height = std::max(1, height);
    const QString symbol = traySymbolFor(look.symbolName);
    const QFont font = angleFont(height);
    const QFontMetrics metrics(font);
    const int iconWidth = symbol.isEmpty() ? 0 : height;
    const int textWidth =
        look.angleText.isEmpty()
            ? 0
            : metrics.horizontalAdvance(QStringLiteral(" 99") + QChar(0x00B0)) + 1;
    const int width = std::max(1, iconWidth + textWidth);

    QPixmap pixmap(QSize(width, height) * devicePixelRatio);
    pixmap.setDevicePixelRatio(devicePixelRatio);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    if (look.dimmed) {
        painter.setOpacity(kDimmedOpacity);
    }
    if (!symbol.isEmpty()) {
        const QImage image = renderSymbol(symbol, tone, QSize(height, height) * devicePixelRatio);
        painter.drawImage(QRectF(0, 0, height, height), image);
    }
    if (!look.angleText.isEmpty()) {
        painter.setFont(font);
        painter.setPen(inkFor(tone));
        painter.drawText(QRect(iconWidth, 0, textWidth, height), Qt::AlignRight | Qt::AlignVCenter,
                         look.angleText);
    }
    return pixmap;
}

} // namespace quelmo
