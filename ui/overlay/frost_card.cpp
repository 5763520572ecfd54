// SPDX-License-Identifier: MIT
#include "ui/overlay/frost_card.h"

#include "ui/overlay/frost_look.h"

#include <QLabel>
#include <QPainter>
#include <QVBoxLayout>

namespace quelmo {
namespace {

QLabel* makeLabel(QWidget* parent, const QFont& font, const QColor& color) {
    auto* label = new QLabel(parent);
    label->setFont(font);
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, color);
    label->setPalette(palette);
    label->setAlignment(Qt::AlignHCenter);
    label->setWordWrap(false);
    label->setTextFormat(Qt::PlainText);
    label->setTextInteractionFlags(Qt::NoTextInteraction);
    return label;
}

} // namespace

FrostCard::FrostCard(QWidget* parent)
    : QWidget(parent), title_(makeLabel(this, frost_look::titleFont(), frost_look::titleColor())),
      hint_(makeLabel(this, frost_look::hintFont(), frost_look::hintColor())) {
    auto* stack = new QVBoxLayout(this);
    stack->setContentsMargins(frost_look::cardInsetX, frost_look::cardInsetY,
                              frost_look::cardInsetX, frost_look::cardInsetY);
    stack->setSpacing(frost_look::lineSpacing);
    stack->addWidget(title_, 0, Qt::AlignHCenter);
    stack->addWidget(hint_, 0, Qt::AlignHCenter);
    stack->setSizeConstraint(QLayout::SetFixedSize);
}

void FrostCard::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor::fromRgbF(0, 0, 0, frost_look::cardAlpha));
    painter.drawRoundedRect(QRectF(rect()), frost_look::cardRadius, frost_look::cardRadius);
}

} // namespace quelmo
