// SPDX-License-Identifier: MIT
#include "ui/overlay/frost_overlay.h"

#include "ui/overlay/compositor_probe.h"
#include "ui/overlay/frost_backdrop.h"
#include "ui/overlay/frost_look.h"
#include "ui/overlay/frost_texts.h"
#include "ui/overlay/frost_window.h"
#include "ui/overlay/window_fader.h"

#include <QGuiApplication>
#include <QHash>
#include <QScreen>

#include <algorithm>
#include <cmath>
#include <utility>
#include <vector>

namespace quelmo {

FrostOverlay::FrostOverlay() : FrostOverlay(Options{}) {}

FrostOverlay::FrostOverlay(Options options)
    : options_(std::move(options)), request_([this] { apply(); }),
      fader_(std::make_unique<WindowFader>()) {
    if (!options_.canFade) {
        options_.canFade = compositorRunning;
    }
    if (!options_.backdrop) {
        options_.backdrop = blurredBackdrop;
    }
    raiseTimer_.setInterval(kRaiseInterval);
    connect(&raiseTimer_, &QTimer::timeout, this, [this] { raiseWindows(); });

    // Screen changes arrive in bursts (a monitor added resizes the desktop
    // too); they are gathered into one rebuild on the next turn of the loop,
    // by which time Qt's list of screens is settled.
    connect(qGuiApp, &QGuiApplication::screenAdded, this, [this] { scheduleRebuild(); });
    connect(qGuiApp, &QGuiApplication::screenRemoved, this, [this] { scheduleRebuild(); });
    rebuild();
}

FrostOverlay::~FrostOverlay() {
    fader_->stop();
    for (const auto& window : windows_) {
        window->hide();
    }
}

void FrostOverlay::setFrost(bool frosted, bool away) {
    if (request_.setFrost(frosted, away)) {
        refreshLabels();
    }
    apply();
}

void FrostOverlay::preview(double seconds) {
    request_.preview(seconds);
    apply();
}

void FrostOverlay::setStrength(double strength) {
    if (request_.setStrength(strength)) {
        rebuild();
    }
}

std::vector<FrostOverlay::Labels> FrostOverlay::labels() const {
    std::vector<Labels> out;
    out.reserve(windows_.size());
    for (const auto& window : windows_) {
        out.push_back({window->title(), window->hint()});
    }
    return out;
}

void FrostOverlay::apply() {
    const bool wish = request_.wantsFrost();
    if (wish == isShown_) {
        return;
    }
    isShown_ = wish;
    if (wish) {
        fadeIn();
    } else {
        fadeOut();
    }
}

void FrostOverlay::fadeIn() {
    fader_->stop();
    const bool animate = options_.canFade();
    // Every picture is taken before any window appears, so no window shows up
    // in another's picture. A window still on screen (a fade-out caught half
    // way) keeps the picture it has.
    // All pictures are taken before any is handed over: handing one over
    // sets the X server stretching it, and a picture taken meanwhile would
    // wait for that.
    std::vector<std::pair<FrostWindow*, QImage>> pictures;
    for (const auto& window : windows_) {
        if (!window->isVisible()) {
            pictures.emplace_back(window.get(), options_.backdrop(*window));
        }
    }
    for (auto& [window, picture] : pictures) {
        window->setBackdrop(picture);
        window->setWindowOpacity(animate ? 0.0 : 1.0);
    }
    for (const auto& window : windows_) {
        window->show();
        window->raise();
    }
    raiseTimer_.start();
    fader_->fade(windowList(), 1.0, options_.fadeIn, animate, {});
}

void FrostOverlay::fadeOut() {
    fader_->fade(windowList(), 0.0, options_.fadeOut, options_.canFade(),
                 [this] { finishFadeOut(); });
}

void FrostOverlay::finishFadeOut() {
    // A fade-in begun meanwhile has the windows again.
    if (isShown_) {
        return;
    }
    for (const auto& window : windows_) {
        window->hide();
    }
    raiseTimer_.stop();
}

void FrostOverlay::scheduleRebuild() {
    if (rebuildPending_) {
        return;
    }
    rebuildPending_ = true;
    QTimer::singleShot(0, this, [this] {
        rebuildPending_ = false;
        rebuild();
    });
}

void FrostOverlay::rebuild() {
    // A fade under way ends here; the state alone decides how the new windows look.
    fader_->stop();

    // Pictures already taken are kept for the screens that remain, so a
    // rebuild while frosted never photographs the frost itself.
    QHash<QScreen*, QImage> pictures;
    for (const auto& window : windows_) {
        if (window->targetScreen() != nullptr && !window->backdrop().isNull()) {
            pictures.insert(window->targetScreen(), window->backdrop());
        }
    }
    std::vector<std::unique_ptr<FrostWindow>> old = std::move(windows_);
    windows_.clear();
    for (QScreen* screen : QGuiApplication::screens()) {
        windows_.push_back(makeWindow(screen));
    }
    refreshLabels();
    if (isShown_) {
        for (const auto& window : windows_) {
            const auto kept = pictures.constFind(window->targetScreen());
            window->setBackdrop(kept != pictures.cend() ? *kept : options_.backdrop(*window));
            window->setWindowOpacity(1.0);
        }
        for (const auto& window : windows_) {
            window->show();
            window->raise();
        }
    } else {
        raiseTimer_.stop();
    }
    // The old windows go only now that the new ones cover the screens, so a
    // rebuild while frosted never uncovers a screen, not even for a frame.
    for (const auto& window : old) {
        window->hide();
    }
    old.clear();
    watchScreenGeometry();
}

void FrostOverlay::watchScreenGeometry() {
    for (const auto& connection : geometryWatches_) {
        disconnect(connection);
    }
    geometryWatches_.clear();
    for (QScreen* screen : QGuiApplication::screens()) {
        geometryWatches_.append(
            connect(screen, &QScreen::geometryChanged, this, [this] { scheduleRebuild(); }));
    }
}

std::unique_ptr<FrostWindow> FrostOverlay::makeWindow(QScreen* screen) const {
    auto window = std::make_unique<FrostWindow>(screen, frost_look::tint(request_.strength()));
    window->setWindowOpacity(0.0);
    return window;
}

void FrostOverlay::refreshLabels() {
    const FrostTexts texts = frostTexts(request_.saysAway());
    for (const auto& window : windows_) {
        window->setTexts(texts);
    }
}

void FrostOverlay::raiseWindows() {
    for (const auto& window : windows_) {
        if (window->isVisible()) {
            window->raise();
        }
    }
}

std::vector<QWidget*> FrostOverlay::windowList() const {
    std::vector<QWidget*> list;
    list.reserve(windows_.size());
    for (const auto& window : windows_) {
        list.push_back(window.get());
    }
    return list;
}

} // namespace quelmo
