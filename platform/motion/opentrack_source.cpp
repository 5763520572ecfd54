// SPDX-License-Identifier: MIT
#include "platform/motion/opentrack_source.h"

#include "platform/motion/datagram_receiver.h"
#include "platform/motion/message_offer.h"
#include "platform/motion/opentrack_wire.h"

#include <QSettings>

#include <arpa/inet.h>
#include <cerrno>
#include <cmath>
#include <cstring>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

namespace quelmo {

OpentrackSource::OpentrackSource(int port) : port_(port) {}

OpentrackSource::~OpentrackSource() = default;

bool OpentrackSource::listen() {
    if (receiver_)
        return true;
    if (port_ <= 0 || port_ > 65535) {
        error_ = "opentrack input is off";
        return false;
    }
    const int fd = ::socket(AF_INET, SOCK_DGRAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (fd < 0) {
        error_ = std::string("cannot make a socket: ") + std::strerror(errno);
        return false;
    }
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_port = htons(static_cast<std::uint16_t>(port_));
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (::bind(fd, reinterpret_cast<const sockaddr*>(&addr), sizeof addr) != 0) {
        error_ =
            "cannot listen on 127.0.0.1:" + std::to_string(port_) + ": " + std::strerror(errno);
        ::close(fd);
        return false;
    }
    error_.clear();
    receiver_ = std::make_unique<DatagramReceiver>(
        fd, [this](const unsigned char* data, std::size_t size) { handle(data, size); });
    receiver_->start();
    return true;
}

void OpentrackSource::handle(const unsigned char* data, std::size_t size) {
    opentrack::Pose pose;
    if (size > DatagramReceiver::kBufferSize || !opentrack::decode(data, size, pose)) {
        dropped_.fetch_add(1, std::memory_order_relaxed);
        return;
    }
    const auto now = Clock::now();
    const bool afterSilence = !lastPacket_ || now - *lastPacket_ >= kSilence;
    lastPacket_ = now;
    if (!onMessage)
        return;
    if (afterSilence) {
        wire::Message connected;
        connected.kind = wire::Kind::connected;
        offer(*receiver_, onMessage, connected);
    }
    // A rotation of `heading` degrees about z: the quaternion (0, 0, sin h/2, cos h/2).
    const double half = opentrack::headingOf(pose) * 3.141592653589793 / 360.0;
    wire::Message sample;
    sample.kind = wire::Kind::sample;
    sample.motion = DeviceMotion{0, 0, std::sin(half), std::cos(half), 0, 0, -1, 0, 0, 0};
    offer(*receiver_, onMessage, sample);
}

int configuredOpentrackPort(const std::optional<std::string>& settingsFile) {
    const auto read = [](QSettings& settings) {
        const QString text =
            settings.value(QStringLiteral("Motion/opentrackPort")).toString().trimmed();
        bool ok = false;
        const int port = text.toInt(&ok);
        return ok && port > 0 && port <= 65535 ? port : 0;
    };
    if (settingsFile) {
        QSettings settings(QString::fromStdString(*settingsFile), QSettings::IniFormat);
        return read(settings);
    }
    QSettings settings(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("Quelmo"),
                       QStringLiteral("Quelmo"));
    return read(settings);
}

} // namespace quelmo
