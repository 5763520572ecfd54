// SPDX-License-Identifier: MIT
// The headphone probe: Bluetooth as BlueZ shows it, then a session with the
// earbuds through the very source Quelmo uses, every step and frame timed.
#include "program/headphone_probe.h"

#include "platform/instance/single_instance.h"
#include "platform/motion/bluez_discovery.h"
#include "platform/motion/bluez_types.h"
#include "platform/motion/earbuds_capture.h"
#include "platform/motion/earbuds_source.h"
#include "platform/motion/motion_paths.h"
#include "platform/signal/headphone_signal.h"
#include "program/probe_output.h"
#include "program/tracker_probe.h"

#include <QCoreApplication>
#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusObjectPath>
#include <QDateTime>
#include <QElapsedTimer>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <optional>

namespace quelmo {

namespace {

using probe::say;

QString modelOf(const QVariantMap& device) {
    const QByteArray modalias = device.value(QStringLiteral("Modalias")).toString().toLatin1();
    std::uint16_t product = 0;
    if (!earbuds::isAppleModalias(modalias.constData(), product))
        return modalias.isEmpty() ? QStringLiteral("no Modalias") : QString::fromLatin1(modalias);
    const char* model = earbuds::modelName(product);
    return model != nullptr
               ? QString::fromLatin1(model)
               : QStringLiteral("an Apple product 0x%1").arg(product, 4, 16, QLatin1Char('0'));
}

QString verdictOf(const QVariantMap& device) {
    const QStringList uuids = device.value(QStringLiteral("UUIDs")).toStringList();
    if (uuids.contains(QString::fromLatin1(earbuds::kServiceUuid), Qt::CaseInsensitive))
        return QStringLiteral("earbuds: lists the AirPods service UUID");
    if (looksLikeEarbuds(device))
        return QStringLiteral(
            "earbuds: Apple vendor id with a known AirPods model or a headphone icon");
    QByteArray modalias = device.value(QStringLiteral("Modalias")).toString().toLatin1();
    std::uint16_t product = 0;
    if (earbuds::isAppleModalias(modalias.constData(), product))
        return QStringLiteral("not earbuds: an Apple device that is no known AirPods model");
    return QStringLiteral("not earbuds: no AirPods service UUID, not Apple's vendor id");
}

// Bluetooth as BlueZ shows it; the earbuds to talk to, if any.
std::optional<EarbudsTarget> surveyBluetooth() {
    registerBluezTypes();
    QDBusConnection bus = QDBusConnection::systemBus();
    if (!bus.isConnected()) {
        say(QStringLiteral("Bluetooth: no (no system bus: %1)").arg(bus.lastError().message()));
        return std::nullopt;
    }
    QDBusMessage call = QDBusMessage::createMethodCall(
        QStringLiteral("org.bluez"), QStringLiteral("/"),
        QStringLiteral("org.freedesktop.DBus.ObjectManager"), QStringLiteral("GetManagedObjects"));
    const QDBusMessage reply = bus.call(call, QDBus::Block, 3000);
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty()) {
        say(QStringLiteral("Bluetooth: no (BlueZ does not answer on the system bus: %1)")
                .arg(reply.errorMessage()));
        return std::nullopt;
    }
    const auto objects = qdbus_cast<BluezObjects>(reply.arguments().first().value<QDBusArgument>());
    int adapters = 0;
    std::optional<EarbudsTarget> target;
    for (auto it = objects.cbegin(); it != objects.cend(); ++it) {
        const auto adapter = it.value().constFind(QStringLiteral("org.bluez.Adapter1"));
        if (adapter == it.value().cend())
            continue;
        ++adapters;
        say(QStringLiteral("Bluetooth adapter %1: %2")
                .arg(it.key().path(), adapter->value(QStringLiteral("Powered")).toBool()
                                          ? QStringLiteral("powered")
                                          : QStringLiteral("NOT powered (turn Bluetooth on)")));
    }
    if (adapters == 0)
        say(QStringLiteral("Bluetooth: BlueZ runs, but there is no adapter"));
    int connected = 0;
    for (auto it = objects.cbegin(); it != objects.cend(); ++it) {
        const auto found = it.value().constFind(QStringLiteral("org.bluez.Device1"));
        if (found == it.value().cend() || !found->value(QStringLiteral("Connected")).toBool())
            continue;
        ++connected;
        const QVariantMap& device = *found;
        const QString address = device.value(QStringLiteral("Address")).toString();
        say(QStringLiteral("connected: %1, %2, model %3: %4")
                .arg(earbudsDisplayName(device), address, modelOf(device), verdictOf(device)));
        if (!target && looksLikeEarbuds(device))
            target = EarbudsTarget{earbudsDisplayName(device).toStdString(), address.toStdString(),
                                   false};
    }
    if (connected == 0)
        say(QStringLiteral("connected devices: none (pair and connect your earbuds first)"));
    return target;
}

// Read as the app reads it, so the probe shows what Quelmo measures.
void reportSignal(const std::string& address) {
    const SignalReadings readings = HeadphoneSignal::defaultReading()(-1);
    const auto it = readings.find(address);
    if (it != readings.end())
        say(QStringLiteral("signal: %1 dBm").arg(it->second, 0, 'f', 0));
    else
        say(QStringLiteral("signal: no reading for these earbuds (%1 device(s) read)")
                .arg(readings.size()));
}

} // namespace

