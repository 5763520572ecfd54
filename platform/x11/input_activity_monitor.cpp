// SPDX-License-Identifier: MIT
#include "platform/x11/input_activity_monitor.h"

#include "platform/x11/activity_filter.h"
#include "platform/x11/input_activity.h"
#include "platform/x11/x11_connection.h"
#include "platform/x11/x11_modifier_map.h"

#include <X11/extensions/XInput2.h>
#include <X11/extensions/scrnsaver.h>

#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <system_error>
#include <thread>

namespace quelmo {
namespace {

using Clock = std::chrono::steady_clock;

std::int64_t ticksOf(Clock::time_point t) {
    return std::chrono::duration_cast<std::chrono::nanoseconds>(t.time_since_epoch()).count();
}

Clock::time_point timeOfTicks(std::int64_t ticks) {
    return Clock::time_point(
        std::chrono::duration_cast<Clock::duration>(std::chrono::nanoseconds(ticks)));
}

std::string describeDisplay(const std::string& name) {
    if (!name.empty()) {
        return name;
    }
    const char* env = std::getenv("DISPLAY");
    return env != nullptr && *env != '\0' ? env : "(DISPLAY is not set)";
}

// The XScreenSaver polling period where XInput2 is missing: fresh for the 0.2 s readers.
constexpr int kScreenSaverPollMilliseconds = 100;

} // namespace

struct InputActivityMonitor::Impl {
    std::string displayName;
    std::unique_ptr<x11::X11Connection> connection;
    int xiOpcode = -1;
    x11::KeycodeSet modifierKeys;
    std::atomic<Source> source{Source::unavailable};
    std::atomic<std::int64_t> lastEventTicks{0};
    std::atomic<std::uint64_t> rawEvents{0};
    int wakeFd = -1;
    std::thread listener;

