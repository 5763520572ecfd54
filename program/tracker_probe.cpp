// SPDX-License-Identifier: MIT
#include "program/tracker_probe.h"

#include "platform/motion/hid_tracker_source.h"
#include "program/probe_output.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTimer>

#include <algorithm>
#include <cerrno>
#include <unistd.h>

namespace quelmo {

namespace {

using probe::say;

const char* const kSysfs = "/sys/class/hidraw";

QString hex(const std::vector<unsigned char>& bytes) {
    QString out;
    for (const unsigned char b : bytes)
        out += QStringLiteral("%1").arg(b, 2, 16, QLatin1Char('0'));
    return out;
}

// Opens a tracker's node and says what its feature reports hold.
void describeTracker(const std::string& node) {
    std::string why;
    auto transport = hid::openHidraw("/dev/" + node, why);
    if (!transport) {
        const bool denied = errno == EACCES;
        say(QStringLiteral("  may be opened: no (%1)").arg(QString::fromStdString(why)));
        if (denied) {
            const std::string command = trackerPermissionCommand();
            say(command.empty()
                    ? QStringLiteral("  a head tracker is there but Quelmo may not read it: "
                                     "connect the headset again")
                    : QStringLiteral("  a head tracker is there but Quelmo may not read it; run "
                                     "once: %1")
                          .arg(QString::fromStdString(command)));
        }
        return;
    }
    say(QStringLiteral("  may be opened: yes"));
    std::vector<unsigned char> bytes;
    if (!transport->descriptor(bytes, why))
        return;
    const auto descriptor = hid::parseDescriptor(bytes.data(), bytes.size(), why);
    const auto layout = descriptor ? hid::findHeadTracker(*descriptor, why) : std::nullopt;
    if (!layout)
        return;
    std::vector<unsigned char> info(
        descriptor->reportBytes(hid::ReportKind::feature, layout->description.reportId));
    info[0] = layout->description.reportId;
    if (!transport->getFeature(info, why)) {
        say(QStringLiteral("  description: unreadable (%1)").arg(QString::fromStdString(why)));
        return;
    }
    const std::string text = hid::readDescription(*layout, info.data(), info.size());
    say(QStringLiteral("  description: \"%1\" (%2)")
            .arg(QString::fromStdString(text), hid::isTrackerDescription(text)
                                                   ? QStringLiteral("the standard's")
                                                   : QStringLiteral("NOT the standard's")));
    if (layout->uniqueId && layout->uniqueId->reportId == layout->description.reportId) {
        std::vector<unsigned char> id;
        for (std::size_t i = 0; i < layout->uniqueId->count; ++i)
            id.push_back(static_cast<unsigned char>(
                hid::readField(*layout->uniqueId, i, info.data(), info.size(), true).value_or(0)));
        say(QStringLiteral("  unique id: %1").arg(hex(id)));
    }
}

} // namespace

bool surveyHeadTrackers() {
    if (!qEnvironmentVariableIsEmpty("QUELMO_HID_TRACKER")) {
        say(QStringLiteral("head tracker: the test socket %1 (QUELMO_HID_TRACKER)")
                .arg(qEnvironmentVariable("QUELMO_HID_TRACKER")));
        return true;
    }
    const std::vector<std::string> nodes = hidrawNodes(kSysfs);
    if (nodes.empty()) {
        say(QStringLiteral("hidraw devices: none (no head tracker)"));
        return false;
    }
    bool any = false;
    for (const std::string& node : nodes) {
        const std::vector<unsigned char> bytes = hidDescriptorOf(kSysfs, node);
        std::string why;
        const bool tracker = hid::headTrackerIn(bytes.data(), bytes.size(), why).has_value();
        say(QStringLiteral("%1 (%2): %3")
                .arg(QString::fromStdString(node),
                     QString::fromStdString(hidDeviceName(kSysfs, node)),
                     tracker ? QStringLiteral("a head tracker")
                             : QStringLiteral("not a head tracker: %1")
                                   .arg(QString::fromStdString(why))));
        if (tracker) {
            any = true;
            describeTracker(node);
        }
    }
    return any;
}

int listenToHeadTracker(int seconds) {
    const char* door = std::getenv("QUELMO_HID_TRACKER");
    HidTrackerSource source(door != nullptr && *door != '\0' ? std::optional<std::string>(door)
                                                             : std::nullopt);
    QElapsedTimer clock;
    clock.start();
    probe::Range headings;
    std::uint64_t samples = 0;
    source.onMessage = [&](const wire::Message& m, double) {
        say(QStringLiteral("%1 s  %2")
                .arg(clock.nsecsElapsed() / 1e9, 6, 'f', 3)
                .arg(m.kind == wire::Kind::connected
                         ? QStringLiteral("switched on: reports go to Quelmo")
                         : QStringLiteral("switched off, or gone")));
    };
    // Counted on the reading thread, read once it has ended.
    source.onThreadSample = [&](const wire::Message& m, double) {
        ++samples;
        headings.add(headingDegrees(m.motion));
        return true;
    };
    say(QStringLiteral("listening for %1 s to the head tracker").arg(seconds));
    source.start();
    QTimer::singleShot(seconds * 1000, Qt::PreciseTimer, QCoreApplication::instance(),
                       &QCoreApplication::quit);
    QCoreApplication::exec();
    const double elapsed = std::max(0.001, clock.nsecsElapsed() / 1e9);
    say(QStringLiteral("tracker: %1").arg(QString::fromStdString(source.name())));
    source.stop();
    say(QStringLiteral("reports per second: %1; heading %2")
            .arg(QString::number(samples / elapsed, 'f', 1), headings.text(1, "degrees")));
    if (!source.error().empty())
        say(QStringLiteral("last problem: %1").arg(QString::fromStdString(source.error())));
    return samples > 0 ? 0 : 1;
}

} // namespace quelmo