int probeHeadphones(int argc, char** argv, const ProbeOptions& options) {
    QCoreApplication app(argc, argv);
    const int seconds = std::clamp(options.seconds, 1, 3600);
    say(QStringLiteral("Quelmo %1 headphone probe, %2")
            .arg(QStringLiteral(QUELMO_VERSION_STRING),
                 QDateTime::currentDateTimeUtc().toString(Qt::ISODate)));
    if (SingleInstance::isRunning(SingleInstance::defaultFolder()))
        say(QStringLiteral(
            "note: Quelmo is running and may hold the earbuds' channel; earbuds talk to one "
            "client at a time, so quit Quelmo for a clear answer"));

    std::optional<EarbudsTarget> target;
    const QByteArray door = qgetenv("QUELMO_EARBUDS_SOCKET");
    if (!door.isEmpty()) {
        say(QStringLiteral("earbuds: the test socket %1 (QUELMO_EARBUDS_SOCKET)")
                .arg(QString::fromLocal8Bit(door)));
        target = EarbudsTarget{"earbuds on the test socket", door.toStdString(), true};
    } else {
        target = surveyBluetooth();
    }
    const bool tracker = surveyHeadTrackers();
    if (!target && tracker)
        return listenToHeadTracker(seconds);
    if (!target) {
        say(QStringLiteral("earbuds: none to talk to"));
        return 1;
    }

    std::ofstream capture;
    if (!options.capturePath.empty()) {
        capture.open(options.capturePath, std::ios::trunc);
        if (!capture) {
            say(QStringLiteral("capture: cannot write %1")
                    .arg(QString::fromStdString(options.capturePath)));
            return 2;
        }
        // Only the earbuds' own frames: no address, no name.
        capture << "# Quelmo earbuds capture: every frame received (<) and sent (>)\n";
    }

    EarbudsSource source(*target);
    source.setMemoryPath(MotionPaths::fromEnvironment().earbudsMemoryPath());
    QElapsedTimer clock;
    clock.start();
    const auto at = [&] { return clock.nsecsElapsed() / 1e9; };
    probe::Range headings, verticals;
    std::uint64_t samples = 0;
    source.onNote = [&](const std::string& line) {
        say(QStringLiteral("%1 s  %2").arg(at(), 6, 'f', 3).arg(QString::fromStdString(line)));
    };
    source.onFrame = [&](bool sent, const unsigned char* data, std::size_t size) {
        if (capture.is_open())
            capture << earbuds::captureLine(at(), sent, data, size) << '\n';
    };
    source.onMessage = [&](const wire::Message& m, double) {
        if (m.kind == wire::Kind::sample) {
            ++samples;
            headings.add(headingDegrees(m.motion));
            verticals.add(verticalAcceleration(m.motion));
        } else if (m.kind == wire::Kind::connected || m.kind == wire::Kind::disconnected) {
            say(QStringLiteral("%1 s  %2")
                    .arg(at(), 6, 'f', 3)
                    .arg(m.kind == wire::Kind::connected
                             ? QStringLiteral("worn: head motion goes to Quelmo")
                             : QStringLiteral("not worn (or the channel closed)")));
        }
    };
    say(QStringLiteral("listening for %1 s to %2")
            .arg(seconds)
            .arg(QString::fromStdString(target->name)));
    source.start();
    QTimer::singleShot(seconds * 1000, Qt::PreciseTimer, &app, &QCoreApplication::quit);
    QCoreApplication::exec();
    source.stop();

    const double elapsed = std::max(0.001, at());
    const EarbudsCounts counts = source.counts();
    const auto rate = [&](std::uint64_t n) { return QString::number(n / elapsed, 'f', 1); };
    const int service = source.handshake().service();
    say(QStringLiteral("start frame that streamed: %1")
            .arg(counts.samples > 0 && service != 0 ? QStringLiteral("service %1").arg(service)
                                                    : QStringLiteral("none")));
    say(QStringLiteral("frames per second: samples %1 (odd %2), ear detection %3, battery %4, "
                       "other sensor-opcode messages %5, other %6, empty %7")
            .arg(rate(counts.samples), rate(counts.odd), rate(counts.earDetection),
                 rate(counts.battery), rate(counts.otherSensor), rate(counts.other),
                 rate(counts.empty)));
    say(QStringLiteral("samples used: %1; heading %2; vertical acceleration %3")
            .arg(samples)
            .arg(headings.text(1, "degrees"), verticals.text(3, "g")));
    if (!source.error().empty())
        say(QStringLiteral("last problem: %1").arg(QString::fromStdString(source.error())));
    if (!target->unixSocket)
        reportSignal(target->address);
    if (capture.is_open())
        say(QStringLiteral("capture written to %1 (the earbuds' frames only)")
                .arg(QString::fromStdString(options.capturePath)));
    return samples > 0 ? 0 : 1;
}

} // namespace quelmo
