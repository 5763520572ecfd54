// SPDX-License-Identifier: MIT
#pragma once

#include "app/system_ports.h"

#include <memory>
#include <string>

namespace quelmo {

// Linux has no counterpart worth taking to the platform's "user-initiated
// activity" assertion: our timers run while the session is awake anyway, and
// idle sleep stays allowed. The token only marks that watching is on.
class NoActivityAssertion final : public ActivityAssertionPort {
  public:
    std::unique_ptr<ActivityToken> beginActivity(unsigned long long, const std::string&) override {
        return std::make_unique<ActivityToken>();
    }
};

} // namespace quelmo
