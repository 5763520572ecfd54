// SPDX-License-Identifier: MIT
#include "platform/tray/dbus_menu_exporter.h"

#include <QAction>
#include <QDBusMessage>
#include <QDBusVariant>

namespace quelmo {

namespace {

const QString kMenuInterface = QStringLiteral("com.canonical.dbusmenu");
const QString kProperties = QStringLiteral("org.freedesktop.DBus.Properties");

// dbusmenu marks mnemonics with "_" where Qt uses "&".
QString menuLabel(const QString& text) {
    QString label;
    for (int i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c == QLatin1Char('_')) {
            label += QStringLiteral("__");
        } else if (c == QLatin1Char('&')) {
            if (i + 1 < text.size() && text.at(i + 1) == QLatin1Char('&')) {
                label += QLatin1Char('&');
                ++i;
            } else {
                label += QLatin1Char('_');
            }
        } else {
            label += c;
        }
    }
    return label;
}

const char* kIntrospection = R"xml(  <interface name="com.canonical.dbusmenu">
    <property name="Version" type="u" access="read"/>
    <property name="TextDirection" type="s" access="read"/>
    <property name="Status" type="s" access="read"/>
    <property name="IconThemePath" type="as" access="read"/>
    <method name="GetLayout">
      <arg type="i" name="parentId" direction="in"/>
      <arg type="i" name="recursionDepth" direction="in"/>
      <arg type="as" name="propertyNames" direction="in"/>
      <arg type="u" name="revision" direction="out"/>
      <arg type="(ia{sv}av)" name="layout" direction="out"/>
    </method>
    <method name="GetGroupProperties">
      <arg type="ai" name="ids" direction="in"/>
      <arg type="as" name="propertyNames" direction="in"/>
      <arg type="a(ia{sv})" name="properties" direction="out"/>
    </method>
    <method name="GetProperty">
      <arg type="i" name="id" direction="in"/>
      <arg type="s" name="name" direction="in"/>
      <arg type="v" name="value" direction="out"/>
    </method>
    <method name="Event">
      <arg type="i" name="id" direction="in"/>
      <arg type="s" name="eventId" direction="in"/>
      <arg type="v" name="data" direction="in"/>
      <arg type="u" name="timestamp" direction="in"/>
    </method>
    <method name="EventGroup">
      <arg type="a(isvu)" name="events" direction="in"/>
      <arg type="ai" name="idErrors" direction="out"/>
    </method>
    <method name="AboutToShow">
      <arg type="i" name="id" direction="in"/>
      <arg type="b" name="needUpdate" direction="out"/>
    </method>
    <method name="AboutToShowGroup">
      <arg type="ai" name="ids" direction="in"/>
      <arg type="ai" name="updatesNeeded" direction="out"/>
      <arg type="ai" name="idErrors" direction="out"/>
    </method>
    <signal name="ItemsPropertiesUpdated">
      <arg type="a(ia{sv})" name="updatedProps"/>
      <arg type="a(ias)" name="removedProps"/>
    </signal>
    <signal name="LayoutUpdated">
      <arg type="u" name="revision"/>
      <arg type="i" name="parent"/>
    </signal>
    <signal name="ItemActivationRequested">
      <arg type="i" name="id"/>
      <arg type="u" name="timestamp"/>
    </signal>
  </interface>
)xml";

QList<int> intList(const QVariant& value) {
    if (value.canConvert<QDBusArgument>()) {
        return qdbus_cast<QList<int>>(value.value<QDBusArgument>());
    }
    return value.value<QList<int>>();
}

} // namespace

DbusMenuExporter::DbusMenuExporter(QDBusConnection bus, QString path, QList<QAction*> actions,
                                   std::function<void()> aboutToShow, QObject* parent)
    : QDBusVirtualObject(parent), bus_(std::move(bus)), path_(std::move(path)),
      aboutToShow_(std::move(aboutToShow)) {
    registerDbusTrayTypes();
    for (QAction* action : actions) {
        actions_.append(action);
        connect(action, &QAction::changed, this, [this] { entryChanged(); });
    }
    announce_.setSingleShot(true);
    announce_.setInterval(0);
    connect(&announce_, &QTimer::timeout, this, [this] { sendLayoutUpdated(); });
    registered_ =
        bus_.isConnected() && bus_.registerVirtualObject(path_, this, QDBusConnection::SingleNode);
}

DbusMenuExporter::~DbusMenuExporter() {
    if (registered_) {
        bus_.unregisterObject(path_);
    }
}

QAction* DbusMenuExporter::entry(int id) const {
    return id >= 1 && id <= actions_.size() ? actions_.at(id - 1).data() : nullptr;
}

void DbusMenuExporter::entryChanged() {
    // The revision moves now, so a layout read before the signal goes out is
    // already marked new; a burst of changes makes one signal.
    ++revision_;
    announce_.start();
}

void DbusMenuExporter::sendLayoutUpdated() {
    if (!registered_) {
        return;
    }
    QDBusMessage signal =
        QDBusMessage::createSignal(path_, kMenuInterface, QStringLiteral("LayoutUpdated"));
    signal << revision_ << 0;
    bus_.send(signal);
}

