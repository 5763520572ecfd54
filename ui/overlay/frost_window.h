#pragma once

#include <QColor>
#include <QImage>
#include <QPointer>
#include <QScreen>
#include <QWidget>

class QLabel;

namespace quelmo {

class FrostCard;
struct FrostTexts;

// One frost window: covers its screen's whole geometry (panels included),
// stays above other windows, never takes focus and lets every click and key
// through to what lies under it. It paints, from back to front, the blurred
// picture of the screen, the tint, and the card with the two lines. It is
// opaque: a translucent window shows nothing useful on an X server without
// a compositor.
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

    // How many times the window has been painted (a benchmark waits on it).
    int framesPainted() const { return framesPainted_; }

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    QPointer<QScreen> screen_;
    QColor tint_;
    QImage backdrop_;
    QImage tintedBackdrop_;
    FrostCard* card_;
    int framesPainted_ = 0;
};

} // namespace quelmo
