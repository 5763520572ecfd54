// SPDX-License-Identifier: MIT
#pragma once

#include <functional>
#include <string>

namespace quelmo {

// What the app model hears from the system. Every handler runs on the main
// thread; a source that is not available simply never calls its handlers.
struct SystemEventHandlers {
    std::function<void()> screensDidSleep;
    std::function<void()> screensDidWake;
    std::function<void()> willSleep;
    std::function<void()> didWake;
    std::function<void()> screenLocked;
    std::function<void()> screenUnlocked;
};

class SystemEventsPort {
  public:
    virtual ~SystemEventsPort() = default;
    // Starts delivering events to `handlers`, for the life of the source.
    virtual void observe(SystemEventHandlers handlers) = 0;
};

// Command words sent by another process of the same user.
class CommandChannelPort {
  public:
    virtual ~CommandChannelPort() = default;
    // Starts delivering every word that arrives to `handler`, on the main thread.
    virtual void listen(std::function<void(const std::string& word)> handler) = 0;
};

} // namespace quelmo
