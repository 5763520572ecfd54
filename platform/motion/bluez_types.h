// SPDX-License-Identifier: MIT
#pragma once

// The shapes of BlueZ's object manager replies, for Qt D-Bus.

#include <QDBusMetaType>
#include <QDBusObjectPath>
#include <QMap>
#include <QString>
#include <QVariantMap>

using BluezInterfaces = QMap<QString, QVariantMap>;
using BluezObjects = QMap<QDBusObjectPath, BluezInterfaces>;
Q_DECLARE_METATYPE(BluezInterfaces)
Q_DECLARE_METATYPE(BluezObjects)

namespace quelmo {

// Registers both with Qt D-Bus, once.
inline void registerBluezTypes() {
    static const bool once = [] {
        qDBusRegisterMetaType<BluezInterfaces>();
        qDBusRegisterMetaType<BluezObjects>();
        return true;
    }();
    (void)once;
}

} // namespace quelmo
