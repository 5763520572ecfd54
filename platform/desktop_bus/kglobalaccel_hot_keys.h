// SPDX-License-Identifier: MIT
#pragma once

#include "app/sensor_ports.h"

#include <QDBusConnection>
#include <QObject>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>

namespace quelmo {

// The hot key through KDE Plasma's global shortcut service (kglobalaccel) on
// the session bus, the way KDE applications register theirs: the action is
// registered under Quelmo's name with the chord as its default, so it shows
// (and can be changed) in System Settings' Shortcuts, and each press arrives
// as a globalShortcutPressed signal. Works in Wayland sessions, where no
// program can grab keys itself.
//
// Quelmo has one hot key; its action is "recenter", shown as "I'm Facing the
// Screen". The chord goes to the service as Qt writes it (kglobalaccel speaks
// Qt's key encoding). Registration is sent without waiting for answers (the
// service may still be starting); a chord without a key is refused.
class KGlobalAccelHotKeys : public QObject, public HotKeyPort {
    Q_OBJECT

  public:
    static constexpr const char* kService = "org.kde.kglobalaccel";
    static constexpr const char* kComponent = "app.quelmo.Quelmo";
    static constexpr const char* kAction = "recenter";

    explicit KGlobalAccelHotKeys(QDBusConnection bus = QDBusConnection::sessionBus(),
                                 QObject* parent = nullptr);
    ~KGlobalAccelHotKeys() override;

    // Whether the service runs on `bus` or can be started there.
    static bool isOffered(const QDBusConnection& bus);
    std::unique_ptr<HotKeyRegistration> registerHotKey(QKeyCombination chord,
                                                       std::function<void()> action) override;

  private slots:
    void onPressed(const QString& component, const QString& action, qlonglong timestamp);

  private:
    class Registration;
    QStringList actionId() const;
    void send(const QString& method, const QList<QVariant>& arguments);

    QDBusConnection bus_;
    std::function<void()> action_;
};

} // namespace quelmo
