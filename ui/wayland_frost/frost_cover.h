// SPDX-License-Identifier: MIT
#pragma once

#include "platform/wayland/layer_surface.h"
#include "ui/overlay/frost_texts.h"
#include "ui/wayland_frost/cover_frame.h"
#include "ui/wayland_frost/output_capture.h"

#include <QColor>
#include <QElapsedTimer>
#include <QImage>

#include <chrono>
#include <functional>
#include <memory>

namespace quelmo {

// What the frost shows on every output: the tint (from the strength) and
// the card's words.
struct FrostLook {
    QColor tint;
    FrostTexts texts;
};

// The frost on one output. Its layer surface is made with it and kept
// between frosts (unmapped, without a buffer), so a frost is shown with one
// attach and one commit. A frost shows the cover first (the tinted opaque
// backdrop with the card, painted straight into the shared buffer), then
// cross-fades to the same frost over a blurred picture of the screen taken
// as the frost began: the settled look.
//
// The picture has to be of the screen, not of the frost, so while it is
// awaited the cover is painted but held back, and it is committed as soon
// as the compositor has made the picture's frame, or when the overlay stops
// waiting (release(): privacy first; a picture that may show the frost is
// then refused and the cover is the settled look).
class FrostCover {
  public:
    FrostCover(WaylandDisplay& display, WaylandOutput& output);
    FrostCover(const FrostCover&) = delete;
    FrostCover& operator=(const FrostCover&) = delete;

    WaylandOutput& output() const { return surface_.output(); }
    LayerSurface& surface() { return surface_; }
    const LayerSurface& surface() const { return surface_; }

    // A frost begins: the output's picture is asked for when `capture`,
    // and the cover is held back until it comes.
    void begin(bool capture);
    // The frost is over: the surface is unmapped, and its buffers, the
    // picture and the frames are let go.
    void end();
    bool isHeldBack() const { return heldBack_; }
    // The picture is asked for and has not come (nor been refused).
    bool isAwaitingPicture() const;
    // The compositor was asked to copy the picture (or nothing is awaited).
    bool isPictureUnderWay() const;
    // The capture ended one way or another and takePicture() has not seen it.
    bool hasCaptureResult() const;
    // Shows the cover at the next present() without waiting any longer.
    void release() { heldBack_ = false; }
    // Blurs the picture that arrived and starts the cross-fade to it; drops
    // a capture that failed or was refused. True when there is a picture.
    bool takePicture(std::chrono::milliseconds crossFade);
    bool showsPicture() const { return !picture_.isNull(); }

    // Paints the current frame at `opacity` and shows it; a held-back cover
    // is only painted, ready to be committed. False when the frame could
    // not be shown (no buffer free, or the surface has no size yet).
    bool present(const FrostLook& look, double opacity);
    // The frames are painted afresh at the next present() (the look or the
    // size changed).
    void invalidate();

    // A frame at full opacity is shown (cover, cross-fade or settled).
    bool isShownAtFullOpacity() const { return shownOpacity_ >= 1.0; }
    // The cross-fade is under way.
    bool isCrossFading() const { return !picture_.isNull() && shownMix_ < 1.0; }
    // The look will not change any more: shown at full opacity, with no
    // picture awaited or untaken, and any cross-fade over.
    bool isSettled() const;

    // The capture ended; called while the display handles its events.
    std::function<void()> onCaptureFinished;

  private:
    double mix() const;
    void paintFrame(QImage& target, const FrostLook& look, double opacity, double mix);

    WaylandDisplay& display_;
    LayerSurface surface_;
    CoverPainter coverPainter_;
    std::unique_ptr<OutputCapture> capture_;
    // The blurred picture (small), and the frost over it at full size and
    // full opacity, kept for the fades.
    QImage picture_;
    QImage settled_;
    std::chrono::milliseconds crossFade_{0};
    QElapsedTimer mixClock_;
    bool heldBack_ = false;
    // The prepared (held-back) frame still shows the current look, at this opacity.
    bool preparedFresh_ = false;
    double preparedOpacity_ = 0.0;
    double shownOpacity_ = 0.0;
    double shownMix_ = 0.0;
};

} // namespace quelmo
