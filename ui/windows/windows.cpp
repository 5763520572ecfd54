// SPDX-License-Identifier: MIT
#include "ui/windows/windows.h"

#include "platform/memory/file_pages.h"

#include "app/app_model.h"
#include "ui/qml/qml_setup.h"
#include "ui/windows/login_item_object.h"

#include <QCoreApplication>
#include <QEvent>
#include <QGuiApplication>
#include <QQmlEngine>
#include <QQuickItem>
#include <QQuickView>
#include <QQuickWindow>
#include <QSGRendererInterface>
#include <QScreen>
#include <QTimer>
#include <QVariantMap>

#include <malloc.h>

namespace quelmo {

namespace {

constexpr const char* kSettingsUrl = "qrc:/Quelmo/Settings/SettingsView.qml";
constexpr const char* kOnboardingUrl = "qrc:/Quelmo/Onboarding/OnboardingView.qml";

// Titled, closable and minimisable; no maximise button, no resizing.
constexpr Qt::WindowFlags kWindowFlags = Qt::Window | Qt::CustomizeWindowHint |
                                         Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                                         Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint;

QVariant objectValue(QObject* object) {
    return QVariant::fromValue(object);
}

// The windows are small and mostly still, so Qt Quick's own raster renderer
// draws them well, and it spares the process the GL driver: on a machine
// without a GPU that is Mesa's software GL with LLVM, about 100 MB resident
// that stays mapped long after the last window closed. Someone who asks for
// a renderer in the environment gets it.
void chooseRenderer() {
    if (qEnvironmentVariableIsSet("QT_QUICK_BACKEND") ||
        qEnvironmentVariableIsSet("QSG_RHI_BACKEND")) {
        return;
    }
    QQuickWindow::setGraphicsApi(QSGRendererInterface::Software);
}

} // namespace

Windows::Windows(LoginItem loginItem, QString logDirectory, QObject* parent)
    : QObject(parent), loginItem_(new LoginItemObject(std::move(loginItem), this)),
      logDirectory_(std::move(logDirectory)) {}

Windows::~Windows() {
    closeAll();
}

void Windows::closeAll() {
    // Views first: their clean-up still needs the engine.
    delete settings_.data();
    delete onboarding_.data();
    engine_.reset();
}

void Windows::setModel(AppModel* model) {
    model_ = model;
}

void Windows::showSettings() {
    AppModel* model = model_;
    if (model == nullptr) {
        return;
    }
    if (!settings_) {
        settings_ =
            makeWindow(kSettingsUrl, kSettingsTitle, kSettingsWidth, kSettingsHeight,
                       {{QStringLiteral("model"), objectValue(model)},
                        {QStringLiteral("prefs"), objectValue(&model->prefs())},
                        {QStringLiteral("loginItem"), objectValue(loginItem_)},
                        {QStringLiteral("windows"), objectValue(this)},
                        {QStringLiteral("logDirectory"), logDirectory_},
                        {QStringLiteral("version"), QCoreApplication::applicationVersion()}});
    }
    bringToFront(settings_);
}

void Windows::showOnboarding(int startAt) {
    showOnboarding(onboarding::stepFromRaw(startAt).value_or(onboarding::Step::welcome));
}

void Windows::showOnboarding(onboarding::Step startAt) {
    AppModel* model = model_;
    if (model == nullptr) {
        return;
    }
    // Always a fresh guide: an open one is closed (and cleaned up) first.
    if (onboarding_) {
        onboarding_->close();
    }
    onboarding_ = makeWindow(kOnboardingUrl, kOnboardingTitle, kOnboardingWidth, kOnboardingHeight,
                             {{QStringLiteral("model"), objectValue(model)},
                              {QStringLiteral("prefs"), objectValue(&model->prefs())},
                              {QStringLiteral("loginItem"), objectValue(loginItem_)},
                              {QStringLiteral("step"), static_cast<int>(startAt)},
                              {QStringLiteral("frostsAtStart"), 0}});
    if (onboarding_ && onboarding_->rootObject()) {
        connect(onboarding_->rootObject(), SIGNAL(closeRequested()), this, SLOT(closeOnboarding()));
    }
    bringToFront(onboarding_);
}

void Windows::closeOnboarding() {
    if (onboarding_) {
        onboarding_->close();
    }
}

QQuickView* Windows::makeWindow(const char* qmlUrl, const char* title, int width, int height,
                                const QVariantMap& properties) {
    if (!engine_) {
        static const bool rendererChosen = (chooseRenderer(), true);
        (void)rendererChosen;
        engine_ = std::make_unique<QQmlEngine>();
        prepareQmlEngine(*engine_);
    }
    auto* window = new QQuickView(engine_.get(), nullptr);
    window->setInitialProperties(properties);
    window->setResizeMode(QQuickView::SizeRootObjectToView);
    window->setSource(QUrl(QString::fromLatin1(qmlUrl)));
    if (window->status() != QQuickView::Ready || window->rootObject() == nullptr) {
        for (const auto& error : window->errors()) {
            qWarning("%s", qPrintable(error.toString()));
        }
        delete window;
        return nullptr;
    }
    window->setTitle(QCoreApplication::translate("Windows", title));
    window->setFlags(kWindowFlags);
    const QSize size(width, height);
    window->resize(size);
    window->setMinimumSize(size);
    window->setMaximumSize(size);
    if (QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->availableGeometry();
        window->setPosition(area.center() - QPoint(width / 2, height / 2));
    }
    window->installEventFilter(this);
    return window;
}

bool Windows::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Close) {
        if (auto* window = qobject_cast<QQuickView*>(watched)) {
            windowWillClose(window);
        }
    }
    return QObject::eventFilter(watched, event);
}

void Windows::windowWillClose(QQuickView* window) {
    if (settings_ == window) {
        settings_ = nullptr;
    }
    if (onboarding_ == window) {
        onboarding_ = nullptr;
    }
    // Once it is gone, give back what it held. With no window left the whole
    // QML engine goes (its script heap, compiled components and type data are
    // tens of megabytes an app that sits in the tray all day should not keep);
    // the next window makes a fresh one. With a window still open, what that
    // one does not need is collected. Then the freed heap pages go back to
    // the system.
    connect(window, &QObject::destroyed, this, [this] {
        QTimer::singleShot(0, this, [this] {
            const bool lastWindow = !settings_ && !onboarding_;
            if (lastWindow) {
                engine_.reset();
            } else if (engine_) {
                engine_->collectGarbage();
                engine_->trimComponentCache();
            }
            ::malloc_trim(0);
            if (lastWindow) {
                // The code of Qt Quick and QML stays mapped once loaded, and
                // watching never runs it: its pages go back to the kernel
                // until a window needs them again.
                releaseFilePages({"libQt6Quick", "libQt6Qml", "/qml/"});
            }
        });
    });
    // The window goes with its view; later, as the close is still under way.
    window->deleteLater();
}

void Windows::bringToFront(QQuickView* window) {
    if (window == nullptr) {
        return;
    }
    window->show();
    window->raise();
    window->requestActivate();
}

} // namespace quelmo
