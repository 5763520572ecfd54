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
struct WindowsRig {
    VirtualScheduler scheduler;
    MemoryPreferenceStore store;
    std::unique_ptr<Preferences> prefs;
    FakeTracker tracker;
    FakeSignalReader signal;
    FakeInput input;
    FakeHotKeys hotKeys;
    RecordingLog log;
    RecordingWatchdog watchdog;
    FakeOverlay overlay;
    FakePrivacySettings privacy;
    FakeSystemEvents system;
    FakeCommands commands;
    FakeActivity activity;
    QTemporaryDir home;
    std::unique_ptr<AppModel> model;
    // Made after the model and so gone before it: the views' clean-up still
    // reaches the model.
    std::unique_ptr<Windows> windows;

    WindowsRig() {
        input.clock = &scheduler;
        store.set("diagnostics", "true");
        store.set("onboardingDone", "true");
        windows = std::make_unique<Windows>(loginItem(), logDirectory());
    }

    AppModel& start() {
        prefs = std::make_unique<Preferences>(store);
        model = std::make_unique<AppModel>(
            *prefs, AppModelPorts{scheduler, tracker, signal, input, hotKeys, log, watchdog,
                                  overlay, *windows, privacy, system, commands, activity});
        return *model;
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

    // Head samples every 0.02 s for `seconds`, at `heading`.
    void samples(double heading, double seconds) {
        const int n = static_cast<int>(seconds / 0.02 + 0.5);
        for (int i = 0; i < n; ++i) {
            tracker.deliver(heading);
            scheduler.advance(0.02);
        }
    }
    // A smooth turn over half a second.
    void turn(double from, double to) {
        for (int i = 1; i <= 25; ++i) {
            tracker.deliver(from + (to - from) * i / 25);
            scheduler.advance(0.02);
        }
    }
};

// A named part of a window's view.
inline QObject* part(QQuickView* window, const char* name) {
    return window ? window->rootObject()->findChild<QObject*>(QString::fromLatin1(name)) : nullptr;
}

// Presses a button of a view, as a click would.
inline void press(QObject* button) { QMetaObject::invokeMethod(button, "clicked"); }

} // namespace quelmo::testing
