// SPDX-License-Identifier: MIT
#pragma once

#include "app/ui_ports.h"
#include "ui/overlay/frost_request.h"

#include <QImage>
#include <QList>
#include <QMetaObject>
#include <QObject>
#include <QTimer>

#include <chrono>
#include <functional>
#include <memory>
#include <vector>

class QLabel;
class QScreen;

namespace quelmo {

class FrostWindow;
class WindowFader;

// The frost: one window per screen that hides the screen when the app model
// wants it hidden, or for a short preview. It combines two wishes only (the
// frost is requested; a preview is running) and shows or hides the windows
// with a fade. Main thread only.
//
// States: hidden (isShown false; windows at opacity 0 and unmapped once the
// fade-out has ended) and shown (isShown true; windows mapped and faded to
// opacity 1). A fade-in that starts during a fade-out takes the same windows
// back to 1 and they stay. Screen changes and strength changes re-create the
// windows without changing the state.
class FrostOverlay : public QObject, public OverlayPort {
  public:
    struct Options {
        std::chrono::milliseconds fadeIn{140};
        std::chrono::milliseconds fadeOut{180};
        // Whether windows can fade (a compositor runs); asked at each fade.
        std::function<bool()> canFade;
        // The blurred picture of the screen a window is about to cover,
        // taken just before the window is shown.
        std::function<QImage(FrostWindow&)> backdrop;
    };

    FrostOverlay();
    explicit FrostOverlay(Options options);
    ~FrostOverlay() override;

    // OverlayPort
    void setFrost(bool frosted, bool away) override;
    void preview(double seconds) override;
    void setStrength(double strength) override;

    double strength() const { return request_.strength(); }
    bool isShown() const { return isShown_; }
    bool isPreviewRunning() const { return request_.isPreviewRunning(); }

    // One window per screen, in QGuiApplication::screens() order.
    const std::vector<std::unique_ptr<FrostWindow>>& windows() const { return windows_; }
    struct Labels {
        QLabel* title;
        QLabel* hint;
    };
    // The two labels of each window, in the order of windows().
    std::vector<Labels> labels() const;

    static constexpr double kLongestPreview = FrostRequest::kLongestPreview;
    // How often a shown frost raises its windows again, so a window or panel
    // that raised itself meanwhile ends up below the frost once more.
    static constexpr std::chrono::milliseconds kRaiseInterval{250};

  private:
    void apply();
    void fadeIn();
    void fadeOut();
    void finishFadeOut();
    void rebuild();
    void scheduleRebuild();
    void watchScreenGeometry();
    std::unique_ptr<FrostWindow> makeWindow(QScreen* screen) const;
    void refreshLabels();
    void raiseWindows();
    std::vector<QWidget*> windowList() const;

    Options options_;
    std::vector<std::unique_ptr<FrostWindow>> windows_;
    bool isShown_ = false;
    FrostRequest request_;
    std::unique_ptr<WindowFader> fader_;
    QTimer raiseTimer_;
    bool rebuildPending_ = false;
    QList<QMetaObject::Connection> geometryWatches_;
};

} // namespace quelmo
