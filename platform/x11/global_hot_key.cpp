// SPDX-License-Identifier: MIT
#include "platform/x11/global_hot_key.h"

// Qt before Xlib: Xlib's macros (None, KeyPress, Bool, ...) break Qt's headers.
#include <QCoreApplication>
#include <QMetaObject>
#include <QSocketNotifier>
#include <QThread>

#include "platform/x11/key_chord_mapping.h"
#include "platform/x11/x11_connection.h"
#include "platform/x11/x11_modifier_map.h"

#include <X11/XKBlib.h>
#include <X11/keysym.h>

#include <cstdio>
#include <vector>

namespace quelmo {

struct GlobalHotKey::Impl {
    std::unique_ptr<x11::X11Connection> connection;
    KeyCode keycode = 0;
    unsigned modifiers = 0;
    std::vector<unsigned> grabbedMasks;
    std::shared_ptr<const std::function<void()>> action;
    std::unique_ptr<QSocketNotifier> notifier;
    bool keyIsDown = false;

    ~Impl();
    bool grab(unsigned lockMasks);
    void ungrab();
    void readEvents();
};

GlobalHotKey::GlobalHotKey(std::unique_ptr<Impl> impl) : impl_(std::move(impl)) {}

GlobalHotKey::~GlobalHotKey() = default;

std::unique_ptr<GlobalHotKey> GlobalHotKey::create(QKeyCombination chord,
                                                   std::function<void()> action) {
    return createOnDisplay("", chord, std::move(action));
}

std::unique_ptr<GlobalHotKey> GlobalHotKey::createOnDisplay(const std::string& displayName,
                                                            QKeyCombination qtChord,
                                                            std::function<void()> action) {
    const auto chord = x11::x11KeyChord(qtChord);
    QCoreApplication* app = QCoreApplication::instance();
    if (!chord || !action || app == nullptr || QThread::currentThread() != app->thread()) {
        return nullptr;
    }
    auto impl = std::make_unique<Impl>();
    impl->connection = x11::X11Connection::open(displayName);
    if (!impl->connection) {
        return nullptr;
    }
    Display* display = impl->connection->display();
    impl->keycode = XKeysymToKeycode(display, chord->keysym);
    if (impl->keycode == 0) {
        return nullptr;
    }
    impl->modifiers = chord->modifiers;
    // Only the lock modifiers this keyboard really has can show up in a press's state.
    const unsigned lockMasks = (LockMask | x11::modifierMaskOf(display, XK_Num_Lock) |
                                x11::modifierMaskOf(display, XK_Scroll_Lock)) &
                               ~chord->modifiers;
    if (!impl->grab(lockMasks)) {
        return nullptr;
    }
    // Holding the chord then repeats only the press, which readEvents() skips, instead of
    // a release and a press that would look like a new press each time.
    XkbSetDetectableAutoRepeat(display, True, nullptr);
    impl->action = std::make_shared<const std::function<void()>>(std::move(action));
    impl->notifier =
        std::make_unique<QSocketNotifier>(impl->connection->fd(), QSocketNotifier::Read);
    Impl* raw = impl.get();
    QObject::connect(impl->notifier.get(), &QSocketNotifier::activated, impl->notifier.get(),
                     [raw] { raw->readEvents(); });
    // Events Xlib may already have read off the socket while grabbing wake no notifier.
    QMetaObject::invokeMethod(
        impl->notifier.get(), [raw] { raw->readEvents(); }, Qt::QueuedConnection);
    return std::unique_ptr<GlobalHotKey>(new GlobalHotKey(std::move(impl)));
}

GlobalHotKey::Impl::~Impl() {
    notifier.reset();
    if (connection && !connection->isLost()) {
        ungrab();
    }
}

bool GlobalHotKey::Impl::grab(unsigned lockMasks) {
    Display* display = connection->display();
    for (unsigned locks : x11::lockModifierCombinations(lockMasks)) {
        const unsigned mask = modifiers | locks;
        XGrabKey(display, keycode, mask, DefaultRootWindow(display), False, GrabModeAsync,
                 GrabModeAsync);
        // BadAccess means another client holds this combination: give back what was taken.
        if (connection->syncAndTakeError() != Success) {
            ungrab();
            return false;
        }
        grabbedMasks.push_back(mask);
    }
    return true;
}

void GlobalHotKey::Impl::ungrab() {
    Display* display = connection->display();
    for (unsigned mask : grabbedMasks) {
        XUngrabKey(display, keycode, mask, DefaultRootWindow(display));
    }
    grabbedMasks.clear();
    connection->syncAndTakeError();
}

void GlobalHotKey::Impl::readEvents() {
    Display* display = connection->display();
    while (!connection->isLost() && XPending(display) > 0) {
        XEvent event;
        XNextEvent(display, &event);
        if ((event.type != KeyPress && event.type != KeyRelease) || event.xkey.keycode != keycode) {
            continue;
        }
        const bool isPress = event.type == KeyPress;
        if (isPress && !keyIsDown) {
            // Run later from the event loop; the queued call keeps the action alive.
            QMetaObject::invokeMethod(
                QCoreApplication::instance(), [action = action] { (*action)(); },
                Qt::QueuedConnection);
        }
        keyIsDown = isPress;
    }
    if (connection->isLost() && notifier->isEnabled()) {
        notifier->setEnabled(false);
        std::fprintf(stderr, "quelmo: lost the connection to the X display; the hot key no longer "
                             "works\n");
    }
}

} // namespace quelmo
