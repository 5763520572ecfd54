// SPDX-License-Identifier: MIT
#pragma once

#include <QByteArray>
#include <QDBusArgument>
#include <QList>
#include <QMetaType>
#include <QString>
#include <QVariantMap>

namespace quelmo {

// One menu entry as the dbusmenu interface sends it: (ia{sv}av), the
// children as variants holding the same structure.
struct DbusMenuLayoutItem {
    int id = 0;
    QVariantMap properties;
    QList<DbusMenuLayoutItem> children;
};

// One entry's properties: (ia{sv}).
struct DbusMenuItemProperties {
    int id = 0;
    QVariantMap properties;
};
using DbusMenuItemPropertiesList = QList<DbusMenuItemProperties>;

// Names of properties that went back to their defaults: (ias).
struct DbusMenuRemovedProperties {
    int id = 0;
    QStringList names;
};
using DbusMenuRemovedPropertiesList = QList<DbusMenuRemovedProperties>;

// A status notifier picture: (iiay), ARGB32 in network byte order.
struct SniPixmap {
    int width = 0;
    int height = 0;
    QByteArray argb;
};
using SniPixmapList = QList<SniPixmap>;

// A status notifier tool tip: (sa(iiay)ss).
struct SniToolTip {
    QString iconName;
    SniPixmapList pixmaps;
    QString title;
    QString description;
};

// Makes the types above known to Qt's D-Bus marshalling; safe to repeat.
void registerDbusTrayTypes();

QDBusArgument& operator<<(QDBusArgument& arg, const DbusMenuLayoutItem& item);
const QDBusArgument& operator>>(const QDBusArgument& arg, DbusMenuLayoutItem& item);
QDBusArgument& operator<<(QDBusArgument& arg, const DbusMenuItemProperties& item);
const QDBusArgument& operator>>(const QDBusArgument& arg, DbusMenuItemProperties& item);
QDBusArgument& operator<<(QDBusArgument& arg, const DbusMenuRemovedProperties& item);
const QDBusArgument& operator>>(const QDBusArgument& arg, DbusMenuRemovedProperties& item);
QDBusArgument& operator<<(QDBusArgument& arg, const SniPixmap& pixmap);
const QDBusArgument& operator>>(const QDBusArgument& arg, SniPixmap& pixmap);
QDBusArgument& operator<<(QDBusArgument& arg, const SniToolTip& tip);
const QDBusArgument& operator>>(const QDBusArgument& arg, SniToolTip& tip);

} // namespace quelmo

Q_DECLARE_METATYPE(quelmo::DbusMenuLayoutItem)
Q_DECLARE_METATYPE(quelmo::DbusMenuItemProperties)
Q_DECLARE_METATYPE(quelmo::DbusMenuItemPropertiesList)
Q_DECLARE_METATYPE(quelmo::DbusMenuRemovedProperties)
Q_DECLARE_METATYPE(quelmo::DbusMenuRemovedPropertiesList)
Q_DECLARE_METATYPE(quelmo::SniPixmap)
Q_DECLARE_METATYPE(quelmo::SniPixmapList)
Q_DECLARE_METATYPE(quelmo::SniToolTip)
