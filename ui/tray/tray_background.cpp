// SPDX-License-Identifier: MIT
#include "ui/tray/tray_background.h"

#include <QGuiApplication>
#include <QImage>
#include <QPixmap>
#include <QScreen>

namespace quelmo {

std::optional<IconTone> toneBehindTrayIcon(const QRect& iconArea) {
    if (!iconArea.isValid()) {
        return std::nullopt;
    }
    QScreen* screen = QGuiApplication::screenAt(iconArea.center());
    if (screen == nullptr) {
        return std::nullopt;
    }
    const QRect local = iconArea.translated(-screen->geometry().topLeft());
    const QImage image =
        screen->grabWindow(0, local.x(), local.y(), local.width(), local.height()).toImage();
    if (image.isNull() || image.width() < 2 || image.height() < 2) {
        return std::nullopt;
    }
    double lightness = 0;
    int count = 0;
    const auto add = [&](int x, int y) {
        lightness += image.pixelColor(x, y).lightnessF();
        ++count;
    };
    for (int x = 0; x < image.width(); ++x) {
        add(x, 0);
        add(x, image.height() - 1);
    }
    for (int y = 1; y + 1 < image.height(); ++y) {
        add(0, y);
        add(image.width() - 1, y);
    }
    return toneForBackground(QColor::fromHslF(0, 0, static_cast<float>(lightness / count)));
}

} // namespace quelmo