QVariantMap DbusMenuExporter::propertiesOf(int id) const {
    QVariantMap properties;
    if (id == 0) {
        properties.insert(QStringLiteral("children-display"), QStringLiteral("submenu"));
        return properties;
    }
    const QAction* action = entry(id);
    if (action == nullptr) {
        return properties;
    }
    if (action->isSeparator()) {
        properties.insert(QStringLiteral("type"), QStringLiteral("separator"));
    } else {
        // No "shortcut": keys pressed in a menu the panel draws never reach
        // us, so showing them would promise what does not happen.
        properties.insert(QStringLiteral("label"), menuLabel(action->text()));
    }
    // Only values other than the defaults are sent, as the interface asks.
    if (!action->isEnabled()) {
        properties.insert(QStringLiteral("enabled"), false);
    }
    if (!action->isVisible()) {
        properties.insert(QStringLiteral("visible"), false);
    }
    return properties;
}

DbusMenuLayoutItem DbusMenuExporter::layout() const {
    DbusMenuLayoutItem root;
    root.id = 0;
    root.properties = propertiesOf(0);
    for (int id = 1; id <= actions_.size(); ++id) {
        if (entry(id) != nullptr) {
            root.children.append(DbusMenuLayoutItem{id, propertiesOf(id), {}});
        }
    }
    return root;
}

void DbusMenuExporter::event(int id, const QString& eventId) {
    if (eventId == QLatin1String("clicked")) {
        if (QAction* action = entry(id); action != nullptr && action->isEnabled()) {
            // After the reply: the action may open a window or quit.
            QTimer::singleShot(0, action, &QAction::trigger);
        }
    } else if (eventId == QLatin1String("opened") && id == 0 && aboutToShow_) {
        aboutToShow_();
    }
}

QString DbusMenuExporter::introspect(const QString& /*path*/) const {
    return QString::fromLatin1(kIntrospection);
}

bool DbusMenuExporter::handleMessage(const QDBusMessage& message,
                                     const QDBusConnection& connection) {
    if (message.type() != QDBusMessage::MethodCallMessage) {
        return false;
    }
    QDBusMessage reply;
    if (message.interface() == kProperties) {
        reply = propertiesCall(message);
    } else if (message.interface().isEmpty() || message.interface() == kMenuInterface) {
        reply = answer(message);
    } else {
        return false;
    }
    if (reply.type() == QDBusMessage::InvalidMessage) {
        return false;
    }
    connection.send(reply);
    return true;
}

QDBusMessage DbusMenuExporter::answer(const QDBusMessage& message) {
    const QList<QVariant> args = message.arguments();
    const QString member = message.member();
    if (member == QLatin1String("GetLayout") && args.size() == 3) {
        const int parent = args.at(0).toInt();
        DbusMenuLayoutItem item = layout();
        if (parent != 0) {
            item = DbusMenuLayoutItem{parent, propertiesOf(parent), {}};
        }
        return message.createReply({QVariant::fromValue(revision_), QVariant::fromValue(item)});
    }
    if (member == QLatin1String("GetGroupProperties") && args.size() == 2) {
        DbusMenuItemPropertiesList list;
        for (const int id : intList(args.at(0))) {
            if (id == 0 || entry(id) != nullptr) {
                list.append(DbusMenuItemProperties{id, propertiesOf(id)});
            }
        }
        return message.createReply(QVariant::fromValue(list));
    }
    if (member == QLatin1String("GetProperty") && args.size() == 2) {
        const QVariant value = propertiesOf(args.at(0).toInt()).value(args.at(1).toString());
        return message.createReply(QVariant::fromValue(QDBusVariant(value)));
    }
    if (member == QLatin1String("Event") && args.size() == 4) {
        event(args.at(0).toInt(), args.at(1).toString());
        return message.createReply();
    }
    if (member == QLatin1String("EventGroup") && args.size() == 1) {
        const auto events = args.at(0).value<QDBusArgument>();
        events.beginArray();
        while (!events.atEnd()) {
            int id = 0;
            QString eventId;
            QDBusVariant data;
            uint timestamp = 0;
            events.beginStructure();
            events >> id >> eventId >> data >> timestamp;
            events.endStructure();
            event(id, eventId);
        }
        events.endArray();
        return message.createReply(QVariant::fromValue(QList<int>{}));
    }
    if (member == QLatin1String("AboutToShow") && args.size() == 1) {
        const uint before = revision_;
        if (args.at(0).toInt() == 0 && aboutToShow_) {
            aboutToShow_();
        }
        return message.createReply(revision_ != before);
    }
    if (member == QLatin1String("AboutToShowGroup") && args.size() == 1) {
        const uint before = revision_;
        if (intList(args.at(0)).contains(0) && aboutToShow_) {
            aboutToShow_();
        }
        const QList<int> updates = revision_ != before ? QList<int>{0} : QList<int>{};
        return message.createReply(
            {QVariant::fromValue(updates), QVariant::fromValue(QList<int>{})});
    }
    return message.createErrorReply(QDBusError::UnknownMethod,
                                    QStringLiteral("No method %1 here").arg(member));
}

QDBusMessage DbusMenuExporter::propertiesCall(const QDBusMessage& message) {
    QVariantMap all;
    all.insert(QStringLiteral("Version"), 3U);
    all.insert(QStringLiteral("TextDirection"), QStringLiteral("ltr"));
    all.insert(QStringLiteral("Status"), QStringLiteral("normal"));
    all.insert(QStringLiteral("IconThemePath"), QStringList{});
    const QList<QVariant> args = message.arguments();
    if (message.member() == QLatin1String("GetAll")) {
        return message.createReply(QVariant::fromValue(all));
    }
    if (message.member() == QLatin1String("Get") && args.size() == 2 &&
        all.contains(args.at(1).toString())) {
        return message.createReply(
            QVariant::fromValue(QDBusVariant(all.value(args.at(1).toString()))));
    }
    return message.createErrorReply(QDBusError::InvalidArgs, QStringLiteral("No such property"));
}

} // namespace quelmo
