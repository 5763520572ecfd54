// SPDX-License-Identifier: MIT
#include "ui/overlay/frost_window.h"

#include "ui/overlay/frost_card.h"
#include "ui/overlay/frost_look.h"
#include "ui/overlay/frost_texts.h"

#include <QLabel>
#include <QLayout>
#include <QPainter>
#include <QScreen>
#include <QVBoxLayout>
#include <QWindow>

namespace quelmo {
namespace {

// QUELMO_FROST_PAINTER=qt has Qt paint the picture even where the X server
// could, to compare the two (the benchmark and the screenshots do).
bool qtPaintsAlways() {
    static const bool always = qgetenv("QUELMO_FROST_PAINTER") == "qt";
    return always;
}

} // namespace

FrostWindow::FrostWindow(QScreen* screen, const QColor& tint)
    : QWidget(nullptr, Qt::Window | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint | Qt::Tool |
                           Qt::WindowDoesNotAcceptFocus | Qt::X11BypassWindowManagerHint |
                           Qt::WindowTransparentForInput),
      screen_(screen), tint_(tint), card_(new FrostCard(this)) {
    // Bypassing the window manager (override-redirect) keeps the window out
    // of every workspace's stacking, so it covers panels and shows on all
    // desktops; WindowTransparentForInput gives it an empty input shape.
    setAttribute(Qt::WA_ShowWithoutActivating);
    setAttribute(Qt::WA_X11DoNotAcceptFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAttribute(Qt::WA_NoSystemBackground);
    setAttribute(Qt::WA_QuitOnClose, false);
    setFocusPolicy(Qt::NoFocus);
    setWindowTitle(QStringLiteral("Quelmo frost"));

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(card_, 0, Qt::AlignCenter);
    setTexts(frostTexts(false));

    if (screen != nullptr) {
        setScreen(screen);
        setGeometry(screen->geometry());
    }
    // Make the native window now, so showing it later costs as little as possible.
    winId();
}

QLabel* FrostWindow::title() const {
    return card_->title();
}
QLabel* FrostWindow::hint() const {
    return card_->hint();
}

void FrostWindow::setTexts(const FrostTexts& texts) {
    card_->title()->setText(texts.title);
    card_->hint()->setText(texts.hint);
    if (server_.isActive()) {
        drawOnServer();
    }
}

void FrostWindow::setBackdrop(const QImage& blurred) {
    backdrop_ = blurred;
    tintedBackdrop_ = QImage();
    if (!blurred.isNull()) {
        // The tint is uniform, so tinting the small picture before it is
        // stretched gives the same result as tinting the full window, for a
        // fraction of the work.
        tintedBackdrop_ = blurred.convertToFormat(QImage::Format_RGB32);
        QPainter painter(&tintedBackdrop_);
        painter.fillRect(tintedBackdrop_.rect(), tint_);
    }
    drawOnServer();
}

void FrostWindow::drawOnServer() {
    if (tintedBackdrop_.isNull() || windowHandle() == nullptr || qtPaintsAlways()) {
        server_.release();
        setUpdatesEnabled(true);
        update();
        return;
    }
    // The card's size follows its texts and the window centres it; both
    // layouts settle now rather than on the next turn of the event loop.
    card_->layout()->activate();
    layout()->activate();
    const QRect card = card_->geometry();
    const qreal ratio = devicePixelRatioF();
    const QPoint at(qRound(card.x() * ratio), qRound(card.y() * ratio));
    const bool drawn = server_.show(*windowHandle(), tintedBackdrop_, renderLook(card), at);
    // While the X server draws the picture, Qt must not paint over it: a
    // window with updates disabled is never painted or flushed.
    setUpdatesEnabled(!drawn);
    if (!drawn) {
        update();
    }
}

QImage FrostWindow::renderLook(const QRect& area) {
    const qreal ratio = devicePixelRatioF();
    QImage image(area.size() * ratio, QImage::Format_RGB32);
    image.setDevicePixelRatio(ratio);
    QPainter painter(&image);
    painter.translate(-area.topLeft());
    paintPicture(painter);
    // The card and its labels one by one, each as its own root: render()
    // leaves out children whose updates are disabled, as they are while the
    // X server draws the window.
    card_->render(&painter, card_->pos(), QRegion(), {});
    for (QLabel* label : {card_->title(), card_->hint()}) {
        label->render(&painter, card_->pos() + label->pos(), QRegion(), {});
    }
    return image;
}

void FrostWindow::paintPicture(QPainter& painter) {
    if (tintedBackdrop_.isNull()) {
        painter.fillRect(rect(), frost_look::fallbackBackground());
        painter.fillRect(rect(), tint_);
    } else {
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        painter.drawImage(rect(), tintedBackdrop_);
    }
}

void FrostWindow::showEvent(QShowEvent* event) {
    // Shown again without a new picture: the one it had goes back on the
    // server (or Qt paints again when there is none).
    if (!server_.isActive()) {
        drawOnServer();
    }
    QWidget::showEvent(event);
}

void FrostWindow::setVisible(bool visible) {
    const bool mapping = visible && !isVisible();
    QWidget::setVisible(visible);
    if (mapping) {
        server_.paintMapped();
    }
}

void FrostWindow::hideEvent(QHideEvent* event) {
    // A full-screen pixmap is a lot of the X server's memory to keep for a
    // window nobody sees.
    server_.release();
    QWidget::hideEvent(event);
}

void FrostWindow::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    if (server_.isActive()) {
        drawOnServer();
    }
}

bool FrostWindow::nativeEvent(const QByteArray& eventType, void* message, qintptr* result) {
    // The X server draws exposed parts from its copy; Qt, with updates
    // disabled, paints nothing over them.
    server_.handleNativeEvent(eventType, message);
    return QWidget::nativeEvent(eventType, message, result);
}

void FrostWindow::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    paintPicture(painter);
    ++framesPainted_;
}

} // namespace quelmo
