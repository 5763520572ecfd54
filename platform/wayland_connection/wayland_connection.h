// SPDX-License-Identifier: MIT
#pragma once

#include <QObject>

#include <chrono>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

class QSocketNotifier;

struct wl_display;
struct wl_registry;

namespace quelmo {

// Quelmo's own connection to the Wayland compositor, beside Qt's, shared by
// every feature that speaks Wayland itself. Each feature binds the globals it
// needs from the one registry through a watch. Events are read from Qt's
// event loop on the main thread (a socket notifier on the display's fd), and
// requests are flushed before the loop sleeps. Main thread only.
class WaylandConnection : public QObject {
  public:
    // Connects to `name` ("" means $WAYLAND_DISPLAY) and reads the globals
    // the compositor offers; null when no compositor answers.
    static std::shared_ptr<WaylandConnection> connect(const std::string& name = {});
    ~WaylandConnection() override;

    wl_display* display() const { return display_; }

    using GlobalAdded = std::function<void(wl_registry* registry, std::uint32_t name,
                                           const char* interface, std::uint32_t version)>;
    // A feature's view of the registry. `added` hears every global, those
    // already announced at once from watch() and later ones as they come;
    // `removed` hears globals going away; `broken` hears the connection
    // break (once). Any of them may be empty.
    struct Watch {
        GlobalAdded added;
        std::function<void(std::uint32_t name)> removed;
        std::function<void()> broken;
    };
    // Returns the id that ends the watch through unwatch(); a feature ends
    // its watch before it goes.
    int watch(Watch watch);
    void unwatch(int id);

    // Reads and handles events until `done` answers true, the connection
    // breaks, or `timeout` passes; true when `done` was reached.
    bool dispatchUntil(const std::function<bool()>& done, std::chrono::milliseconds timeout);
    // Waits for the compositor to have handled every request sent so far.
    bool roundtrip(std::chrono::milliseconds timeout = std::chrono::milliseconds(1000));
    // Sends the requests made so far; handles no events, so it is safe to
    // call from a listener.
    void flush();
    // Sends the requests made so far and handles the events already
    // received, without waiting for more: lets the compositor's answers be
    // acted on between two pieces of long work.
    void dispatchAvailable();
    bool isBroken() const { return broken_; }

  private:
    explicit WaylandConnection(wl_display* display);
    void readEvents();
    void markBroken();
    // Calls `call` on each watch still present when its turn comes, so a
    // watch may end watches (its own included) from inside.
    void forEachWatch(const std::function<void(const Watch&)>& call);

    static void onGlobal(void* data, wl_registry* registry, std::uint32_t name,
                         const char* interface, std::uint32_t version);
    static void onGlobalRemove(void* data, wl_registry* registry, std::uint32_t name);

    struct Global {
        std::uint32_t name;
        std::string interface;
        std::uint32_t version;
    };

    wl_display* display_ = nullptr;
    wl_registry* registry_ = nullptr;
    // The globals on offer now, in the order the compositor announced them.
    std::vector<Global> globals_;
    std::map<int, Watch> watches_;
    int nextWatch_ = 1;
    QSocketNotifier* notifier_ = nullptr;
    bool broken_ = false;
};

} // namespace quelmo
