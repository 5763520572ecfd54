// SPDX-License-Identifier: MIT
#include "ui/wayland_frost/layer_frost_overlay.h"

#include "platform/wayland/wayland_display.h"
#include "ui/overlay/frost_frame.h"
#include "ui/overlay/frost_look.h"
#include "ui/overlay/frost_texts.h"
#include "ui/wayland_frost/output_capture.h"

#include <QPainter>

#include <algorithm>
#include <cmath>

namespace quelmo {

namespace {
// About sixty frames a second while fading.
constexpr int kFadeStepMs = 16;
} // namespace

LayerFrostOverlay::LayerFrostOverlay(std::unique_ptr<WaylandDisplay> display)
    : LayerFrostOverlay(std::move(display), Options{}) {}

LayerFrostOverlay::LayerFrostOverlay(std::unique_ptr<WaylandDisplay> display, Options options)
    : display_(std::move(display)), options_(options), request_([this] { apply(); }) {
    fadeTimer_.setInterval(kFadeStepMs);
    fadeTimer_.setTimerType(Qt::PreciseTimer);
    connect(&fadeTimer_, &QTimer::timeout, this, [this] { stepFade(); });
    checkTimer_.setInterval(kCheckInterval);
    connect(&checkTimer_, &QTimer::timeout, this, [this] {
        ensureCovered();
        // A surface whose first size came after ensureCovered() stopped
        // waiting has no frame yet.
        const bool unshown = std::any_of(covers_.begin(), covers_.end(), [](const auto& cover) {
            return cover->surface->framesPresented() == 0;
        });
        if (unshown) {
            presentAll();
        }
    });

    // Output events arrive while the display reads its socket; the covers
    // follow on the next turn of the loop, outside the listener.
    display_->onOutputChanged = [this](WaylandOutput& output) {
        for (const auto& cover : covers_) {
            if (cover->output == &output) {
                cover->frame = QImage();
            }
        }
        QTimer::singleShot(0, this, [this] {
            ensureCovered();
            presentAll();
        });
    };
    display_->onOutputRemoved = [this](WaylandOutput& output) {
        removedMeanwhile_.push_back(&output);
        dropCover(output);
    };
    display_->onBroken = [this] {
        fadeTimer_.stop();
        checkTimer_.stop();
    };
}

LayerFrostOverlay::~LayerFrostOverlay() {
    display_->onOutputChanged = nullptr;
    display_->onOutputRemoved = nullptr;
    display_->onBroken = nullptr;
    covers_.clear();
}

bool LayerFrostOverlay::capturesScreen() const {
    return options_.capture && display_->screencopy() != nullptr;
}

bool LayerFrostOverlay::coversEveryOutput() const {
    const std::vector<WaylandOutput*> outputs = display_->outputs();
    if (!isShown_ || outputs.empty()) {
        return false;
    }
    return std::all_of(outputs.begin(), outputs.end(), [this](WaylandOutput* output) {
        return std::any_of(covers_.begin(), covers_.end(), [output](const auto& cover) {
            return cover->output == output && cover->shownAtFullOpacity;
        });
    });
}

void LayerFrostOverlay::setFrost(bool frosted, bool away) {
    if (request_.setFrost(frosted, away)) {
        invalidateFrames();
        presentAll();
    }
    apply();
}

void LayerFrostOverlay::preview(double seconds) {
    request_.preview(seconds);
    apply();
}

void LayerFrostOverlay::setStrength(double strength) {
    if (!request_.setStrength(strength)) {
        return;
    }
    // The pictures stay; only the frames are painted again, and each new
    // frame replaces the old one in a single commit.
    invalidateFrames();
    presentAll();
}

void LayerFrostOverlay::apply() {
    const bool wish = request_.wantsFrost();
    if (wish == isShown_) {
        return;
    }
    isShown_ = wish;
    if (wish) {
        ensureCovered();
        checkTimer_.start();
        startFade(1.0, options_.fadeIn);
    } else {
        checkTimer_.stop();
        startFade(0.0, options_.fadeOut);
    }
}

void LayerFrostOverlay::startFade(double target, std::chrono::milliseconds duration) {
    fadeFrom_ = opacity_;
    fadeTarget_ = target;
    fadeDuration_ = duration;
    fadeClock_.start();
    stepFade();
    if (opacity_ != fadeTarget_) {
        fadeTimer_.start();
    }
}

void LayerFrostOverlay::stepFade() {
    const double elapsed = static_cast<double>(fadeClock_.elapsed());
    const double span = static_cast<double>(fadeDuration_.count());
    const double progress = span <= 0 ? 1.0 : std::min(1.0, elapsed / span);
    opacity_ = fadeFrom_ + (fadeTarget_ - fadeFrom_) * progress;
    if (progress >= 1.0) {
        opacity_ = fadeTarget_;
        fadeTimer_.stop();
    }
    if (opacity_ <= 0.0 && !isShown_) {
        // Faded out: the surfaces go, so nothing of the frost stays mapped.
        covers_.clear();
        display_->flush();
        return;
    }
    presentAll();
}

void LayerFrostOverlay::ensureCovered() {
    if (!isShown_ || display_->isBroken() || display_->layerShell() == nullptr) {
        return;
    }
    // Surfaces the compositor closed are made again below.
    covers_.erase(std::remove_if(covers_.begin(), covers_.end(),
                                 [](const auto& cover) { return cover->surface->isClosed(); }),
                  covers_.end());
    std::vector<WaylandOutput*> uncovered;
    for (WaylandOutput* output : display_->outputs()) {
        const bool covered = std::any_of(covers_.begin(), covers_.end(),
                                         [output](const auto& c) { return c->output == output; });
        if (!covered) {
            uncovered.push_back(output);
        }
    }
    if (uncovered.empty()) {
        return;
    }
    // Taking pictures and waiting for surfaces to be configured reads events,
    // and an output may go meanwhile.
    removedMeanwhile_.clear();
    const auto stillThere = [this](WaylandOutput* output) {
        return std::find(removedMeanwhile_.begin(), removedMeanwhile_.end(), output) ==
               removedMeanwhile_.end();
    };
    // Every picture is taken before any new surface appears, so no surface
    // shows up in another's picture; outputs already covered keep theirs.
    std::vector<QImage> captured;
    if (capturesScreen()) {
        captured = captureOutputs(*display_, uncovered, options_.captureTimeout);
    }
    for (std::size_t i = 0; i < uncovered.size(); ++i) {
        if (!stillThere(uncovered[i])) {
            continue;
        }
        auto cover = std::make_unique<Cover>();
        cover->output = uncovered[i];
        cover->picture = pictureFor(uncovered, i, captured);
        cover->surface = std::make_unique<LayerSurface>(*display_, *uncovered[i]);
        if (!stillThere(uncovered[i])) {
            continue;
        }
        Cover* raw = cover.get();
        cover->surface->onResized = [this, raw] {
            raw->frame = QImage();
            QTimer::singleShot(0, this, [this] { presentAll(); });
        };
        covers_.push_back(std::move(cover));
    }
    presentAll();
}

QImage LayerFrostOverlay::pictureFor(const std::vector<WaylandOutput*>&, std::size_t index,
                                     const std::vector<QImage>& captured) const {
    if (index < captured.size() && !captured[index].isNull()) {
        return frostPictureOf(captured[index]);
    }
    return opaqueBackdrop();
}

void LayerFrostOverlay::dropCover(WaylandOutput& output) {
    covers_.erase(std::remove_if(covers_.begin(), covers_.end(),
                                 [&output](const auto& c) { return c->output == &output; }),
                  covers_.end());
}

void LayerFrostOverlay::invalidateFrames() {
    for (const auto& cover : covers_) {
        cover->frame = QImage();
    }
}

void LayerFrostOverlay::presentAll() {
    // A surface without a frame shows nothing; there is nothing to paint
    // before the fade-in's first step.
    if (opacity_ <= 0.0) {
        return;
    }
    bool missed = false;
    for (const auto& cover : covers_) {
        if (!present(*cover)) {
            missed = true;
        }
    }
    // A frame the compositor had no buffer free for is shown a moment later;
    // during a fade the next step does it.
    if (missed && !fadeTimer_.isActive()) {
        QTimer::singleShot(kFadeStepMs, this, [this] { presentAll(); });
    }
}

bool LayerFrostOverlay::present(Cover& cover) {
    LayerSurface& surface = *cover.surface;
    if (!surface.isConfigured() || surface.isClosed()) {
        return true; // nothing to show on yet; ensureCovered() handles it
    }
    const QSize pixels = surface.pixelSize();
    if (cover.frame.size() != pixels) {
        cover.frame = QImage(pixels, QImage::Format_ARGB32_Premultiplied);
        cover.frame.setDevicePixelRatio(surface.scale());
        QPainter painter(&cover.frame);
        const QColor tint = frost_look::tint(request_.strength());
        paintFrostFrame(painter, QRect(QPoint(0, 0), surface.logicalSize()),
                        tintedPicture(cover.picture, tint), tint, frostTexts(request_.saysAway()));
    }
    const double opacity = opacity_;
    const bool shown = surface.present([&cover, opacity](QImage& target) {
        QPainter painter(&target);
        painter.setCompositionMode(QPainter::CompositionMode_Source);
        if (opacity >= 1.0) {
            painter.drawImage(QPoint(0, 0), cover.frame);
            return;
        }
        painter.fillRect(QRect(QPoint(0, 0), target.deviceIndependentSize().toSize()),
                         Qt::transparent);
        painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
        painter.setOpacity(opacity);
        painter.drawImage(QPoint(0, 0), cover.frame);
    });
    if (shown) {
        cover.shownAtFullOpacity = opacity >= 1.0;
    }
    return shown;
}

} // namespace quelmo
