// SPDX-License-Identifier: MIT
#include "tools/replay/trace_replay.h"

#include "core/number_text.h"
#include "core/privacy_guard.h"
#include "tools/replay/trace_fields.h"

#include <functional>
#include <istream>
#include <ostream>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace quelmo {

namespace {

using trace::parseBoolean;
using trace::parseInteger;
using trace::parseNumber;

// One settings field a `c` line may set: it parses its text and, when that
// works, stores the value in the guard.
using SettingSetter = std::function<bool(PrivacyGuard&, std::string_view)>;

template <typename Record, typename Field>
SettingSetter numberSetting(Record& (*record)(PrivacyGuard&), Field Record::*field) {
    return [record, field](PrivacyGuard& guard, std::string_view text) {
        std::optional<Field> value;
        if constexpr (std::is_same_v<Field, bool>) {
            value = parseBoolean(text);
        } else if constexpr (std::is_integral_v<Field>) {
            value = parseInteger(text);
        } else {
            value = parseNumber(text);
        }
        if (!value) {
            return false;
        }
        record(guard).*field = *value;
        return true;
    };
}

TurnSettings& turnOf(PrivacyGuard& g) {
    return g.detector().settings;
}
WalkSettings& walkOf(PrivacyGuard& g) {
    return g.walker().settings;
}
InputSettings& inputOf(PrivacyGuard& g) {
    return g.input;
}
AwaySettings& awayOf(PrivacyGuard& g) {
    return g.away;
}

const std::unordered_map<std::string_view, SettingSetter>& settingsByName() {
    static const std::unordered_map<std::string_view, SettingSetter> table = {
        {"turn.triggerAngle", numberSetting(turnOf, &TurnSettings::triggerAngle)},
        {"turn.releaseMargin", numberSetting(turnOf, &TurnSettings::releaseMargin)},
        {"turn.triggerDelay", numberSetting(turnOf, &TurnSettings::triggerDelay)},
        {"turn.decisiveExtra", numberSetting(turnOf, &TurnSettings::decisiveExtra)},
        {"turn.decisiveDelay", numberSetting(turnOf, &TurnSettings::decisiveDelay)},
        {"turn.releaseDelay", numberSetting(turnOf, &TurnSettings::releaseDelay)},
        {"turn.fastReleaseExtra", numberSetting(turnOf, &TurnSettings::fastReleaseExtra)},
        {"turn.fastReleaseDelay", numberSetting(turnOf, &TurnSettings::fastReleaseDelay)},
        {"turn.returningSpeed", numberSetting(turnOf, &TurnSettings::returningSpeed)},
        {"turn.warmup", numberSetting(turnOf, &TurnSettings::warmup)},
        {"turn.driftBand", numberSetting(turnOf, &TurnSettings::driftBand)},
        {"turn.driftTimeConstant", numberSetting(turnOf, &TurnSettings::driftTimeConstant)},
        {"turn.smoothingTimeConstant", numberSetting(turnOf, &TurnSettings::smoothingTimeConstant)},
        {"turn.jumpMinimum", numberSetting(turnOf, &TurnSettings::jumpMinimum)},
        {"turn.jumpSpeed", numberSetting(turnOf, &TurnSettings::jumpSpeed)},
        {"turn.driftLearningTime", numberSetting(turnOf, &TurnSettings::driftLearningTime)},
        {"turn.driftRateTimeConstant", numberSetting(turnOf, &TurnSettings::driftRateTimeConstant)},
        {"turn.maxDriftRate", numberSetting(turnOf, &TurnSettings::maxDriftRate)},
        {"walk.stepThreshold", numberSetting(walkOf, &WalkSettings::stepThreshold)},
        {"walk.rearmLevel", numberSetting(walkOf, &WalkSettings::rearmLevel)},
        {"walk.minInterval", numberSetting(walkOf, &WalkSettings::minInterval)},
        {"walk.maxInterval", numberSetting(walkOf, &WalkSettings::maxInterval)},
        {"walk.stepsNeeded", numberSetting(walkOf, &WalkSettings::stepsNeeded)},
        {"walk.softThreshold", numberSetting(walkOf, &WalkSettings::softThreshold)},
        {"walk.softStepsNeeded", numberSetting(walkOf, &WalkSettings::softStepsNeeded)},
        {"walk.softRegularity", numberSetting(walkOf, &WalkSettings::softRegularity)},
        {"walk.stopAfter", numberSetting(walkOf, &WalkSettings::stopAfter)},
        {"input.enabled", numberSetting(inputOf, &InputSettings::enabled)},
        {"input.workingWindow", numberSetting(inputOf, &InputSettings::workingWindow)},
        {"input.resetGap", numberSetting(inputOf, &InputSettings::resetGap)},
        {"input.recenterBand", numberSetting(inputOf, &InputSettings::recenterBand)},
        {"input.recenterTimeConstant",
         numberSetting(inputOf, &InputSettings::recenterTimeConstant)},
        {"input.overrideAfter", numberSetting(inputOf, &InputSettings::overrideAfter)},
        {"away.frostWhenWalkingAway", numberSetting(awayOf, &AwaySettings::frostWhenWalkingAway)},
        {"away.frostOnDisconnect", numberSetting(awayOf, &AwaySettings::frostOnDisconnect)},
        {"away.inputVeto", numberSetting(awayOf, &AwaySettings::inputVeto)},
        {"away.walkMemory", numberSetting(awayOf, &AwaySettings::walkMemory)},
        {"away.frostWhenFar", numberSetting(awayOf, &AwaySettings::frostWhenFar)},
        {"away.farDrop", numberSetting(awayOf, &AwaySettings::farDrop)},
        {"away.farDropAfterSteps", numberSetting(awayOf, &AwaySettings::farDropAfterSteps)},
        {"away.stepHintMemory", numberSetting(awayOf, &AwaySettings::stepHintMemory)},
        {"away.farSamples", numberSetting(awayOf, &AwaySettings::farSamples)},
        {"away.lostDrop", numberSetting(awayOf, &AwaySettings::lostDrop)},
        {"away.atMacWindow", numberSetting(awayOf, &AwaySettings::atMacWindow)},
        {"away.baselineTimeConstant", numberSetting(awayOf, &AwaySettings::baselineTimeConstant)},
    };
    return table;
}

// Trace numbers are written as printf's "%.6f" writes them.
void appendSixDecimals(std::string& out, double value) {
    appendFixed(out, value, 6);
}

void appendFlag(std::string& out, bool value) {
    out += ',';
    out += value ? '1' : '0';
}

void appendOptional(std::string& out, const std::optional<double>& value) {
    out += ',';
    if (value) {
        appendSixDecimals(out, *value);
    } else {
        out += '-';
    }
}

void appendState(std::string& out, const PrivacyGuard& guard, double t) {
    const TurnDetector& turn = guard.detector();
    const WalkDetector& walk = guard.walker();
    appendSixDecimals(out, t);
    out += ',';
    out += statusName(guard.status(t));
    appendFlag(out, guard.isFrosted());
    appendFlag(out, guard.isAway());
    appendFlag(out, guard.isLive());
    appendOptional(out, turn.angle());
    appendOptional(out, turn.velocity());
    appendOptional(out, turn.forward());
    appendFlag(out, turn.isTurnedAway());
    appendFlag(out, walk.isWalking());
    out += ',';
    appendInteger(out, walk.stepsInRhythm());
    out += ',';
    appendInteger(out, walk.softSteps());
    appendOptional(out, guard.signalDrop());
    out += ',';
    appendInteger(out, guard.inputOverrides());
    out += ',';
    appendInteger(out, turn.jumpsCancelled());
    out += '\n';
}

// Why a line could not be read, or nullptr when it was carried out.
const char* runLine(PrivacyGuard& guard, const std::vector<std::string_view>& fields,
                    SignalReadings& readings, double& t) {
    const std::string_view kind = fields[0];
    if (kind.size() != 1 || std::string_view("milsrpc").find(kind[0]) == std::string_view::npos) {
        return "unknown event kind";
    }
    if (fields.size() < 2) {
        return "wrong number of fields";
    }
    const auto time = parseNumber(fields[1]);
    switch (kind[0]) {
    case 'm': {
        if (fields.size() != 4) {
            return "wrong number of fields";
        }
        const auto heading = parseNumber(fields[2]);
        const auto vertical = parseNumber(fields[3]);
        if (!time || !heading || !vertical) {
            return "bad number";
        }
        t = *time;
        guard.motion(*heading, *vertical, t);
        return nullptr;
    }
    case 'i': {
        if (fields.size() != 3) {
            return "wrong number of fields";
        }
        const auto idle = parseNumber(fields[2]);
        if (!time || !idle) {
            return "bad number";
        }
        t = *time;
        guard.inputActivity(*idle, t);
        return nullptr;
    }
    case 'p': {
        if (!time) {
            return "bad number";
        }
        readings.clear();
        for (std::size_t i = 2; i < fields.size(); ++i) {
            const std::string_view reading = fields[i];
            const std::size_t eq = reading.find('=');
            if (eq == std::string_view::npos ||
                reading.find('=', eq + 1) != std::string_view::npos) {
                return "a reading needs exactly one '='";
            }
            const auto dbm = parseNumber(reading.substr(eq + 1));
            if (!dbm) {
                return "bad number";
            }
            readings[std::string(reading.substr(0, eq))] = *dbm; // a later reading wins
        }
        t = *time;
        guard.proximity(readings, t);
        return nullptr;
    }
    case 'c': {
        if (fields.size() != 3) {
            return "wrong number of fields";
        }
        if (!time) {
            return "bad number";
        }
        const std::string_view assignment = fields[2];
        const std::size_t eq = assignment.find('=');
        if (eq == std::string_view::npos) {
            return "a setting needs NAME=VALUE";
        }
        const auto& table = settingsByName();
        const auto setter = table.find(assignment.substr(0, eq));
        if (setter == table.end()) {
            return "unknown setting";
        }
        if (!setter->second(guard, assignment.substr(eq + 1))) {
            return "bad setting value";
        }
        t = *time;
        return nullptr;
    }
    default: // l, s, r
        if (fields.size() != 2) {
            return "wrong number of fields";
        }
        if (!time) {
            return "bad number";
        }
        t = *time;
        if (kind[0] == 'l') {
            guard.signalLost(t);
        } else if (kind[0] == 's') {
            guard.stop();
        } else {
            guard.recenter();
        }
        return nullptr;
    }
}

bool isBlank(std::string_view line) {
    return line.find_first_not_of(" \t\r\f\v") == std::string_view::npos;
}

} // namespace

