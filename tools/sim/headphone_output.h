// SPDX-License-Identifier: MIT
#pragma once

#include "tools/sim/virtual_headphones.h"

#include <string>

namespace quelmo::sim {

// Where the virtual headphones send what they do: Quelmo's native motion
// socket, or the earbuds' socket that speaks the AirPods frames.
class HeadphoneOutput {
  public:
    virtual ~HeadphoneOutput() = default;
    // One tick (50 a second): connection changes first, then motion.
    virtual void tick(const VirtualHeadphones& phones, bool connectionChanged, double t) = 0;
    // The script has ended or the user quit.
    virtual void finish(const VirtualHeadphones& phones) = 0;
    // Whether Quelmo is there to hear it.
    virtual bool reachable() const = 0;
    virtual std::string destination() const = 0;
};

} // namespace quelmo::sim
