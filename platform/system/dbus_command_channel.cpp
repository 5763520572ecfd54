// SPDX-License-Identifier: MIT
#include "platform/system/dbus_command_channel.h"

#include <QDBusMessage>
#include <QMetaType>
#include <QVariant>

namespace quelmo {

DbusCommandChannel::DbusCommandChannel(QDBusConnection bus, QObject* parent)
    : QObject(parent), bus_(std::move(bus)) {}

void DbusCommandChannel::listen(std::function<void(const std::string&)> handler) {
    handler_ = std::move(handler);
    if (listening_ || !bus_.isConnected()) {
        return;
    }
    // Only signals with exactly one text argument are delivered.
    listening_ = bus_.connect(QString(), QString::fromLatin1(kPath),
                              QString::fromLatin1(kInterface), QString::fromLatin1(kMember),
                              QStringLiteral("s"), this, SLOT(onWord(QString)));
}

void DbusCommandChannel::onWord(const QString& word) {
    if (handler_) {
        handler_(word.toStdString());
    }
}

bool DbusCommandChannel::send(const QString& word, QDBusConnection bus) {
    if (!bus.isConnected()) {
        return false;
    }
    QDBusMessage signal = QDBusMessage::createSignal(
        QString::fromLatin1(kPath), QString::fromLatin1(kInterface), QString::fromLatin1(kMember));
    signal << word;
    return bus.send(signal);
}

} // namespace quelmo
