// SPDX-License-Identifier: MIT
#include "ui/overlay/frost_frame.h"
#include "ui/overlay/frost_look.h"
#include "ui/overlay/frost_texts.h"

#include <QPainter>

#include <gtest/gtest.h>

namespace quelmo {
namespace {

double meanLightness(const QImage& image) {
    double sum = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            sum += QColor(image.pixel(x, y)).lightnessF();
        }
    }
    return sum / (image.width() * image.height());
}

TEST(FrostFrame, OpaqueBackdropHidesEverythingAndStrengthStillDarkens) {
    const QImage picture = opaqueBackdrop();
    ASSERT_FALSE(picture.isNull());
    // Top lighter than bottom: a gradient, in the tint's violet hue.
    const QColor top(picture.pixel(0, 0));
    const QColor bottom(picture.pixel(0, picture.height() - 1));
    EXPECT_GT(top.lightnessF(), bottom.lightnessF());
    EXPECT_GT(top.blue(), top.red());

    double previous = 2.0;
    for (double strength : {0.0, 0.6, 1.0}) {
        const QImage tinted = tintedPicture(picture, frost_look::tint(strength));
        EXPECT_FALSE(tinted.hasAlphaChannel());
        const double lightness = meanLightness(tinted);
        EXPECT_LT(lightness, previous) << strength;
        previous = lightness;
    }
    EXPECT_TRUE(tintedPicture(QImage(), frost_look::tint(0.5)).isNull());
}

TEST(FrostFrame, WholeFrameIsOpaqueWithTheCardInTheMiddle) {
    QImage frame(800, 500, QImage::Format_ARGB32_Premultiplied);
    frame.fill(Qt::transparent);
    const QColor tint = frost_look::tint(0.0);
    {
        QPainter painter(&frame);
        paintFrostFrame(painter, frame.rect(), tintedPicture(opaqueBackdrop(), tint), tint,
                        frostTexts(false));
    }
    for (const QPoint corner : {QPoint(0, 0), QPoint(799, 0), QPoint(0, 499), QPoint(799, 499)}) {
        EXPECT_EQ(qAlpha(frame.pixel(corner)), 255);
    }
    // The card is centred and as wide as its longer line plus its insets;
    // its white title shows in it.
    const QSize card = frostCardSize(frostTexts(false));
    EXPECT_GT(card.width(), 2 * frost_look::cardInsetX);
    EXPECT_LT(card.width(), 800);
    bool white = false;
    const int top = 250 - card.height() / 2;
    for (int y = top; y < top + card.height() / 2 && !white; ++y) {
        for (int x = 400 - card.width() / 2; x < 400 + card.width() / 2; ++x) {
            if (QColor(frame.pixel(x, y)).lightnessF() > 0.9) {
                white = true;
                break;
            }
        }
    }
    EXPECT_TRUE(white);
    EXPECT_LT(QColor(frame.pixel(400, 10)).lightnessF(), 0.5);
}

} // namespace
} // namespace quelmo
