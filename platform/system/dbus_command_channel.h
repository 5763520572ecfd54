// SPDX-License-Identifier: MIT
#pragma once

#include "app/system_ports.h"

#include <QDBusConnection>
#include <QObject>
#include <QString>

#include <functional>
#include <string>

namespace quelmo {

// The command channel on the session bus: a broadcast signal that carries one
// command word and that nobody answers. Any process of the user can send it:
//   dbus-send --session --type=signal /app/quelmo app.quelmo.mac.command string:recenter
class DbusCommandChannel : public QObject, public CommandChannelPort {
    Q_OBJECT

  public:
    static constexpr const char* kPath = "/app/quelmo";
    static constexpr const char* kInterface = "app.quelmo.mac";
    static constexpr const char* kMember = "command";

    explicit DbusCommandChannel(QDBusConnection bus = QDBusConnection::sessionBus(),
                                QObject* parent = nullptr);

    // Starts listening; without a session bus nothing ever arrives.
    void listen(std::function<void(const std::string& word)> handler) override;
    bool isListening() const { return listening_; }

    // Broadcasts `word` on `bus`. False when there is no bus to send on.
    static bool send(const QString& word, QDBusConnection bus = QDBusConnection::sessionBus());

  private slots:
    void onWord(const QString& word);

  private:
    QDBusConnection bus_;
    std::function<void(const std::string&)> handler_;
    bool listening_ = false;
};

} // namespace quelmo
