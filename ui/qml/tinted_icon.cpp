// SPDX-License-Identifier: MIT
#include "ui/qml/tinted_icon.h"

#include "ui/gauge/brand.h"

#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QQuickWindow>
#include <QSvgRenderer>

namespace quelmo {

namespace {
// QSvgRenderer reads files, not URLs: "qrc:/x.svg" is ":/x.svg".
QString filePathOf(const QUrl& url) {
    if (url.scheme() == QLatin1String("qrc")) {
        return QLatin1Char(':') + url.path();
    }
    return url.isLocalFile() ? url.toLocalFile() : url.toString();
}
} // namespace

TintedIcon::TintedIcon(QQuickItem* parent) : QQuickPaintedItem(parent) {
    setAntialiasing(true);
    connect(this, &QQuickItem::widthChanged, this, [this] { update(); });
    connect(this, &QQuickItem::heightChanged, this, [this] { update(); });
}

void TintedIcon::setSource(const QUrl& source) {
    if (source_ != source) {
        source_ = source;
        emit sourceChanged();
        update();
    }
}

void TintedIcon::setColor(const QColor& color) {
    if (color_ != color) {
        color_ = color;
        emit colorChanged();
        update();
    }
}

void TintedIcon::setBrand(bool brand) {
    if (brand_ != brand) {
        brand_ = brand;
        emit brandChanged();
        update();
    }
}

void TintedIcon::paint(QPainter* painter) {
    const QSizeF box = size();
    if (box.isEmpty() || source_.isEmpty()) {
        return;
    }
    QSvgRenderer renderer(filePathOf(source_));
    if (!renderer.isValid()) {
        return;
    }
    // Fit the symbol into the item, keeping its proportions, centred.
    QSizeF symbol = renderer.viewBoxF().size();
    symbol.scale(box, Qt::KeepAspectRatio);
    const QRectF target(
        QPointF((box.width() - symbol.width()) / 2.0, (box.height() - symbol.height()) / 2.0),
        symbol);

    const qreal dpr = window() ? window()->effectiveDevicePixelRatio() : 1.0;
    QImage image((box * dpr).toSize(), QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(dpr);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    renderer.render(&p, target);
    // Keep the symbol's coverage, replace its colour.
    p.setCompositionMode(QPainter::CompositionMode_SourceIn);
    if (brand_) {
        QLinearGradient gradient(target.topLeft(), target.topRight());
        gradient.setStops(gauge::brandGradientStops());
        p.fillRect(QRectF(QPointF(0, 0), box), gradient);
    } else {
        p.fillRect(QRectF(QPointF(0, 0), box), color_);
    }
    p.end();
    painter->drawImage(QRectF(QPointF(0, 0), box), image);
}

} // namespace quelmo
