// SPDX-License-Identifier: MIT
#include "ui/overlay/frost_frame.h"

#include "ui/overlay/frost_look.h"
#include "ui/overlay/frost_texts.h"

#include <QFontMetrics>
#include <QLinearGradient>
#include <QPainter>

#include <algorithm>

namespace quelmo {

namespace {

// The frost window's labels are as wide as their text and as tall as their
// font's line; the card lays them out the same way here.
QSize lineSize(const QFont& font, const QString& text) {
    const QFontMetrics metrics(font);
    return {metrics.horizontalAdvance(text), metrics.height()};
}

} // namespace

QSize frostCardSize(const FrostTexts& texts) {
    const QSize title = lineSize(frost_look::titleFont(), texts.title);
    const QSize hint = lineSize(frost_look::hintFont(), texts.hint);
    return {std::max(title.width(), hint.width()) + 2 * frost_look::cardInsetX,
            title.height() + frost_look::lineSpacing + hint.height() + 2 * frost_look::cardInsetY};
}

void paintFrostCard(QPainter& painter, const QRect& area, const FrostTexts& texts) {
    const QSize size = frostCardSize(texts);
    const QRect card(area.center().x() - size.width() / 2, area.center().y() - size.height() / 2,
                     size.width(), size.height());
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor::fromRgbF(0, 0, 0, frost_look::cardAlpha));
    painter.drawRoundedRect(QRectF(card), frost_look::cardRadius, frost_look::cardRadius);

    const QFont titleFont = frost_look::titleFont();
    const QFont hintFont = frost_look::hintFont();
    const int titleHeight = QFontMetrics(titleFont).height();
    const int hintHeight = QFontMetrics(hintFont).height();
    const QRect titleRect(card.left(), card.top() + frost_look::cardInsetY, card.width(),
                          titleHeight);
    const QRect hintRect(card.left(), titleRect.bottom() + 1 + frost_look::lineSpacing,
                         card.width(), hintHeight);
    painter.setFont(titleFont);
    painter.setPen(frost_look::titleColor());
    painter.drawText(titleRect, Qt::AlignHCenter | Qt::AlignTop, texts.title);
    painter.setFont(hintFont);
    painter.setPen(frost_look::hintColor());
    painter.drawText(hintRect, Qt::AlignHCenter | Qt::AlignTop, texts.hint);
    painter.restore();
}

QImage opaqueBackdrop() {
    // 16:9 and small: it only carries a gradient, and stretching keeps it smooth.
    QImage picture(64, 36, QImage::Format_RGB32);
    QPainter painter(&picture);
    QLinearGradient gradient(0, 0, 0, picture.height());
    // The tint's hue (violet-black), lifted so the tint over it still has
    // something to darken at low strengths.
    gradient.setColorAt(0.0, QColor(74, 66, 110));
    gradient.setColorAt(1.0, QColor(38, 33, 64));
    painter.fillRect(picture.rect(), gradient);
    return picture;
}

QImage tintedPicture(const QImage& picture, const QColor& tint) {
    if (picture.isNull()) {
        return {};
    }
    QImage tinted = picture.convertToFormat(QImage::Format_RGB32);
    QPainter painter(&tinted);
    painter.fillRect(tinted.rect(), tint);
    return tinted;
}

void paintFrostFrame(QPainter& painter, const QRect& area, const QImage& tinted, const QColor& tint,
                     const FrostTexts& texts) {
    if (tinted.isNull()) {
        painter.fillRect(area, frost_look::fallbackBackground());
        painter.fillRect(area, tint);
    } else {
        painter.save();
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        painter.drawImage(area, tinted);
        painter.restore();
    }
    paintFrostCard(painter, area, texts);
}

} // namespace quelmo
