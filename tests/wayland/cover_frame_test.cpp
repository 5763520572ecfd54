// SPDX-License-Identifier: MIT
// The cover painted row by row must be the frame the frost has always
// painted over the opaque backdrop, at every strength and scale: it is the
// settled look wherever no picture of the screen can be had.

#include "ui/overlay/frost_frame.h"
#include "ui/overlay/frost_look.h"
#include "ui/overlay/frost_texts.h"
#include "ui/wayland_frost/cover_frame.h"

#include <QPainter>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>

namespace quelmo {
namespace {

QImage frameOfSize(QSize pixels, int scale,
                   QImage::Format format = QImage::Format_ARGB32_Premultiplied) {
    QImage frame(pixels, format);
    frame.setDevicePixelRatio(scale);
    frame.fill(Qt::green); // anything left unpainted shows
    return frame;
}

int largestDifference(const QImage& a, const QImage& b) {
    int largest = 0;
    for (int y = 0; y < a.height(); ++y) {
        const auto* one = reinterpret_cast<const QRgb*>(a.constScanLine(y));
        const auto* two = reinterpret_cast<const QRgb*>(b.constScanLine(y));
        for (int x = 0; x < a.width(); ++x) {
            for (int shift : {0, 8, 16, 24}) {
                largest = std::max(largest, std::abs(int((one[x] >> shift) & 0xff) -
                                                     int((two[x] >> shift) & 0xff)));
            }
        }
    }
    return largest;
}

TEST(CoverFrame, PaintsTheFrameOfTheTintedBackdropPixelForPixel) {
    CoverPainter painter; // one painter throughout: its rows must follow size and tint
    for (const auto& [pixels, scale] :
         {std::pair{QSize(1920, 1080), 1}, std::pair{QSize(1280, 720), 2},
          std::pair{QSize(1366, 768), 1}}) {
        for (double strength : {0.0, 0.6, 1.0}) {
            const QColor tint = frost_look::tint(strength);
            const FrostTexts texts = frostTexts(strength > 0.5);
            QImage expected = frameOfSize(pixels, scale);
            {
                QPainter frame(&expected);
                paintFrostFrame(frame, QRect(QPoint(0, 0), pixels / scale),
                                tintedPicture(opaqueBackdrop(), tint), tint, texts);
            }
            // Painted with alpha (while fading) and without (opaque, as shown).
            for (const auto format : {QImage::Format_ARGB32_Premultiplied, QImage::Format_RGB32}) {
                QImage cover = frameOfSize(pixels, scale, format);
                painter.paint(cover, tint, texts);
                EXPECT_EQ(largestDifference(cover, expected), 0)
                    << pixels.width() << "x" << pixels.height() << " at scale " << scale
                    << ", strength " << strength << ", format " << format;
            }
        }
    }
}

TEST(CoverFrame, FadingScalesEveryPremultipliedChannel) {
    QImage frame = frameOfSize(QSize(64, 8), 1);
    frame.fill(qRgba(200, 100, 40, 255));
    // The stored (premultiplied) words.
    const auto word = [](const QImage& image, int x, int y) {
        return reinterpret_cast<const QRgb*>(image.constScanLine(y))[x];
    };
    QImage half = frame;
    fadeFrame(half, 0.5);
    EXPECT_EQ(word(half, 3, 3), qRgba(100, 50, 20, 127));
    QImage gone = frame;
    fadeFrame(gone, 0.0);
    EXPECT_EQ(word(gone, 63, 7), qRgba(0, 0, 0, 0));
    QImage whole = frame;
    fadeFrame(whole, 1.0);
    EXPECT_EQ(whole, frame);
}

} // namespace
} // namespace quelmo
