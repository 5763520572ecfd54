// SPDX-License-Identifier: MIT
#pragma once

#include "platform/tray/dbus_tray_types.h"

#include <QDBusConnection>
#include <QDBusVirtualObject>
#include <QList>
#include <QPointer>
#include <QTimer>

#include <functional>

class QAction;

namespace quelmo {

// Publishes a fixed list of menu entries over the com.canonical.dbusmenu
// interface, for status notifier hosts (panels) that draw the menu
// themselves. Every change of an entry's text, visibility or enabling is
// published as it happens: the layout's revision moves at once and the
// panel hears LayoutUpdated on the next turn of the event loop, so the menu
// is right before it opens rather than only once it is open. Entry ids are
// the entries' places in the list, from 1; the root is 0. A click runs the
// entry's action on the next turn of the event loop. Main thread only.
class DbusMenuExporter : public QDBusVirtualObject {
  public:
    DbusMenuExporter(QDBusConnection bus, QString path, QList<QAction*> actions,
                     std::function<void()> aboutToShow, QObject* parent = nullptr);
    ~DbusMenuExporter() override;

    bool isRegistered() const { return registered_; }
    const QString& path() const { return path_; }
    uint revision() const { return revision_; }
    // What GetLayout answers for the whole menu.
    DbusMenuLayoutItem layout() const;
    QVariantMap propertiesOf(int id) const;

    QString introspect(const QString& path) const override;
    bool handleMessage(const QDBusMessage& message, const QDBusConnection& connection) override;

  private:
    void entryChanged();
    void sendLayoutUpdated();
    QAction* entry(int id) const;
    QDBusMessage answer(const QDBusMessage& message);
    QDBusMessage propertiesCall(const QDBusMessage& message);
    void event(int id, const QString& eventId);

    QDBusConnection bus_;
    QString path_;
    QList<QPointer<QAction>> actions_;
    std::function<void()> aboutToShow_;
    uint revision_ = 1;
    bool registered_ = false;
    QTimer announce_;
};

} // namespace quelmo
