// SPDX-License-Identifier: MIT
#include "platform/desktop_bus/kglobalaccel_hot_keys.h"

#include <QCoreApplication>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QPointer>

namespace quelmo {

namespace {
const QString kPath = QStringLiteral("/kglobalaccel");
const QString kInterface = QStringLiteral("org.kde.KGlobalAccel");
const QString kComponentInterface = QStringLiteral("org.kde.kglobalaccel.Component");

// kglobalaccel's flags for setShortcut.
constexpr uint kSetPresent = 2;
constexpr uint kIsDefault = 8;
} // namespace

class KGlobalAccelHotKeys::Registration final : public HotKeyRegistration {
  public:
    explicit Registration(KGlobalAccelHotKeys* owner) : owner_(owner) {}
    ~Registration() override {
        if (owner_) {
            owner_->action_ = nullptr;
            // Inactive, not forgotten: the user's choice of keys is kept.
            owner_->send(QStringLiteral("setInactive"), {owner_->actionId()});
        }
    }

  private:
    QPointer<KGlobalAccelHotKeys> owner_;
};

KGlobalAccelHotKeys::KGlobalAccelHotKeys(QDBusConnection bus, QObject* parent)
    : QObject(parent), bus_(std::move(bus)) {
    qDBusRegisterMetaType<QList<int>>();
}

KGlobalAccelHotKeys::~KGlobalAccelHotKeys() = default;

bool KGlobalAccelHotKeys::isOffered(const QDBusConnection& bus) {
    const QDBusConnectionInterface* names = bus.isConnected() ? bus.interface() : nullptr;
    if (names == nullptr) {
        return false;
    }
    const QString service = QString::fromLatin1(kService);
    return names->isServiceRegistered(service).value() ||
           names->activatableServiceNames().value().contains(service);
}

QStringList KGlobalAccelHotKeys::actionId() const {
    // Component and action as stored, then the names System Settings shows.
    return {QString::fromLatin1(kComponent), QString::fromLatin1(kAction), QStringLiteral("Quelmo"),
            QCoreApplication::translate("TrayMenu", "I'm Facing the Screen")};
}

void KGlobalAccelHotKeys::send(const QString& method, const QList<QVariant>& arguments) {
    QDBusMessage call =
        QDBusMessage::createMethodCall(QString::fromLatin1(kService), kPath, kInterface, method);
    call.setArguments(arguments);
    bus_.asyncCall(call);
}

std::unique_ptr<HotKeyRegistration>
KGlobalAccelHotKeys::registerHotKey(QKeyCombination chord, std::function<void()> action) {
    if (chord.key() == Qt::Key_unknown || !action || !bus_.isConnected() || action_) {
        return nullptr;
    }
    // Any path: the service picks the component's object path.
    if (!bus_.connect(QString::fromLatin1(kService), QString(), kComponentInterface,
                      QStringLiteral("globalShortcutPressed"), this,
                      SLOT(onPressed(QString, QString, qlonglong)))) {
        return nullptr;
    }
    action_ = std::move(action);
    const QList<int> keys{chord.toCombined()};
    send(QStringLiteral("doRegister"), {actionId()});
    // The keys the user chose before, if any, else the default; then the
    // default itself, for System Settings' "reset".
    send(QStringLiteral("setShortcut"),
         {actionId(), QVariant::fromValue(keys), QVariant::fromValue(kSetPresent)});
    send(QStringLiteral("setShortcut"),
         {actionId(), QVariant::fromValue(keys), QVariant::fromValue(kIsDefault)});
    return std::make_unique<Registration>(this);
}

void KGlobalAccelHotKeys::onPressed(const QString& component, const QString& action,
                                    qlonglong /*timestamp*/) {
    if (component != QLatin1String(kComponent) || action != QLatin1String(kAction) || !action_) {
        return;
    }
    // A copy: the action may end the registration.
    const auto run = action_;
    run();
}

} // namespace quelmo
