// SPDX-License-Identifier: MIT
#pragma once

#include "ui/overlay/server_backdrop.h"

#include <QColor>
#include <QImage>
#include <QPointer>
#include <QScreen>
#include <QWidget>

class QLabel;
class QPainter;

namespace quelmo {

class FrostCard;
struct FrostTexts;

// One frost window: covers its screen's whole geometry (panels included),
// stays above other windows, never takes focus and lets every click and key
// through to what lies under it. It paints, from back to front, the blurred
// picture of the screen, the tint, and the card with the two lines. It is
// opaque: a translucent window shows nothing useful on an X server without
// a compositor.
//
// On X11 the X server draws that picture (ServerBackdrop) and Qt paints
// nothing on screen, so showing a frost moves no full-size image; elsewhere, or when the X server
// cannot do it, Qt paints the same picture itself.
class FrostWindow : public QWidget {
  public:
    FrostWindow(QScreen* screen, const QColor& tint);

    QScreen* targetScreen() const { return screen_; }
    QColor tint() const { return tint_; }

    QLabel* title() const;
    QLabel* hint() const;
    void setTexts(const FrostTexts& texts);

    // The blurred picture of the screen (any size; it is stretched over the
    // window). A null image leaves a neutral grey under the tint.
    void setBackdrop(const QImage& blurred);
    // The backdrop as given (untinted), to carry it over to a rebuilt window.
    const QImage& backdrop() const { return backdrop_; }

    void setVisible(bool visible) override;

    // How many times Qt has painted the window (a benchmark waits on it).
    int framesPainted() const { return framesPainted_; }
    // Whether the X server draws the picture and Qt paints nothing on screen.
    bool isDrawnByServer() const { return server_.isActive(); }
    // What the window shows over `area` (window coordinates), as Qt draws it.
    QImage renderLook(const QRect& area);

  protected:
    void paintEvent(QPaintEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    bool nativeEvent(const QByteArray& eventType, void* message, qintptr* result) override;

  private:
    // Puts the picture with the card on the X server, or hands the painting
    // back to Qt when it cannot.
    void drawOnServer();
    // The picture and the tint (or the grey without a picture) over the window.
    void paintPicture(QPainter& painter);

    QPointer<QScreen> screen_;
    QColor tint_;
    QImage backdrop_;
    QImage tintedBackdrop_;
    FrostCard* card_;
    int framesPainted_ = 0;
    ServerBackdrop server_;
};

} // namespace quelmo
