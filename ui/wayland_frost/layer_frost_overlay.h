// SPDX-License-Identifier: MIT
#pragma once

#include "app/ui_ports.h"
#include "ui/overlay/frost_request.h"
#include "ui/wayland_frost/frost_cover.h"

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>

#include <chrono>
#include <functional>
#include <memory>
#include <utility>
#include <vector>

namespace quelmo {

class WaylandDisplay;
struct WaylandOutput;

// The frost in a Wayland session whose compositor offers layer shell (KWin,
// sway and the other wlroots desktops): one overlay-layer surface per output,
// with the same card, wording, strength, fades and state rules as the X11
// windows. Cover first, look second: each output is covered by the tinted
// opaque backdrop as soon as it can be, and where the compositor offers
// screencopy the frost then cross-fades to the blurred picture of the
// screen taken as it began; elsewhere the backdrop stays, so nothing under
// the frost is ever readable.
//
// The surfaces are made when the outputs appear and kept, unmapped and
// without buffers, while hidden, so a frost is one attach and one commit per
// output. States: hidden (no surface mapped once a fade-out has ended) and
// shown (a frame on every output, faded to full opacity). Outputs added
// while shown are covered at once; outputs removed take their surface
// along; resized or rescaled outputs get a new frame at their new size.
// Main thread only.
class LayerFrostOverlay : public QObject, public OverlayPort {
  public:
    struct Options {
        std::chrono::milliseconds fadeIn{140};
        std::chrono::milliseconds fadeOut{180};
        // From the cover to the frost over the screen's picture.
        std::chrono::milliseconds crossFade{140};
        // Take the outputs' pictures where screencopy is offered.
        bool capture = true;
        // How long the cover may wait for the compositor to make the
        // picture's frame (the picture must not show the frost). After
        // that the cover goes up regardless and the picture is used only
        // if it provably came first.
        std::chrono::milliseconds captureWait{25};
    };

    LayerFrostOverlay(std::unique_ptr<WaylandDisplay> display, Options options);
    explicit LayerFrostOverlay(std::unique_ptr<WaylandDisplay> display);
    ~LayerFrostOverlay() override;

    // OverlayPort
    void setFrost(bool frosted, bool away) override;
    void preview(double seconds) override;
    void setStrength(double strength) override;

    bool isShown() const { return isShown_; }
    double opacity() const { return opacity_; }
    // Whether the pictures under the frost come from the screen.
    bool capturesScreen() const;
    // Surfaces that exist now (one per output, shown or not).
    int surfaceCount() const { return static_cast<int>(covers_.size()); }
    // Surfaces with a frame attached.
    int surfacesShown() const;
    // Every output carries a frame at full opacity.
    bool coversEveryOutput() const;
    // Every output shows its final look at full opacity (cross-fades over).
    bool settledOnEveryOutput() const;
    // Outputs whose frost is over the picture of their screen.
    int outputsShowingPicture() const;
    WaylandDisplay& display() const { return *display_; }

    // Every output has just been covered (a frame at full opacity committed
    // on each), once per frost; and the compositor has drawn those frames
    // (called while the display handles its events).
    std::function<void()> onEveryOutputCovered;
    std::function<void()> onEveryOutputDrawn;

    static constexpr double kLongestPreview = FrostRequest::kLongestPreview;
    // How often a shown frost checks that every output still has its surface
    // (one the compositor closed is made again).
    static constexpr std::chrono::milliseconds kCheckInterval{250};

  private:
    FrostLook look() const;
    void apply();
    void beginFrost();
    void startFade(double target, std::chrono::milliseconds duration);
    void stepFade();
    void ensureCovered();
    void addCover(WaylandOutput& output);
    void dropCover(WaylandOutput& output);
    void capturesFinished();
    void takePictures();
    // Paints and shows every cover's frame, or only those not shown yet.
    void presentAll(bool everyCover);
    void invalidateFrames();
    void checkCoversDrawn();

    std::unique_ptr<WaylandDisplay> display_;
    Options options_;
    std::vector<std::unique_ptr<FrostCover>> covers_;
    bool isShown_ = false;
    FrostRequest request_;

    double opacity_ = 0.0;
    double fadeFrom_ = 0.0;
    double fadeTarget_ = 0.0;
    std::chrono::milliseconds fadeDuration_{0};
    QElapsedTimer fadeClock_;
    QTimer fadeTimer_;
    QTimer crossFadeTimer_;
    QTimer captureWaitTimer_;
    QTimer checkTimer_;
    bool capturesFinishing_ = false;
    // onEveryOutputCovered was called for this frost.
    bool coveredTold_ = false;
    // The frames that covered the outputs, until the compositor has drawn
    // them all: each surface with its count of committed frames then.
    std::vector<std::pair<const LayerSurface*, int>> coveringFrames_;
};

} // namespace quelmo
