// SPDX-License-Identifier: MIT
#pragma once

#include "tools/sim/headphone_output.h"
#include "tools/sim/motion_sender.h"
#include "tools/sim/virtual_headphones.h"

#include <string>

namespace quelmo::sim {

// The native motion socket: one tick's worth is connection changes first,
// then the sample. A Quelmo that starts listening later hears a connect first.
class NativeOutput final : public HeadphoneOutput {
  public:
    explicit NativeOutput(const std::string& path) : sender_(path) {}
    void tick(const VirtualHeadphones& phones, bool connectionChanged, double t) override {
        const bool wasReachable = sender_.reachable();
        if (connectionChanged)
            sender_.sendConnection(phones.connected);
        if (phones.connected) {
            sender_.sendSample(phones.sample(t));
            if (!wasReachable && sender_.reachable() && !connectionChanged) {
                sender_.sendConnection(true);
            }
        }
    }
    void finish(const VirtualHeadphones& phones) override {
        if (phones.connected)
            sender_.sendConnection(false);
    }
    bool reachable() const override { return sender_.reachable(); }
    std::string destination() const override { return sender_.path(); }

  private:
    MotionSender sender_;
};

} // namespace quelmo::sim
