// SPDX-License-Identifier: MIT
// How long the layer-shell frost takes to cover the outputs of a Wayland
// compositor: from setFrost(true, away: false) to every output carrying its
// frame at full opacity and the compositor having taken every commit (a
// round trip). Run on a private headless sway (software rendering) with one
// 1920 × 1080 output, then two, with and without the screen's picture.
// The fade is left out (zero length), as on X11 without a compositor.
// Arguments are ignored, so the benchmark runner's flags do no harm.

#include "platform/wayland/wayland_display.h"
#include "sway_session.h"
#include "ui/wayland_frost/layer_frost_overlay.h"

#include <QElapsedTimer>
#include <QGuiApplication>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

constexpr int kWarmUpRounds = 3;
constexpr int kRounds = 30;

bool measure(const char* label, bool capture) {
    auto display = quelmo::WaylandDisplay::connect();
    if (!display) {
        return false;
    }
    quelmo::LayerFrostOverlay::Options options;
    options.fadeIn = std::chrono::milliseconds(0);
    options.fadeOut = std::chrono::milliseconds(0);
    options.capture = capture;
    quelmo::LayerFrostOverlay overlay(std::move(display), options);
    std::vector<double> times;
    for (int round = 0; round < kWarmUpRounds + kRounds; ++round) {
        QElapsedTimer clock;
        clock.start();
        overlay.setFrost(true, false);
        if (!quelmo::test::waitFor([&overlay] { return overlay.coversEveryOutput(); }) ||
            !overlay.display().roundtrip()) {
            return false;
        }
        const double ms = static_cast<double>(clock.nsecsElapsed()) / 1e6;
        if (round >= kWarmUpRounds) {
            times.push_back(ms);
        }
        overlay.setFrost(false, false);
        quelmo::test::waitFor([&overlay] { return overlay.surfacesShown() == 0; });
        overlay.display().roundtrip();
    }
    std::sort(times.begin(), times.end());
    std::printf("%-40s median %.1f ms, best %.1f ms, 90th percentile %.1f ms, worst %.1f ms"
                " (%d rounds)\n",
                label, times[times.size() / 2], times.front(), times[times.size() * 9 / 10],
                times.back(), kRounds);
    std::fflush(stdout);
    return true;
}

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    quelmo::test::SwaySession sway;
    QString why;
    if (!sway.start(&why)) {
        std::printf("sway frost latency: skipped (%s)\n", qPrintable(why));
        return 0;
    }
    sway.swaymsg({QStringLiteral("output"), QStringLiteral("HEADLESS-1"),
                  QStringLiteral("resolution"), QStringLiteral("1920x1080")});
    bool ok = measure("sway, one 1920x1080, screencopy + blur", true) &&
              measure("sway, one 1920x1080, opaque backdrop", false);
    sway.swaymsg({QStringLiteral("create_output")});
    sway.swaymsg({QStringLiteral("output"), QStringLiteral("HEADLESS-2"),
                  QStringLiteral("resolution"), QStringLiteral("1920x1080")});
    ok = ok && measure("sway, two 1920x1080, screencopy + blur", true);
    return ok ? 0 : 1;
}
