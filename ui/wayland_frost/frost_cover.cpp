// SPDX-License-Identifier: MIT
#include "ui/wayland_frost/frost_cover.h"

#include "ui/overlay/frost_frame.h"

#include <QPainter>

#include <algorithm>

namespace quelmo {

FrostCover::FrostCover(WaylandDisplay& display, WaylandOutput& output)
    : display_(display), surface_(display, output) {}

void FrostCover::begin(bool capture) {
    if (capture) {
        capture_ = std::make_unique<OutputCapture>(display_, surface_.output());
        capture_->onFinished = [this] {
            if (onCaptureFinished) {
                onCaptureFinished();
            }
        };
    }
    heldBack_ = isAwaitingPicture();
    if (!heldBack_) {
        capture_.reset(); // no picture can come: the cover is the look
    }
}

void FrostCover::end() {
    surface_.unmap();
    capture_.reset();
    picture_ = QImage();
    settled_ = QImage();
    heldBack_ = false;
    preparedFresh_ = false;
    shownOpacity_ = 0.0;
    shownMix_ = 0.0;
}

bool FrostCover::isAwaitingPicture() const {
    return capture_ && capture_->state() == OutputCapture::State::waiting;
}

bool FrostCover::isPictureUnderWay() const {
    return !isAwaitingPicture() || capture_->isCopying();
}

bool FrostCover::hasCaptureResult() const {
    return capture_ && capture_->state() != OutputCapture::State::waiting;
}

bool FrostCover::isSettled() const {
    return !heldBack_ && !capture_ && isShownAtFullOpacity() &&
           (picture_.isNull() || shownMix_ >= 1.0);
}

bool FrostCover::takePicture(std::chrono::milliseconds crossFade) {
    if (!hasCaptureResult()) {
        return false;
    }
    if (capture_->state() == OutputCapture::State::ready) {
        // Reduced straight from the shared memory the compositor copied into.
        picture_ = frostPictureOf(capture_->picture());
    }
    capture_.reset();
    if (picture_.isNull()) {
        return false;
    }
    settled_ = QImage();
    crossFade_ = crossFade;
    mixClock_.start();
    return true;
}

double FrostCover::mix() const {
    if (picture_.isNull()) {
        return 0.0;
    }
    if (crossFade_.count() <= 0) {
        return 1.0;
    }
    return std::min(1.0, static_cast<double>(mixClock_.elapsed()) /
                             static_cast<double>(crossFade_.count()));
}

void FrostCover::invalidate() {
    settled_ = QImage();
    preparedFresh_ = false;
}

bool FrostCover::present(const FrostLook& look, double opacity) {
    if (heldBack_) {
        if (!preparedFresh_ || preparedOpacity_ != opacity) {
            preparedFresh_ = surface_.prepare(
                [&](QImage& target) { paintFrame(target, look, opacity, 0.0); }, opacity >= 1.0);
            preparedOpacity_ = opacity;
        }
        return true;
    }
    const double now = mix();
    const bool reuse =
        preparedFresh_ && surface_.hasPrepared() && preparedOpacity_ == opacity && now <= 0.0;
    preparedFresh_ = false;
    if (!reuse && !surface_.prepare([&](QImage& target) { paintFrame(target, look, opacity, now); },
                                    opacity >= 1.0)) {
        return false;
    }
    if (isAwaitingPicture()) {
        capture_->frostAboutToCommit();
    }
    if (!surface_.commitPrepared()) {
        return false;
    }
    shownOpacity_ = opacity;
    shownMix_ = now;
    return true;
}

void FrostCover::paintFrame(QImage& target, const FrostLook& look, double opacity, double mix) {
    if (mix > 0.0 && settled_.size() != target.size()) {
        // The frost over the picture, painted as it always was.
        settled_ = QImage(target.size(), QImage::Format_ARGB32_Premultiplied);
        settled_.setDevicePixelRatio(target.devicePixelRatio());
        QPainter painter(&settled_);
        paintFrostFrame(painter, QRect(QPoint(0, 0), target.deviceIndependentSize().toSize()),
                        tintedPicture(picture_, look.tint), look.tint, look.texts);
    }
    if (mix >= 1.0) {
        QPainter painter(&target);
        painter.setCompositionMode(QPainter::CompositionMode_Source);
        painter.drawImage(QPoint(0, 0), settled_);
    } else {
        coverPainter_.paint(target, look.tint, look.texts);
        if (mix > 0.0) {
            QPainter painter(&target);
            painter.setOpacity(mix);
            painter.drawImage(QPoint(0, 0), settled_);
        }
    }
    fadeFrame(target, opacity);
}

} // namespace quelmo
