#include "ui/overlay/frost_window.h"

#include "ui/overlay/frost_card.h"
#include "ui/overlay/frost_look.h"
#include "ui/overlay/frost_texts.h"

#include <QLabel>
#include <QPainter>
#include <QScreen>
#include <QVBoxLayout>

namespace quelmo {

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
    update();
}

void FrostWindow::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    if (tintedBackdrop_.isNull()) {
        painter.fillRect(rect(), frost_look::fallbackBackground());
        painter.fillRect(rect(), tint_);
    } else {
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        painter.drawImage(rect(), tintedBackdrop_);
    }
    ++framesPainted_;
}

} // namespace quelmo