int replayTrace(std::istream& trace, std::ostream& timeline, std::ostream& errors) {
    PrivacyGuard guard;
    std::string out;
    double eventTime = 0.0;
    guard.onFrostChange = [&](bool frosted) {
        out += "f,";
        appendSixDecimals(out, eventTime);
        out += frosted ? ",1\n" : ",0\n";
    };

    int status = 0;
    std::string line;
    std::vector<std::string_view> fields;
    SignalReadings readings;
    long long lineNumber = 0;
    while (std::getline(trace, line)) {
        ++lineNumber;
        std::string_view text = line;
        if (!text.empty() && text.back() == '\r') {
            text.remove_suffix(1);
        }
        if (isBlank(text) || text.front() == '#') {
            continue;
        }
        trace::splitFields(text, fields);
        // The time is needed by the frost callback while the event runs, so it
        // is parsed up front; runLine checks it again with the other fields.
        if (fields.size() >= 2) {
            eventTime = parseNumber(fields[1]).value_or(0.0);
        }
        const std::size_t mark = out.size();
        double t = 0.0;
        if (const char* why = runLine(guard, fields, readings, t)) {
            out.resize(mark);
            errors << "line " << lineNumber << ": " << why << ": " << text << '\n';
            status = 1;
            continue;
        }
        appendState(out, guard, t);
        if (out.size() > (1u << 16)) {
            timeline << out;
            out.clear();
        }
    }
    timeline << out;
    timeline.flush();
    return status;
}

} // namespace quelmo
