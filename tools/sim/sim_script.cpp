// SPDX-License-Identifier: MIT
#include "tools/sim/sim_script.h"

#include "core/number_text.h"

#include <cmath>
#include <sstream>

namespace quelmo::sim {

const char* const kDemoScript = R"(# quelmo-sim demo: virtual headphones at the desk.
# Calibrate: face the screen while Quelmo learns where forward is.
0    connect
0    rssi -55
5    face
# Turn away to the left: the screen frosts.
1    turn 70
3    hold
# Look back: the frost clears.
0.8  turn 0
3    hold
# A glance aside, not far enough to frost.
0.8  turn -30
2    hold
0.8  turn 0
2    hold
# Turn away to the right, and back.
1    turn -80
3    hold
1    turn 0
3    hold
# Stand up and walk away: the away frost, which stays until the keyboard
# or mouse is used again.
6    walk
1    turn 150
4    walk
# Out of range: the signal drops far below its level at the desk.
4    rssi -85
# Take the earbuds out.
2    disconnect
)";

const char* actionName(Action action) {
    switch (action) {
    case Action::face:
        return "face";
    case Action::turn:
        return "turn";
    case Action::hold:
        return "hold";
    case Action::walk:
        return "walk";
    case Action::quietWalk:
        return "quiet-walk";
    case Action::disconnect:
        return "disconnect";
    case Action::connect:
        return "connect";
    case Action::rssi:
        return "rssi";
    }
    return "?";
}

namespace {

// A usable number in the C locale that fills the whole word.
bool readNumber(const std::string& word, double& out) {
    const std::optional<double> value = usableNumberFromText(word);
    if (value) {
        out = *value;
    }
    return value.has_value();
}

std::optional<Action> actionNamed(const std::string& word) {
    for (Action a : {Action::face, Action::turn, Action::hold, Action::walk, Action::quietWalk,
                     Action::disconnect, Action::connect, Action::rssi}) {
        if (word == actionName(a))
            return a;
    }
    return std::nullopt;
}

} // namespace

std::optional<std::vector<Step>> parseScript(std::string_view text, ScriptError& error) {
    std::vector<Step> steps;
    std::istringstream in{std::string(text)};
    std::string raw;
    int lineNumber = 0;
    const auto fail = [&](std::string message) {
        error = ScriptError{lineNumber, std::move(message)};
        return std::nullopt;
    };
    while (std::getline(in, raw)) {
        ++lineNumber;
        if (const auto hash = raw.find('#'); hash != std::string::npos)
            raw.erase(hash);
        std::istringstream words(raw);
        std::vector<std::string> w;
        for (std::string word; words >> word;)
            w.push_back(word);
        if (w.empty())
            continue;

        Step step;
        step.line = lineNumber;
        if (!readNumber(w[0], step.seconds) || step.seconds < 0 || step.seconds > 86400) {
            return fail("\"" + w[0] + "\" is not a number of seconds (0 to 86400)");
        }
        if (w.size() < 2)
            return fail("missing action after the seconds");
        const auto action = actionNamed(w[1]);
        if (!action) {
            return fail("unknown action \"" + w[1] +
                        "\" (face, turn, hold, walk, quiet-walk, disconnect, connect, rssi)");
        }
        step.action = *action;
        const bool takesArgument = step.action == Action::turn || step.action == Action::rssi;
        if (takesArgument && w.size() != 3) {
            return fail(std::string(actionName(step.action)) + (step.action == Action::turn
                                                                    ? " needs a heading in degrees"
                                                                    : " needs a strength in dBm"));
        }
        if (!takesArgument && w.size() != 2)
            return fail("unexpected text after " + w[1]);
        if (takesArgument && !readNumber(w[2], step.argument)) {
            return fail("\"" + w[2] + "\" is not a number");
        }
        if (step.action == Action::turn && std::fabs(step.argument) > 360) {
            return fail("turn heading must be between -360 and 360 degrees");
        }
        if (step.action == Action::rssi && (step.argument >= 0 || step.argument < -127)) {
            return fail("rssi must be below 0 and at least -127 dBm");
        }
        steps.push_back(step);
    }
    if (steps.empty()) {
        lineNumber = 0;
        return fail("the script has no steps");
    }
    return steps;
}

} // namespace quelmo::sim
