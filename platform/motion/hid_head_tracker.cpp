// SPDX-License-Identifier: MIT
#include "platform/motion/hid_head_tracker.h"

#include <algorithm>
#include <cmath>

namespace quelmo::hid {

namespace {

constexpr double kPi = 3.141592653589793;

const Field* find(const Descriptor& d, ReportKind kind, std::uint32_t wanted, bool byCollection) {
    for (const Field& f : d.fields) {
        if (f.kind != kind || f.application != kCustomSensor)
            continue;
        if (byCollection ? f.collection == wanted && f.array
                         : !f.array && !f.usages.empty() && f.usages.front() == wanted)
            return &f;
    }
    return nullptr;
}

// A selector offering both options, each of whose values fits the field
// (a value it cannot hold would switch something else).
bool selects(const Field& f, std::uint32_t a, std::uint32_t b) {
    const auto options = static_cast<std::int64_t>(f.usages.size());
    return f.count == 1 && f.bitSize < 32 && f.logicalMin >= 0 &&
           std::int64_t{f.logicalMax} - f.logicalMin + 1 >= options &&
           std::int64_t{f.logicalMax} < (std::int64_t{1} << f.bitSize) &&
           std::find(f.usages.begin(), f.usages.end(), a) != f.usages.end() &&
           std::find(f.usages.begin(), f.usages.end(), b) != f.usages.end();
}

// The value that selects `option` in a selector field.
std::int64_t selectorValue(const Field& f, std::uint32_t option) {
    const auto at = std::find(f.usages.begin(), f.usages.end(), option);
    return f.logicalMin + (at - f.usages.begin());
}

// A logical value in physical units (the unit exponent applied), or, when
// the descriptor gives no physical range, in the standard's units.
double physicalOf(const Field& f, std::int64_t logical, double standardMax) {
    if (f.logicalMax <= f.logicalMin)
        return 0;
    if (f.physicalMin == f.physicalMax) {
        const double span = std::max(std::fabs(double(f.logicalMin)), double(f.logicalMax));
        return double(logical) * standardMax / span;
    }
    const double fraction = double(logical - f.logicalMin) / double(f.logicalMax - f.logicalMin);
    return (f.physicalMin + fraction * (double(f.physicalMax) - f.physicalMin)) *
           std::pow(10.0, f.unitExponent);
}

std::int64_t logicalOf(const Field& f, double physical) {
    if (f.physicalMin == f.physicalMax || f.logicalMax <= f.logicalMin)
        return std::clamp<std::int64_t>(std::llround(physical), f.logicalMin, f.logicalMax);
    const double inUnits = physical / std::pow(10.0, f.unitExponent);
    const double fraction = (inUnits - f.physicalMin) / (double(f.physicalMax) - f.physicalMin);
    return std::clamp<std::int64_t>(
        f.logicalMin + std::llround(fraction * (double(f.logicalMax) - f.logicalMin)), f.logicalMin,
        f.logicalMax);
}

} // namespace

std::optional<TrackerLayout> findHeadTracker(const Descriptor& d, std::string& why) {
    if (std::find(d.applications.begin(), d.applications.end(), kCustomSensor) ==
        d.applications.end()) {
        why = "not a custom sensor (usage page 0x20, usage 0xE1)";
        return std::nullopt;
    }
    // Feature reports travel with their id in front (hidraw's and the door's
    // framing); the standard's trackers number every report.
    if (!d.usesReportIds) {
        why = "reports without ids";
        return std::nullopt;
    }
    TrackerLayout layout;
    layout.usesReportIds = d.usesReportIds;
    const Field* description = find(d, ReportKind::feature, kDescription, false);
    const Field* reporting = find(d, ReportKind::feature, kReportingState, true);
    const Field* power = find(d, ReportKind::feature, kPowerState, true);
    const Field* rotation = find(d, ReportKind::input, kRotationVector, false);
    const Field* reset = find(d, ReportKind::input, kResetCounter, false);
    if (description == nullptr || description->bitSize != 8) {
        why = "no sensor description text";
        return std::nullopt;
    }
    if (reporting == nullptr || !selects(*reporting, kNoEvents, kAllEvents) || power == nullptr ||
        !selects(*power, kFullPower, kPowerOff)) {
        why = "no reporting state or power state to switch it on";
        return std::nullopt;
    }
    if (reporting->reportId != power->reportId) {
        why = "the reporting and power states in two reports";
        return std::nullopt;
    }
    if (rotation == nullptr || rotation->count != 3 || rotation->bitSize < 8 || reset == nullptr ||
        reset->reportId != rotation->reportId) {
        why = "no rotation vector and reset counter in one input report";
        return std::nullopt;
    }
    layout.description = *description;
    layout.reportingState = *reporting;
    layout.powerState = *power;
    layout.rotation = *rotation;
    layout.resetCounter = *reset;
    if (const Field* id = find(d, ReportKind::feature, kUniqueId, false))
        layout.uniqueId = *id;
    if (const Field* interval = find(d, ReportKind::feature, kReportInterval, false);
        interval != nullptr && interval->reportId == reporting->reportId)
        layout.interval = *interval;
    return layout;
}

std::optional<TrackerLayout> headTrackerIn(const unsigned char* descriptor, std::size_t size,
                                           std::string& why) {
    const auto parsed = parseDescriptor(descriptor, size, why);
    if (!parsed)
        return std::nullopt;
    return findHeadTracker(*parsed, why);
}

std::string readDescription(const TrackerLayout& layout, const unsigned char* report,
                            std::size_t size) {
    std::string text;
    for (std::size_t i = 0; i < layout.description.count; ++i) {
        const auto c = readField(layout.description, i, report, size, layout.usesReportIds);
        if (!c || *c == 0)
            break;
        text += static_cast<char>(*c);
    }
    return text;
}

bool isTrackerDescription(const std::string& text) {
    return text.rfind("#AndroidHeadTracker#1.", 0) == 0 ||
           text.rfind("#AndroidHeadTracker#2.", 0) == 0;
}

bool setTrackerOn(const TrackerLayout& layout, bool on, unsigned char* report, std::size_t size) {
    const bool ids = layout.usesReportIds;
    bool ok = writeField(layout.reportingState, 0,
                         selectorValue(layout.reportingState, on ? kAllEvents : kNoEvents), report,
                         size, ids) &&
              writeField(layout.powerState, 0,
                         selectorValue(layout.powerState, on ? kFullPower : kPowerOff), report,
                         size, ids);
    if (ok && on && layout.interval)
        ok = writeField(*layout.interval, 0,
                        logicalOf(*layout.interval, kWantedIntervalMs / 1000.0), report, size, ids);
    return ok;
}

bool isTrackerOn(const TrackerLayout& layout, const unsigned char* report, std::size_t size) {
    const auto reporting = readField(layout.reportingState, 0, report, size, layout.usesReportIds);
    const auto power = readField(layout.powerState, 0, report, size, layout.usesReportIds);
    return reporting && power && *reporting == selectorValue(layout.reportingState, kAllEvents) &&
           *power == selectorValue(layout.powerState, kFullPower);
}

std::optional<TrackerReport> decodeTrackerReport(const TrackerLayout& layout,
                                                 const unsigned char* report, std::size_t size) {
    if (layout.usesReportIds && (size == 0 || report[0] != layout.rotation.reportId))
        return std::nullopt;
    TrackerReport out;
    double squares = 0;
    for (std::size_t i = 0; i < 3; ++i) {
        const auto v = readField(layout.rotation, i, report, size, layout.usesReportIds);
        if (!v)
            return std::nullopt;
        out.rotation[i] = physicalOf(layout.rotation, *v, kPi);
        squares += out.rotation[i] * out.rotation[i];
    }
    const auto reset = readField(layout.resetCounter, 0, report, size, layout.usesReportIds);
    if (!reset || !std::isfinite(squares) || std::sqrt(squares) > kPi + 0.01)
        return std::nullopt;
    out.resetCounter = static_cast<std::uint8_t>(*reset);
    return out;
}

std::size_t encodeTrackerReport(const TrackerLayout& layout, const Descriptor& descriptor,
                                const TrackerReport& value, unsigned char* out) {
    const std::size_t size = descriptor.reportBytes(ReportKind::input, layout.rotation.reportId);
    std::fill(out, out + size, 0);
    if (layout.usesReportIds)
        out[0] = layout.rotation.reportId;
    for (std::size_t i = 0; i < 3; ++i) {
        const Field& f = layout.rotation;
        const double physical = value.rotation[i];
        const std::int64_t logical =
            f.physicalMin == f.physicalMax
                ? std::clamp<std::int64_t>(std::llround(physical / kPi * f.logicalMax),
                                           f.logicalMin, f.logicalMax)
                : logicalOf(f, physical);
        writeField(f, i, logical, out, size, layout.usesReportIds);
    }
    writeField(layout.resetCounter, 0, value.resetCounter, out, size, layout.usesReportIds);
    return size;
}

DeviceMotion ResetCarry::apply(DeviceMotion sample, std::uint8_t counter) {
    if (counter_ && *counter_ != counter)
        offset_ = std::remainder(lastHeading_ - headingDegrees(sample), 360.0);
    counter_ = counter;
    if (offset_ != 0)
        turnAboutVertical(sample, offset_);
    lastHeading_ = headingDegrees(sample);
    return sample;
}

DeviceMotion motionOfRotation(const double rotation[3]) {
    const double angle = std::sqrt(rotation[0] * rotation[0] + rotation[1] * rotation[1] +
                                   rotation[2] * rotation[2]);
    DeviceMotion m; // identity attitude, gravity (0, 0, -1), no user acceleration
    if (!std::isfinite(angle) || angle < 1e-9)
        return m;
    const double s = std::sin(angle / 2) / angle;
    m.qx = rotation[0] * s;
    m.qy = rotation[1] * s;
    m.qz = rotation[2] * s;
    m.qw = std::cos(angle / 2);
    return m;
}

} // namespace quelmo::hid
