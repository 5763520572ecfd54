// SPDX-License-Identifier: MIT
#include "program/application_shortcuts.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QWindow>

namespace quelmo {

ApplicationShortcuts::ApplicationShortcuts(QObject* parent) : QObject(parent) {}

bool ApplicationShortcuts::eventFilter(QObject* watched, QEvent* event) {
    // Every key reaches its top-level window first: look at it there, once.
    if (event->type() != QEvent::KeyPress || !watched->isWindowType()) {
        return false;
    }
    const auto* key = static_cast<QKeyEvent*>(event);
    if (key->modifiers() != Qt::ControlModifier) {
        return false;
    }
    auto* window = static_cast<QWindow*>(watched);
    switch (key->key()) {
    case Qt::Key_Q:
        QCoreApplication::quit();
        return true;
    case Qt::Key_W:
        window->close();
        return true;
    case Qt::Key_M:
        window->showMinimized();
        return true;
    default:
        return false;
    }
}

} // namespace quelmo
