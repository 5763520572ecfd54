// SPDX-License-Identifier: MIT
#pragma once

#include "app/ui_ports.h"
#include "platform/login/login_item.h"
#include "ui/onboarding/onboarding_flow.h"

#include <QObject>
#include <QPointer>
#include <QQuickView>
#include <QString>

#include <memory>

class QQmlEngine;

namespace quelmo {

class AppModel;
class LoginItemObject;

// The application's two ordinary windows: the settings window, made once and
// reused while it is open, and the welcome guide, made afresh each time it is
// asked for. Both are fixed-size, centred, and brought to the front and
// activated when shown. Closing a window destroys its view, so the view's
// clean-up runs (the model's live-gauge count goes back down) and the next
// request starts from nothing.
//
// The views are made with the app model handed over by setModel() (the model
// is made after the windows, since it talks to them through its windows port)
// and its preferences; nothing is shown while there is none. The QML engine is made
// when a window opens and goes when the last one has closed. Main thread only.
class Windows : public QObject, public WindowsPort {
    Q_OBJECT

  public:
    static constexpr const char* kSettingsTitle = QT_TRANSLATE_NOOP("Windows", "Quelmo Settings");
    static constexpr const char* kOnboardingTitle =
        QT_TRANSLATE_NOOP("Windows", "Welcome to Quelmo");
    static constexpr int kSettingsWidth = 460;
    static constexpr int kSettingsHeight = 700;
    static constexpr int kOnboardingWidth = 540;
    static constexpr int kOnboardingHeight = 560;

    // `logDirectory` is the folder "Show Log in Finder" opens.
    Windows(LoginItem loginItem, QString logDirectory, QObject* parent = nullptr);
    ~Windows() override;

    // The model the views show; nothing is shown before it is set.
    void setModel(AppModel* model);
    // Closes both windows at once, the QML engine with them; whoever
    // destroys the model calls it first, so no view is left bound to a
    // model that is gone.
    void closeAll();

    void showSettings() override;
    void showOnboarding() override { showOnboarding(onboarding::Step::welcome); }
    void showOnboarding(onboarding::Step startAt);
    // For the views: a step by its raw value; out of range means the first.
    Q_INVOKABLE void showOnboarding(int startAt);

    // The windows while they are open.
    QQuickView* settingsWindow() const { return settings_; }
    QQuickView* onboardingWindow() const { return onboarding_; }
    // Made with the first window; gone soon after the last one closed.
    QQmlEngine* engine() const { return engine_.get(); }

  protected:
    // Sees each window's close, whichever way it was asked for.
    bool eventFilter(QObject* watched, QEvent* event) override;

  private slots:
    // The guide's close action: closes whichever guide is open when it runs.
    void closeOnboarding();

  private:
    QQuickView* makeWindow(const char* qmlUrl, const char* title, int width, int height,
                           const QVariantMap& properties);
    void windowWillClose(QQuickView* window);
    void bringToFront(QQuickView* window);

    QPointer<AppModel> model_;
    LoginItemObject* loginItem_;
    QString logDirectory_;
    std::unique_ptr<QQmlEngine> engine_;
    QPointer<QQuickView> settings_;
    QPointer<QQuickView> onboarding_;
};

} // namespace quelmo
