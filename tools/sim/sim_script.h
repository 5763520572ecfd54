// SPDX-License-Identifier: MIT
#pragma once

// Scripts for the virtual headphones: one step per line, "SECONDS ACTION [ARG]".

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quelmo::sim {

enum class Action { face, turn, hold, walk, quietWalk, disconnect, connect, rssi };

struct Step {
    double seconds = 0;
    Action action = Action::hold;
    double argument = 0; // turn: heading in degrees; rssi: dBm
    int line = 0;
};

struct ScriptError {
    int line = 0;
    std::string message;
};

// Blank lines and text after '#' are ignored. Returns the steps, or the
// first error with its line number.
std::optional<std::vector<Step>> parseScript(std::string_view text, ScriptError& error);

const char* actionName(Action action);

// The built-in demonstration: calibrate facing the screen, turn away and
// back, glance aside, walk away, lose the signal, take the earbuds out.
extern const char* const kDemoScript;

} // namespace quelmo::sim
