// SPDX-License-Identifier: MIT
#include "platform/tray/status_notifier_item.h"

#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusPendingCall>
#include <QDBusVariant>
#include <QtEndian>

#include <unistd.h>

namespace quelmo {

namespace {

const QString kWatcher = QStringLiteral("org.kde.StatusNotifierWatcher");
const QString kProperties = QStringLiteral("org.freedesktop.DBus.Properties");
// Any name ending in a running number will do; this is the customary one.
int nextItemNumber = 1;

const char* kIntrospection = R"xml(  <interface name="org.kde.StatusNotifierItem">
    <property name="Category" type="s" access="read"/>
    <property name="Id" type="s" access="read"/>
    <property name="Title" type="s" access="read"/>
    <property name="Status" type="s" access="read"/>
    <property name="WindowId" type="i" access="read"/>
    <property name="IconName" type="s" access="read"/>
    <property name="IconThemePath" type="s" access="read"/>
    <property name="IconPixmap" type="a(iiay)" access="read"/>
    <property name="OverlayIconName" type="s" access="read"/>
    <property name="OverlayIconPixmap" type="a(iiay)" access="read"/>
    <property name="AttentionIconName" type="s" access="read"/>
    <property name="AttentionIconPixmap" type="a(iiay)" access="read"/>
    <property name="AttentionMovieName" type="s" access="read"/>
    <property name="ToolTip" type="(sa(iiay)ss)" access="read"/>
    <property name="ItemIsMenu" type="b" access="read"/>
    <property name="Menu" type="o" access="read"/>
    <method name="ContextMenu"><arg name="x" type="i" direction="in"/><arg name="y" type="i" direction="in"/></method>
    <method name="Activate"><arg name="x" type="i" direction="in"/><arg name="y" type="i" direction="in"/></method>
    <method name="SecondaryActivate"><arg name="x" type="i" direction="in"/><arg name="y" type="i" direction="in"/></method>
    <method name="Scroll"><arg name="delta" type="i" direction="in"/><arg name="orientation" type="s" direction="in"/></method>
    <signal name="NewTitle"/>
    <signal name="NewIcon"/>
    <signal name="NewAttentionIcon"/>
    <signal name="NewOverlayIcon"/>
    <signal name="NewToolTip"/>
    <signal name="NewStatus"><arg name="status" type="s"/></signal>
    <signal name="NewIconThemePath"><arg name="icon_theme_path" type="s"/></signal>
    <signal name="NewMenu"/>
  </interface>
)xml";

} // namespace

SniPixmap sniPixmap(const QImage& image) {
    const QImage argb = image.convertToFormat(QImage::Format_ARGB32);
    SniPixmap pixmap{argb.width(), argb.height(), {}};
    pixmap.argb.resize(static_cast<qsizetype>(argb.width()) * argb.height() * 4);
    auto* out = reinterpret_cast<uchar*>(pixmap.argb.data());
    for (int y = 0; y < argb.height(); ++y) {
        const auto* line = reinterpret_cast<const quint32*>(argb.constScanLine(y));
        for (int x = 0; x < argb.width(); ++x) {
            qToBigEndian(line[x], out);
            out += 4;
        }
    }
    return pixmap;
}

StatusNotifierItem::StatusNotifierItem(QDBusConnection bus, QString id, QString menuPath,
                                       QObject* parent)
    : QDBusVirtualObject(parent), bus_(std::move(bus)), id_(std::move(id)),
      menuPath_(std::move(menuPath)), service_(QStringLiteral("org.kde.StatusNotifierItem-%1-%2")
                                                   .arg(::getpid())
                                                   .arg(nextItemNumber++)) {
    registerDbusTrayTypes();
}

StatusNotifierItem::~StatusNotifierItem() {
    if (started_) {
        bus_.unregisterObject(QString::fromLatin1(kObjectPath));
        bus_.unregisterService(service_);
    }
}

bool StatusNotifierItem::start() {
    if (started_) {
        return true;
    }
    if (!bus_.isConnected() || !bus_.registerService(service_)) {
        return false;
    }
    if (!bus_.registerVirtualObject(QString::fromLatin1(kObjectPath), this,
                                    QDBusConnection::SingleNode)) {
        bus_.unregisterService(service_);
        return false;
    }
    started_ = true;
    // A panel restarted (or started after us) brings a new watcher: tell it.
    watcher_.setConnection(bus_);
    watcher_.setWatchMode(QDBusServiceWatcher::WatchForRegistration);
    watcher_.addWatchedService(kWatcher);
    connect(&watcher_, &QDBusServiceWatcher::serviceRegistered, this,
            [this] { registerWithWatcher(); });
    registerWithWatcher();
    return true;
}

