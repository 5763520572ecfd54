// SPDX-License-Identifier: MIT
#include "platform/x11/x11_connection.h"

#include <algorithm>
#include <mutex>
#include <vector>

namespace quelmo::x11 {
namespace {

// Xlib's error handlers are process-wide, so the connections opened here are listed and
// the handlers that were installed before ours serve every other connection.
struct HandlerRegistry {
    std::mutex mutex;
    std::vector<std::pair<Display*, X11Connection*>> connections;
    XErrorHandler previousError = nullptr;
    XIOErrorHandler previousIOError = nullptr;
};

HandlerRegistry& registry() {
    static HandlerRegistry* instance = new HandlerRegistry; // outlives every connection
    return *instance;
}

X11Connection* findConnection(HandlerRegistry& r, Display* display) {
    auto it = std::find_if(r.connections.begin(), r.connections.end(),
                           [display](const auto& entry) { return entry.first == display; });
    return it == r.connections.end() ? nullptr : it->second;
}

} // namespace

std::unique_ptr<X11Connection> X11Connection::open(const std::string& displayName) {
    Display* display = XOpenDisplay(displayName.empty() ? nullptr : displayName.c_str());
    if (display == nullptr) {
        return nullptr;
    }
    std::unique_ptr<X11Connection> connection(new X11Connection(display));

    // Take the handlers over (again, if someone replaced them since), keeping whatever was
    // there before for the connections that are not ours. Xlib calls stay outside the lock.
    XErrorHandler oldError = XSetErrorHandler(&X11Connection::onXError);
    XIOErrorHandler oldIOError = XSetIOErrorHandler(&X11Connection::onIOError);
    HandlerRegistry& r = registry();
    {
        std::lock_guard lock(r.mutex);
        if (oldError != &X11Connection::onXError) {
            r.previousError = oldError;
        }
        if (oldIOError != &X11Connection::onIOError) {
            r.previousIOError = oldIOError;
        }
        // A display closed a moment ago in another thread may still be listed under the
        // same address; the new connection replaces it.
        std::erase_if(r.connections,
                      [display](const auto& entry) { return entry.first == display; });
        r.connections.emplace_back(display, connection.get());
    }
#ifdef QUELMO_HAVE_XIO_EXIT_HANDLER
    XSetIOErrorExitHandler(display, &X11Connection::onConnectionLost, connection.get());
#endif
    return connection;
}

X11Connection::~X11Connection() {
    XCloseDisplay(display_);
    HandlerRegistry& r = registry();
    std::lock_guard lock(r.mutex);
    std::erase_if(r.connections, [this](const auto& entry) { return entry.second == this; });
}

int X11Connection::syncAndTakeError() {
    if (!isLost()) {
        XSync(display_, False);
    }
    return firstError_.exchange(Success);
}

int X11Connection::onXError(Display* display, XErrorEvent* event) {
    HandlerRegistry& r = registry();
    XErrorHandler forward = nullptr;
    {
        std::lock_guard lock(r.mutex);
        if (X11Connection* connection = findConnection(r, display)) {
            int expected = Success;
            connection->firstError_.compare_exchange_strong(expected, event->error_code);
            return 0;
        }
        forward = r.previousError;
    }
    return forward != nullptr ? forward(display, event) : 0;
}

int X11Connection::onIOError(Display* display) {
    HandlerRegistry& r = registry();
    XIOErrorHandler forward = nullptr;
    {
        std::lock_guard lock(r.mutex);
        if (X11Connection* connection = findConnection(r, display)) {
            // Returning lets Xlib go on to this display's exit handler, which returns too.
            connection->lost_.store(true, std::memory_order_release);
            return 0;
        }
        forward = r.previousIOError;
    }
    return forward != nullptr ? forward(display) : 0;
}

void X11Connection::onConnectionLost(Display*, void* self) {
    static_cast<X11Connection*>(self)->lost_.store(true, std::memory_order_release);
}

} // namespace quelmo::x11