    bool start(bool useXInput2);
    bool selectRawEvents();
    std::optional<std::chrono::milliseconds> screenSaverIdle() const;
    void run();
    void handle(XEvent& event);
    void pollScreenSaver();
};

InputActivityMonitor::InputActivityMonitor() : InputActivityMonitor(Options{}) {}

InputActivityMonitor::InputActivityMonitor(Options options) : impl_(std::make_unique<Impl>()) {
    impl_->displayName = describeDisplay(options.displayName);
    impl_->lastEventTicks.store(ticksOf(Clock::now()));
    impl_->connection = x11::X11Connection::open(options.displayName);
    if (!impl_->start(options.useXInput2)) {
        impl_->connection.reset();
        impl_->source.store(Source::unavailable);
        std::fprintf(stderr,
                     "quelmo: cannot watch keyboard and mouse activity on X display %s; "
                     "reporting an idle time of %.0f s\n",
                     impl_->displayName.c_str(), InputActivity::kIdleSecondsWithoutDisplay);
    }
}

InputActivityMonitor::~InputActivityMonitor() {
    if (impl_->listener.joinable()) {
        const std::uint64_t one = 1;
        [[maybe_unused]] ssize_t written = write(impl_->wakeFd, &one, sizeof one);
        impl_->listener.join();
    }
    if (impl_->wakeFd >= 0) {
        close(impl_->wakeFd);
    }
}

double InputActivityMonitor::secondsSinceLastEvent() const {
    const auto last = lastEventAt();
    if (!last) {
        return InputActivity::kIdleSecondsWithoutDisplay;
    }
    const std::chrono::duration<double> idle = Clock::now() - *last;
    return idle.count() > 0.0 ? idle.count() : 0.0;
}

std::optional<Clock::time_point> InputActivityMonitor::lastEventAt() const {
    if (source() == Source::unavailable) {
        return std::nullopt;
    }
    return timeOfTicks(impl_->lastEventTicks.load(std::memory_order_acquire));
}

InputActivityMonitor::Source InputActivityMonitor::source() const {
    return impl_->source.load(std::memory_order_acquire);
}

std::uint64_t InputActivityMonitor::rawEventsSeen() const {
    return impl_->rawEvents.load(std::memory_order_acquire);
}

bool InputActivityMonitor::Impl::start(bool useXInput2) {
    if (!connection) {
        return false;
    }
    int event = 0;
    int error = 0;
    const bool hasScreenSaver = XScreenSaverQueryExtension(connection->display(), &event, &error);
    if (hasScreenSaver) {
        if (const auto idle = screenSaverIdle()) {
            lastEventTicks.store(ticksOf(Clock::now() - *idle));
        }
    }
    if (useXInput2 && selectRawEvents()) {
        modifierKeys = x11::modifierKeycodes(connection->display());
        source.store(Source::xInput2);
    } else if (hasScreenSaver) {
        source.store(Source::screenSaver);
    } else {
        return false;
    }
    wakeFd = eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
    if (wakeFd < 0) {
        return false;
    }
    try {
        listener = std::thread(&Impl::run, this);
    } catch (const std::system_error&) {
        return false;
    }
    return true;
}

bool InputActivityMonitor::Impl::selectRawEvents() {
    Display* display = connection->display();
    int event = 0;
    int error = 0;
    if (!XQueryExtension(display, "XInputExtension", &xiOpcode, &event, &error)) {
        return false;
    }
    // 2.1 or later delivers raw events during grabs too (a held hot key, a menu).
    int major = 2;
    int minor = 2;
    if (XIQueryVersion(display, &major, &minor) != Success) {
        return false;
    }
    unsigned char bits[XIMaskLen(XI_LASTEVENT)] = {};
    XISetMask(bits, XI_RawKeyPress);
    XISetMask(bits, XI_RawButtonPress);
    XISetMask(bits, XI_RawMotion);
    // XIAllMasterDevices would miss raw motion: raw events come from the physical devices.
    XIEventMask mask{XIAllDevices, static_cast<int>(sizeof bits), bits};
    XISelectEvents(display, DefaultRootWindow(display), &mask, 1);
    return connection->syncAndTakeError() == Success;
}

std::optional<std::chrono::milliseconds> InputActivityMonitor::Impl::screenSaverIdle() const {
    Display* display = connection->display();
    XScreenSaverInfo info{};
    if (!XScreenSaverQueryInfo(display, DefaultRootWindow(display), &info) ||
        connection->isLost()) {
        return std::nullopt;
    }
    return std::chrono::milliseconds(info.idle);
}

void InputActivityMonitor::Impl::run() {
    Display* display = connection->display();
    for (;;) {
        while (!connection->isLost() && XPending(display) > 0) {
            XEvent event;
            XNextEvent(display, &event);
            handle(event);
        }
        if (source.load() == Source::screenSaver) {
            pollScreenSaver();
        }
        if (connection->isLost()) {
            // The time of the last event seen stays; the idle time keeps growing from it.
            source.store(Source::connectionLost, std::memory_order_release);
            // Closed here: Xlib leaves a broken display locked for the thread that saw it break.
            connection.reset();
            std::fprintf(stderr,
                         "quelmo: lost the connection to X display %s; keyboard and mouse "
                         "activity is no longer seen\n",
                         displayName.c_str());
            return;
        }
        pollfd fds[2] = {{connection->fd(), POLLIN, 0}, {wakeFd, POLLIN, 0}};
        const int timeout =
            source.load() == Source::screenSaver ? kScreenSaverPollMilliseconds : -1;
        if (poll(fds, 2, timeout) < 0 && errno != EINTR) {
            return;
        }
        if ((fds[1].revents & POLLIN) != 0) {
            return;
        }
    }
}

void InputActivityMonitor::Impl::handle(XEvent& event) {
    Display* display = connection->display();
    if (event.type == MappingNotify) {
        XRefreshKeyboardMapping(&event.xmapping);
        modifierKeys = x11::modifierKeycodes(display);
        return;
    }
    XGenericEventCookie& cookie = event.xcookie;
    if (event.type != GenericEvent || cookie.extension != xiOpcode) {
        return;
    }
    x11::RawInput input = x11::RawInput::motion;
    int detail = 0;
    switch (cookie.evtype) {
    case XI_RawMotion:
        break;
    case XI_RawKeyPress:
    case XI_RawButtonPress:
        if (!XGetEventData(display, &cookie)) {
            return;
        }
        input =
            cookie.evtype == XI_RawKeyPress ? x11::RawInput::keyPress : x11::RawInput::buttonPress;
        detail = static_cast<const XIRawEvent*>(cookie.data)->detail;
        XFreeEventData(display, &cookie);
        break;
    default:
        return;
    }
    if (x11::countsAsActivity(input, detail, modifierKeys)) {
        lastEventTicks.store(ticksOf(Clock::now()), std::memory_order_release);
    }
    rawEvents.fetch_add(1, std::memory_order_acq_rel);
}

void InputActivityMonitor::Impl::pollScreenSaver() {
    if (const auto idle = screenSaverIdle()) {
        const std::int64_t seen = ticksOf(Clock::now() - *idle);
        if (seen > lastEventTicks.load(std::memory_order_relaxed)) {
            lastEventTicks.store(seen, std::memory_order_release);
        }
    }
}

} // namespace quelmo