void StatusNotifierItem::registerWithWatcher() {
    QDBusMessage call =
        QDBusMessage::createMethodCall(kWatcher, QStringLiteral("/StatusNotifierWatcher"), kWatcher,
                                       QStringLiteral("RegisterStatusNotifierItem"));
    call << service_;
    bus_.asyncCall(call);
}

void StatusNotifierItem::notify(const char* signal, const QVariantList& args) {
    if (!started_) {
        return;
    }
    QDBusMessage message =
        QDBusMessage::createSignal(QString::fromLatin1(kObjectPath),
                                   QString::fromLatin1(kInterface), QString::fromLatin1(signal));
    message.setArguments(args);
    bus_.send(message);
}

void StatusNotifierItem::setIcon(const QString& name, const QString& themePath,
                                 const QList<QImage>& pictures) {
    SniPixmapList pixmaps;
    for (const QImage& picture : pictures) {
        pixmaps.append(sniPixmap(picture));
    }
    const bool pathChanged = themePath != iconThemePath_;
    iconName_ = name;
    iconThemePath_ = themePath;
    pixmaps_ = pixmaps;
    if (pathChanged) {
        notify("NewIconThemePath", {themePath});
    }
    notify("NewIcon");
}

void StatusNotifierItem::setToolTip(const QString& title, const QString& text) {
    if (title == toolTipTitle_ && text == toolTipText_) {
        return;
    }
    toolTipTitle_ = title;
    toolTipText_ = text;
    notify("NewToolTip");
}

QVariantMap StatusNotifierItem::properties() const {
    QVariantMap all;
    all.insert(QStringLiteral("Category"), QStringLiteral("ApplicationStatus"));
    all.insert(QStringLiteral("Id"), id_);
    all.insert(QStringLiteral("Title"), QStringLiteral("Quelmo"));
    all.insert(QStringLiteral("Status"), QStringLiteral("Active"));
    all.insert(QStringLiteral("WindowId"), 0);
    all.insert(QStringLiteral("IconName"), iconName_);
    all.insert(QStringLiteral("IconThemePath"), iconThemePath_);
    all.insert(QStringLiteral("IconPixmap"), QVariant::fromValue(pixmaps_));
    all.insert(QStringLiteral("OverlayIconName"), QString());
    all.insert(QStringLiteral("OverlayIconPixmap"), QVariant::fromValue(SniPixmapList{}));
    all.insert(QStringLiteral("AttentionIconName"), QString());
    all.insert(QStringLiteral("AttentionIconPixmap"), QVariant::fromValue(SniPixmapList{}));
    all.insert(QStringLiteral("AttentionMovieName"), QString());
    all.insert(QStringLiteral("ToolTip"),
               QVariant::fromValue(SniToolTip{iconName_, {}, toolTipTitle_, toolTipText_}));
    all.insert(QStringLiteral("ItemIsMenu"), true);
    all.insert(QStringLiteral("Menu"), QVariant::fromValue(QDBusObjectPath(menuPath_)));
    return all;
}

QString StatusNotifierItem::introspect(const QString& /*path*/) const {
    return QString::fromLatin1(kIntrospection);
}

bool StatusNotifierItem::handleMessage(const QDBusMessage& message,
                                       const QDBusConnection& connection) {
    if (message.type() != QDBusMessage::MethodCallMessage) {
        return false;
    }
    const QList<QVariant> args = message.arguments();
    const QString member = message.member();
    if (message.interface() == kProperties) {
        const QVariantMap all = properties();
        if (member == QLatin1String("GetAll")) {
            connection.send(message.createReply(QVariant::fromValue(all)));
        } else if (member == QLatin1String("Get") && args.size() == 2 &&
                   all.contains(args.at(1).toString())) {
            connection.send(message.createReply(
                QVariant::fromValue(QDBusVariant(all.value(args.at(1).toString())))));
        } else {
            connection.send(message.createErrorReply(QDBusError::InvalidArgs,
                                                     QStringLiteral("No such property")));
        }
        return true;
    }
    if (!message.interface().isEmpty() && message.interface() != QLatin1String(kInterface)) {
        return false;
    }
    if ((member == QLatin1String("Activate") || member == QLatin1String("ContextMenu") ||
         member == QLatin1String("SecondaryActivate")) &&
        args.size() == 2) {
        connection.send(message.createReply());
        if (activated) {
            activated(args.at(0).toInt(), args.at(1).toInt());
        }
        return true;
    }
    if (member == QLatin1String("Scroll") || member == QLatin1String("ProvideXdgActivationToken")) {
        connection.send(message.createReply());
        return true;
    }
    connection.send(message.createErrorReply(QDBusError::UnknownMethod,
                                             QStringLiteral("No method %1 here").arg(member)));
    return true;
}

} // namespace quelmo
