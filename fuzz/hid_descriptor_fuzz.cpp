// SPDX-License-Identifier: MIT
// Fuzzes the HID report descriptor parser and the head tracker's report
// decoder: nothing may crash or read out of bounds. The input's first byte
// says how much of it is a descriptor; the rest is a report to read with
// whatever layout was found. A tracker found has every field inside its
// report; a report read gives a rotation no longer than pi and a finite
// heading; on and off switch as asked.

#include "platform/motion/hid_head_tracker.h"

#include <cmath>
#include <cstdlib>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, std::size_t size) {
    using namespace quelmo;
    using namespace quelmo::hid;
    if (size < 1)
        return 0;
    const std::size_t split = std::min<std::size_t>(size - 1, data[0] * 4u);
    const unsigned char* descriptorBytes = data + 1;
    const unsigned char* report = data + 1 + split;
    const std::size_t reportSize = size - 1 - split;
    std::string why;
    const auto descriptor = parseDescriptor(descriptorBytes, split, why);
    if (!descriptor)
        return 0;
    for (const Field& f : descriptor->fields) {
        if (f.bitSize == 0 || f.bitSize > 32 || f.count == 0)
            std::abort();
        (void)readField(f, 0, report, reportSize, descriptor->usesReportIds);
    }
    const auto layout = findHeadTracker(*descriptor, why);
    if (!layout)
        return 0;
    if (const auto read = decodeTrackerReport(*layout, report, reportSize)) {
        const double* r = read->rotation;
        if (!(std::sqrt(r[0] * r[0] + r[1] * r[1] + r[2] * r[2]) <= 3.16) ||
            !std::isfinite(headingDegrees(motionOfRotation(r))))
            std::abort();
    }
    (void)readDescription(*layout, report, reportSize);
    std::vector<unsigned char> state(
        descriptor->reportBytes(ReportKind::feature, layout->reportingState.reportId));
    if (state.empty())
        std::abort();
    state[0] = layout->reportingState.reportId;
    for (const bool on : {true, false}) {
        if (!setTrackerOn(*layout, on, state.data(), state.size()) ||
            isTrackerOn(*layout, state.data(), state.size()) != on)
            std::abort();
    }
    return 0;
}
