// SPDX-License-Identifier: MIT
#pragma once

#include <functional>

namespace quelmo {

// The desktop session's lock screen, as the away lock uses it. Answers come
// later, once, on the main thread.
class SessionLockPort {
  public:
    virtual ~SessionLockPort() = default;
    // Whether some program keeps the session from idling now (a video
    // playing full screen); false when nobody can tell.
    virtual void askIdleInhibited(std::function<void(bool inhibited)> answer) = 0;
    // Asks the session to lock. `delivered` is false when no session manager
    // took the request (then nothing locks and the frost stays).
    virtual void lockSession(std::function<void(bool delivered)> done) = 0;
};

} // namespace quelmo
