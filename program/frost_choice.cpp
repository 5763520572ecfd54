// SPDX-License-Identifier: MIT
#include "program/frost_choice.h"

#include "platform/session/session_backends.h"
#include "platform/wayland/wayland_display.h"
#include "ui/overlay/frost_coverage.h"
#include "ui/overlay/frost_frame.h"
#include "ui/overlay/frost_overlay.h"
#include "ui/wayland_frost/layer_frost_overlay.h"

#include <QGuiApplication>

namespace quelmo {

namespace {

// Stands in where nothing can cover the screen: it pretends nothing, the
// problem is told elsewhere.
class NoFrost final : public OverlayPort {
  public:
    void setFrost(bool, bool) override {}
    void preview(double) override {}
    void setStrength(double) override {}
};

} // namespace

FrostChoice chooseFrost(const DesktopSession& session,
                        const std::shared_ptr<WaylandConnection>& connection) {
    std::unique_ptr<WaylandDisplay> wayland;
    if (session.isWayland()) {
        wayland = WaylandDisplay::create(connection);
    }
    const bool layerShell = wayland && wayland->layerShell() != nullptr;
    const bool qtOnX11 = QGuiApplication::platformName() == QLatin1String("xcb");
    const FrostBackend backend = chooseFrostBackend(session, layerShell, qtOnX11);

    FrostChoice choice;
    switch (backend) {
    case FrostBackend::x11Windows:
        choice.overlay = std::make_unique<FrostOverlay>();
        choice.name = frostBackendName(backend, false);
        break;
    case FrostBackend::layerShell: {
        auto overlay = std::make_unique<LayerFrostOverlay>(std::move(wayland));
        choice.name = frostBackendName(backend, overlay->capturesScreen());
        choice.overlay = std::move(overlay);
        break;
    }
    case FrostBackend::xwaylandWindows: {
        // XWayland cannot read the screen (the root window holds no picture
        // of Wayland windows), so the windows show an opaque backdrop.
        FrostOverlay::Options options;
        options.backdrop = [](FrostWindow&) { return opaqueBackdrop(); };
        choice.overlay = std::make_unique<FrostOverlay>(options);
        choice.name = frostBackendName(backend, false);
        break;
    }
    case FrostBackend::none:
        choice.overlay = std::make_unique<NoFrost>();
        choice.name = frostBackendName(backend, false);
        setFrostCoverageProblem(noCoverageText());
        break;
    }
    return choice;
}

} // namespace quelmo
