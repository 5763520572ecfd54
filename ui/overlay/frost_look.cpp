// SPDX-License-Identifier: MIT
#include "ui/overlay/frost_look.h"

#include <QGuiApplication>

namespace quelmo::frost_look {

QFont titleFont() {
    QFont font = QGuiApplication::font();
    font.setPixelSize(21);
    font.setWeight(QFont::DemiBold);
    return font;
}

QFont hintFont() {
    QFont font = QGuiApplication::font();
    font.setPixelSize(13);
    font.setWeight(QFont::Normal);
    return font;
}

} // namespace quelmo::frost_look
