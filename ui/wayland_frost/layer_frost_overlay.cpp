// SPDX-License-Identifier: MIT
#include "ui/wayland_frost/layer_frost_overlay.h"

#include "platform/wayland/wayland_display.h"
#include "platform/wayland_connection/wayland_connection.h"
#include "ui/overlay/frost_look.h"

#include <algorithm>

namespace quelmo {

namespace {
// About sixty frames a second while fading.
constexpr int kFadeStepMs = 16;
// Longer than a compositor with time for us takes to answer a capture.
constexpr std::chrono::milliseconds kCopyAnswerWait{4};
// Far longer than a compositor takes to give a surface its size.
constexpr std::chrono::milliseconds kConfigureWait{200};
} // namespace

LayerFrostOverlay::LayerFrostOverlay(std::unique_ptr<WaylandDisplay> display)
    : LayerFrostOverlay(std::move(display), Options{}) {}

LayerFrostOverlay::LayerFrostOverlay(std::unique_ptr<WaylandDisplay> display, Options options)
    : display_(std::move(display)), options_(options), request_([this] { apply(); }) {
    fadeTimer_.setInterval(kFadeStepMs);
    fadeTimer_.setTimerType(Qt::PreciseTimer);
    connect(&fadeTimer_, &QTimer::timeout, this, [this] { stepFade(); });
    crossFadeTimer_.setInterval(kFadeStepMs);
    crossFadeTimer_.setTimerType(Qt::PreciseTimer);
    connect(&crossFadeTimer_, &QTimer::timeout, this, [this] {
        if (!fadeTimer_.isActive()) {
            presentAll(true); // during a fade its steps show the cross-fade too
        }
        if (std::none_of(covers_.begin(), covers_.end(),
                         [](const auto& cover) { return cover->isCrossFading(); })) {
            crossFadeTimer_.stop();
        }
    });
    captureWaitTimer_.setSingleShot(true);
    captureWaitTimer_.setInterval(options_.captureWait);
    captureWaitTimer_.setTimerType(Qt::PreciseTimer);
    connect(&captureWaitTimer_, &QTimer::timeout, this, [this] {
        // Privacy first: the covers go up; pictures still awaited are used
        // only if they provably show the screen and not the frost.
        for (const auto& cover : covers_) {
            cover->release();
        }
        presentAll(false);
    });
    checkTimer_.setInterval(kCheckInterval);
    connect(&checkTimer_, &QTimer::timeout, this, [this] {
        ensureCovered();
        presentAll(false);
    });

    // Output events arrive while the display reads its socket; the covers
    // follow on the next turn of the loop, outside the listener.
    display_->onOutputChanged = [this](WaylandOutput& output) {
        for (const auto& cover : covers_) {
            if (&cover->output() == &output) {
                cover->invalidate();
            }
        }
        QTimer::singleShot(0, this, [this] {
            ensureCovered();
            presentAll(true);
        });
    };
    display_->onOutputRemoved = [this](WaylandOutput& output) { dropCover(output); };
    display_->onBroken = [this] {
        fadeTimer_.stop();
        crossFadeTimer_.stop();
        captureWaitTimer_.stop();
        checkTimer_.stop();
    };
    ensureCovered();
}

LayerFrostOverlay::~LayerFrostOverlay() {
    display_->onOutputChanged = nullptr;
    display_->onOutputRemoved = nullptr;
    display_->onBroken = nullptr;
    covers_.clear();
}

FrostLook LayerFrostOverlay::look() const {
    return {frost_look::tint(request_.strength()), frostTexts(request_.saysAway())};
}

bool LayerFrostOverlay::capturesScreen() const {
    return options_.capture && display_->screencopy() != nullptr;
}

int LayerFrostOverlay::surfacesShown() const {
    return static_cast<int>(std::count_if(covers_.begin(), covers_.end(), [](const auto& cover) {
        return cover->surface().isMapped();
    }));
}

namespace {
template <typename Covers, typename Test>
bool everyOutput(const WaylandDisplay& display, const Covers& covers, Test test) {
    const std::vector<WaylandOutput*> outputs = display.outputs();
    return !outputs.empty() &&
           std::all_of(outputs.begin(), outputs.end(), [&](WaylandOutput* output) {
               return std::any_of(covers.begin(), covers.end(), [&](const auto& cover) {
                   return &cover->output() == output && test(*cover);
               });
           });
}
} // namespace

bool LayerFrostOverlay::coversEveryOutput() const {
    return isShown_ && everyOutput(*display_, covers_, [](const FrostCover& cover) {
               return cover.isShownAtFullOpacity();
           });
}

bool LayerFrostOverlay::settledOnEveryOutput() const {
    return isShown_ && everyOutput(*display_, covers_,
                                   [](const FrostCover& cover) { return cover.isSettled(); });
}

int LayerFrostOverlay::outputsShowingPicture() const {
    return static_cast<int>(std::count_if(covers_.begin(), covers_.end(), [](const auto& cover) {
        return cover->showsPicture() && cover->isShownAtFullOpacity();
    }));
}

void LayerFrostOverlay::setFrost(bool frosted, bool away) {
    if (request_.setFrost(frosted, away)) {
        invalidateFrames();
        presentAll(true);
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
    presentAll(true);
}

void LayerFrostOverlay::apply() {
    const bool wish = request_.wantsFrost();
    if (wish == isShown_) {
        return;
    }
    isShown_ = wish;
    if (wish) {
        coveredTold_ = false;
        ensureCovered();
        beginFrost();
        checkTimer_.start();
        startFade(1.0, options_.fadeIn);
    } else {
        checkTimer_.stop();
        startFade(0.0, options_.fadeOut);
    }
}

void LayerFrostOverlay::beginFrost() {
    // Covers still shown (a fade-out turned back) keep what they show; the
    // others ask for their output's picture before anything of the frost
    // is committed.
    const bool capture = capturesScreen();
    bool waiting = false;
    for (const auto& cover : covers_) {
        if (!cover->surface().isMapped() && !cover->isHeldBack()) {
            cover->begin(capture);
        }
        waiting = waiting || cover->isHeldBack();
    }
    display_->connection().flush();
    if (waiting) {
        captureWaitTimer_.start();
        // The compositor answers a capture at once with how it copies; the
        // copy is asked for before the covers are painted, so the
        // compositor makes the picture's frame while they are.
        display_->connection().dispatchUntil(
            [this] {
                return std::all_of(covers_.begin(), covers_.end(),
                                   [](const auto& cover) { return cover->isPictureUnderWay(); });
            },
            kCopyAnswerWait);
        // The copy requests made while handling the answers leave now.
        display_->connection().flush();
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
        // Faded out: the surfaces are unmapped and let go of their buffers
        // and pictures, so nothing of the frost stays on screen or in memory.
        captureWaitTimer_.stop();
        crossFadeTimer_.stop();
        for (const auto& cover : covers_) {
            cover->end();
        }
        display_->connection().flush();
        return;
    }
    presentAll(true);
}

void LayerFrostOverlay::ensureCovered() {
    if (display_->connection().isBroken() || display_->layerShell() == nullptr) {
        return;
    }
    // Surfaces the compositor closed are made again below, and so are
    // surfaces still waiting for their size long after asking (a compositor
    // may not answer a surface that asks again after being unmapped; every
    // compositor answers a new one).
    covers_.erase(std::remove_if(covers_.begin(), covers_.end(),
                                 [](const auto& cover) {
                                     return cover->surface().isClosed() ||
                                            cover->surface().isUnanswered(kConfigureWait);
                                 }),
                  covers_.end());
    for (WaylandOutput* output : display_->outputs()) {
        const bool covered = std::any_of(covers_.begin(), covers_.end(), [output](const auto& c) {
            return &c->output() == output;
        });
        if (!covered) {
            addCover(*output);
        }
    }
}

void LayerFrostOverlay::addCover(WaylandOutput& output) {
    auto cover = std::make_unique<FrostCover>(*display_, output);
    FrostCover* raw = cover.get();
    raw->surface().onConfigured = [this] {
        QTimer::singleShot(0, this, [this] { presentAll(false); });
    };
    raw->surface().onFrameDrawn = [this] { checkCoversDrawn(); };
    raw->surface().onResized = [this, raw] {
        raw->invalidate();
        QTimer::singleShot(0, this, [this] { presentAll(true); });
    };
    raw->onCaptureFinished = [this] {
        // Several captures often end in one read of the socket: handled once.
        if (!capturesFinishing_) {
            capturesFinishing_ = true;
            QTimer::singleShot(0, this, [this] {
                capturesFinishing_ = false;
                capturesFinished();
            });
        }
    };
    covers_.push_back(std::move(cover));
    if (isShown_) {
        // An output that comes while frosted is covered like the others.
        raw->begin(capturesScreen());
        display_->connection().flush();
        if (raw->isHeldBack() && !captureWaitTimer_.isActive()) {
            captureWaitTimer_.start();
        }
    }
}

void LayerFrostOverlay::dropCover(WaylandOutput& output) {
    covers_.erase(std::remove_if(covers_.begin(), covers_.end(),
                                 [&output](const auto& c) { return &c->output() == &output; }),
                  covers_.end());
}

void LayerFrostOverlay::capturesFinished() {
    // Covers whose picture has been made go up at once.
    for (const auto& cover : covers_) {
        if (cover->isHeldBack() && !cover->isAwaitingPicture()) {
            cover->release();
        }
    }
    presentAll(false);
    // The pictures are blurred once no cover waits for its own any more,
    // so the blurring never keeps an output uncovered, and on a later turn
    // of the loop, so whatever else came meanwhile is seen to first.
    const bool waiting = std::any_of(covers_.begin(), covers_.end(), [](const auto& cover) {
        return cover->isHeldBack() && cover->isAwaitingPicture();
    });
    if (waiting) {
        return;
    }
    captureWaitTimer_.stop();
    QTimer::singleShot(0, this, [this] { takePictures(); });
}

void LayerFrostOverlay::takePictures() {
    bool fading = false;
    for (const auto& cover : covers_) {
        fading = cover->takePicture(options_.crossFade) || fading;
    }
    if (fading) {
        presentAll(true);
        crossFadeTimer_.start();
    }
}

void LayerFrostOverlay::checkCoversDrawn() {
    if (coveringFrames_.empty()) {
        return;
    }
    const bool drawn =
        std::all_of(coveringFrames_.begin(), coveringFrames_.end(), [this](const auto& frame) {
            const auto cover = std::find_if(covers_.begin(), covers_.end(), [&](const auto& c) {
                return &c->surface() == frame.first;
            });
            // A surface that went with its output has nothing left to draw.
            return cover == covers_.end() || (*cover)->surface().framesDrawn() >= frame.second;
        });
    if (drawn) {
        coveringFrames_.clear();
        if (onEveryOutputDrawn) {
            onEveryOutputDrawn();
        }
    }
}

void LayerFrostOverlay::invalidateFrames() {
    for (const auto& cover : covers_) {
        cover->invalidate();
    }
}

void LayerFrostOverlay::presentAll(bool everyCover) {
    // A surface without a frame shows nothing; there is nothing to paint
    // before the fade-in's first step.
    if (opacity_ <= 0.0) {
        return;
    }
    const FrostLook now = look();
    bool missed = false;
    // By index: handling the display's events below may drop a cover whose
    // output went.
    for (std::size_t i = 0; i < covers_.size(); ++i) {
        FrostCover& cover = *covers_[i];
        if (!everyCover && cover.surface().isMapped()) {
            continue;
        }
        const bool awaited = cover.isAwaitingPicture();
        if (!cover.present(now, opacity_)) {
            missed = true;
        }
        if (awaited) {
            // A capture's answer that came during the painting is acted on
            // now: its copy request goes out, or its cover goes up.
            display_->connection().dispatchAvailable();
        }
    }
    if (!coveredTold_ && coversEveryOutput()) {
        coveredTold_ = true;
        coveringFrames_.clear();
        for (const auto& cover : covers_) {
            coveringFrames_.emplace_back(&cover->surface(), cover->surface().framesCommitted());
        }
        if (onEveryOutputCovered) {
            onEveryOutputCovered();
        }
    }
    // A frame the compositor had no buffer free for is shown a moment later;
    // during a fade the next step does it.
    if (missed && !fadeTimer_.isActive()) {
        QTimer::singleShot(kFadeStepMs, this, [this] { presentAll(false); });
    }
}

} // namespace quelmo
