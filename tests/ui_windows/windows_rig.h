// SPDX-License-Identifier: MIT
#pragma once

#include "platform/login/login_item.h"
#include "tests/app_model/fakes.h"
#include "ui/windows/windows.h"

#include <QCoreApplication>
#include <QDir>
#include <QEvent>
#include <QQuickItem>
#include <QTemporaryDir>

#include <memory>

namespace quelmo::testing {

// A real app model on the test doubles of its ports, in virtual time, with
// the real window manager as its windows port and a login item in a
// temporary folder.
struct WindowsRig : ModelRig {
    QTemporaryDir home;
    // Made after the model and so gone before it: the views' clean-up still
    // reaches the model.
    std::unique_ptr<Windows> windows;

    WindowsRig() {
        windows = std::make_unique<Windows>(loginItem(), logDirectory());
        windowsPort = windows.get();
    }

    // The model is handed to the windows once it exists, as the program does.
    AppModel& start() {
        AppModel& made = ModelRig::start();
        windows->setModel(&made);
        return made;
    }

    ~WindowsRig() {
        windows.reset();
        flushDeletes();
    }

    LoginItem loginItem() const {
        return LoginItem(home.filePath("autostart/app.quelmo.Quelmo.desktop").toStdString(),
                         "/usr/bin/quelmo");
    }
    QString logDirectory() const { return home.filePath("log"); }

    // Closed windows go at the next turn of the event loop; this is that turn.
    static void flushDeletes() {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCoreApplication::processEvents();
    }
};

// A named part of a window's view.
inline QObject* part(QQuickView* window, const char* name) {
    return window ? window->rootObject()->findChild<QObject*>(QString::fromLatin1(name)) : nullptr;
}

// Presses a button of a view, as a click would.
inline void press(QObject* button) {
    QMetaObject::invokeMethod(button, "clicked");
}

} // namespace quelmo::testing
