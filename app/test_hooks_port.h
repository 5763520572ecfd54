// SPDX-License-Identifier: MIT
#pragma once

#include <string_view>

namespace quelmo {

// What a test word asks of the app model itself once the test hooks have
// acted on it.
enum class TestWordEffect {
    none,
    // Head tracking is to count as lost, as when the headphones go silent.
    signalLost,
};

// The command words the app model does not know itself go here: the test
// hooks chosen at start-up (TestMotion) act on theirs, the product's own
// hooks (NoTestHooks) on none.
class TestHooksPort {
  public:
    virtual ~TestHooksPort() = default;
    virtual TestWordEffect handle(std::string_view word) = 0;
    // Whether the samples the model receives are altered or made up now;
    // the model then handles every one as it comes and holds none back.
    virtual bool altersSamples() const = 0;
};

// No test hooks: every word is only logged.
class NoTestHooks final : public TestHooksPort {
  public:
    TestWordEffect handle(std::string_view) override { return TestWordEffect::none; }
    bool altersSamples() const override { return false; }
};

} // namespace quelmo
