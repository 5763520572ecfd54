// SPDX-License-Identifier: MIT
#pragma once

#include "app/ui_ports.h"
#include "platform/wayland/layer_surface.h"
#include "ui/overlay/frost_request.h"

#include <QElapsedTimer>
#include <QImage>
#include <QObject>
#include <QTimer>

#include <chrono>
#include <memory>
#include <vector>

namespace quelmo {

class WaylandDisplay;
struct WaylandOutput;

// The frost in a Wayland session whose compositor offers layer shell (KWin,
// sway and the other wlroots desktops): one overlay-layer surface per output,
// with the same card, wording, strength, fades and state rules as the X11
// windows. Where the compositor offers screencopy, each output's picture is
// taken just before it is covered and blurred; elsewhere an opaque backdrop
// stands in, so nothing under the frost is ever readable.
//
// States: hidden (no surfaces at all once a fade-out has ended) and shown
// (a surface on every output, faded to full opacity). Outputs added while
// shown are covered at once; outputs removed take their surface along;
// resized or rescaled outputs get a new frame at their new size. Main thread
// only.
class LayerFrostOverlay : public QObject, public OverlayPort {
  public:
    struct Options {
        std::chrono::milliseconds fadeIn{140};
        std::chrono::milliseconds fadeOut{180};
        // Take the outputs' pictures where screencopy is offered.
        bool capture = true;
        std::chrono::milliseconds captureTimeout{400};
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
    // Surfaces that exist now (one per covered output).
    int surfaceCount() const { return static_cast<int>(covers_.size()); }
    // Every output carries a frame at full opacity.
    bool coversEveryOutput() const;
    WaylandDisplay& display() const { return *display_; }

    static constexpr double kLongestPreview = FrostRequest::kLongestPreview;
    // How often a shown frost checks that every output still has its surface
    // (one the compositor closed is made again).
    static constexpr std::chrono::milliseconds kCheckInterval{250};

  private:
    struct Cover {
        WaylandOutput* output = nullptr;
        std::unique_ptr<LayerSurface> surface;
        // The untinted picture under the frost, and the finished frame at
        // full opacity in the surface's device pixels.
        QImage picture;
        QImage frame;
        bool shownAtFullOpacity = false;
    };

    void apply();
    void startFade(double target, std::chrono::milliseconds duration);
    void stepFade();
    void ensureCovered();
    void dropCover(WaylandOutput& output);
    void presentAll();
    bool present(Cover& cover);
    void invalidateFrames();
    QImage pictureFor(const std::vector<WaylandOutput*>& outputs, std::size_t index,
                      const std::vector<QImage>& captured) const;

    std::unique_ptr<WaylandDisplay> display_;
    Options options_;
    std::vector<std::unique_ptr<Cover>> covers_;
    bool isShown_ = false;
    FrostRequest request_;

    double opacity_ = 0.0;
    double fadeFrom_ = 0.0;
    double fadeTarget_ = 0.0;
    std::chrono::milliseconds fadeDuration_{0};
    QElapsedTimer fadeClock_;
    QTimer fadeTimer_;
    QTimer checkTimer_;
    // Outputs removed while ensureCovered() waited on the compositor.
    std::vector<WaylandOutput*> removedMeanwhile_;
};

} // namespace quelmo
