// SPDX-License-Identifier: MIT
#include "ui/overlay/box_blur.h"
#include "ui/overlay/frost_card.h"
#include "ui/overlay/frost_look.h"
#include "ui/overlay/frost_texts.h"
#include "ui/overlay/frost_window.h"

#include <QGuiApplication>
#include <QLabel>
#include <QLayout>
#include <QScreen>

#include <gtest/gtest.h>

namespace quelmo {
namespace {

TEST(FrostTexts, TheTwoWordings) {
    const FrostTexts turned = frostTexts(false);
    EXPECT_EQ(turned.title, QStringLiteral("Look back to see your screen"));
    // The hot key as a PC keyboard names it.
    EXPECT_EQ(turned.hint,
              QStringLiteral("Stuck? Move the mouse for 3 seconds, or press Ctrl+Alt+Super+R"));

    const FrostTexts away = frostTexts(true);
    EXPECT_EQ(away.title, QStringLiteral("Welcome back"));
    EXPECT_EQ(away.hint, QStringLiteral("Touch the keyboard or mouse to see your screen"));
}

TEST(FrostLook, TintDensityFollowsStrength) {
    for (const auto& [strength, alpha] : {std::pair{0.0, 0.22}, {0.6, 0.64}, {1.0, 0.92}}) {
        const QColor tint = frost_look::tint(strength);
        EXPECT_NEAR(tint.alphaF(), alpha, 0.001) << strength;
        EXPECT_NEAR(tint.redF(), 0.07, 0.001);
        EXPECT_NEAR(tint.greenF(), 0.06, 0.001);
        EXPECT_NEAR(tint.blueF(), 0.13, 0.001);
    }
}

TEST(BoxBlur, SpreadsLightEvenlyAndKeepsFlatAreasFlat) {
    QImage flat(20, 12, QImage::Format_RGB32);
    flat.fill(QColor(10, 200, 90));
    QImage blurred = flat;
    boxBlur(blurred, 4);
    EXPECT_EQ(blurred, flat); // edges repeat, so nothing darkens at the borders

    QImage dot(41, 41, QImage::Format_RGB32);
    dot.fill(Qt::black);
    dot.setPixel(20, 20, qRgb(255, 255, 255));
    QImage single = dot;
    boxBlur(single, 3, 1);
    // One pass: a 7 × 7 square of equal values around the dot, nothing beyond.
    EXPECT_EQ(qRed(single.pixel(17, 23)), qRed(single.pixel(23, 17)));
    EXPECT_GT(qRed(single.pixel(17, 17)), 0);
    EXPECT_EQ(qRed(single.pixel(16, 20)), 0);

    boxBlur(dot, 3);
    EXPECT_EQ(dot.pixel(14, 20), dot.pixel(26, 20)); // symmetric
    EXPECT_EQ(dot.pixel(20, 14), dot.pixel(20, 26));
    EXPECT_GT(qRed(dot.pixel(20, 20)), qRed(dot.pixel(23, 20))); // peaked in the middle
    QImage untouched(5, 5, QImage::Format_RGB32);
    untouched.fill(Qt::red);
    untouched.setPixel(2, 2, qRgb(0, 0, 255));
    QImage same = untouched;
    boxBlur(same, 0);
    EXPECT_EQ(same, untouched);
}

// Pixels as the window paints them (its card and labels included).
QImage paintedWindow(FrostWindow& window) {
    return window.grab().toImage();
}

TEST(FrostWindowLook, PictureUnderTintThenTheCentredCard) {
    QScreen* screen = QGuiApplication::primaryScreen();
    FrostWindow window(screen, frost_look::tint(0.6));
    QImage white(8, 8, QImage::Format_RGB32);
    white.fill(Qt::white);
    window.setBackdrop(white);
    window.setTexts(frostTexts(true));
    const QImage image = paintedWindow(window);
    ASSERT_EQ(image.size() / image.devicePixelRatio(), screen->geometry().size());

    // Tint alpha 0.64 over white: 255 × 0.36 + 255 × (0.07, 0.06, 0.13) × 0.64.
    const QColor corner = image.pixelColor(2, 2);
    EXPECT_NEAR(corner.red(), 255 * 0.36 + 255 * 0.07 * 0.64, 2);
    EXPECT_NEAR(corner.green(), 255 * 0.36 + 255 * 0.06 * 0.64, 2);
    EXPECT_NEAR(corner.blue(), 255 * 0.36 + 255 * 0.13 * 0.64, 2);

    auto* card = window.findChild<FrostCard*>();
    ASSERT_NE(card, nullptr);
    EXPECT_EQ(card->geometry().center(), window.rect().center());
    // The card darkens what lies under it by its black at 0.3.
    const QPoint inside = card->geometry().topLeft() + QPoint(card->width() / 2, 6);
    EXPECT_NEAR(image.pixelColor(inside).red(), corner.red() * 0.7, 2);

    const QMargins margins = card->layout()->contentsMargins();
    EXPECT_EQ(margins, QMargins(34, 20, 34, 20));
    EXPECT_EQ(card->layout()->spacing(), 6);
    EXPECT_EQ(card->width(), std::max(card->title()->width(), card->hint()->width()) + 68);
    EXPECT_EQ(window.title()->font().pixelSize(), 21);
    EXPECT_EQ(window.title()->font().weight(), QFont::DemiBold);
    EXPECT_EQ(window.hint()->font().pixelSize(), 13);
    EXPECT_EQ(window.hint()->palette().color(QPalette::WindowText),
              QColor::fromRgbF(1, 1, 1, 0.72f));
    EXPECT_EQ(window.title()->text(), QStringLiteral("Welcome back"));
}

TEST(FrostWindowLook, WithoutAPictureTheWindowIsStillOpaque) {
    FrostWindow window(QGuiApplication::primaryScreen(), frost_look::tint(0.0));
    window.setBackdrop(QImage());
    const QColor corner = paintedWindow(window).pixelColor(1, 1);
    EXPECT_EQ(corner.alpha(), 255);
    EXPECT_GT(corner.red(), 40); // grey under the light tint, not black
}

} // namespace
} // namespace quelmo
