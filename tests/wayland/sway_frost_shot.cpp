// SPDX-License-Identifier: MIT
// Takes a screenshot of the layer-shell frost once its look has settled, on
// a private headless sway with one 1920 × 1080 output showing the test
// window (a checkerboard and a large word), so the look can be compared
// from one version of the frost to the next.
//
// Usage: sway_frost_shot OUT.png [picture|backdrop] [STRENGTH]
// "picture" frosts over the screen's picture (screencopy), "backdrop" over
// the opaque backdrop. Fades are left out.

#include "platform/wayland/wayland_display.h"
#include "platform/wayland_connection/wayland_connection.h"
#include "sway_session.h"
#include "ui/wayland_frost/layer_frost_overlay.h"

#include <QGuiApplication>
#include <QProcess>

#include <cstdio>

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s OUT.png [picture|backdrop] [STRENGTH]\n", argv[0]);
        return 2;
    }
    const QString out = QString::fromLocal8Bit(argv[1]);
    const bool picture = argc < 3 || QByteArray(argv[2]) != "backdrop";
    const double strength = argc < 4 ? 0.6 : QByteArray(argv[3]).toDouble();

    quelmo::test::SwaySession sway;
    QString why;
    if (!sway.start(&why)) {
        std::fprintf(stderr, "no sway: %s\n", qPrintable(why));
        return 1;
    }
    const QString output = QStringLiteral("HEADLESS-1");
    sway.swaymsg({QStringLiteral("output"), output, QStringLiteral("resolution"),
                  QStringLiteral("1920x1080")});
    QProcess target;
    target.setProcessEnvironment(sway.clientEnvironment());
    target.start(QStringLiteral(QUELMO_INPUT_TARGET), {});
    if (!quelmo::test::waitFor(
            [&] {
                const QImage shot = sway.screenshot(output);
                return shot.width() == 1920 && quelmo::test::fineDetail(shot) > 20;
            },
            std::chrono::seconds(10))) {
        std::fprintf(stderr, "the test window never showed\n");
        return 1;
    }

    auto display = quelmo::WaylandDisplay::create(quelmo::WaylandConnection::connect());
    if (!display) {
        return 1;
    }
    quelmo::LayerFrostOverlay::Options options;
    options.fadeIn = std::chrono::milliseconds(0);
    options.fadeOut = std::chrono::milliseconds(0);
    options.crossFade = std::chrono::milliseconds(0);
    options.capture = picture;
    // The look is what is compared: time enough for the picture on a busy machine.
    options.captureWait = std::chrono::seconds(1);
    quelmo::LayerFrostOverlay overlay(std::move(display), options);
    overlay.setStrength(strength);
    overlay.setFrost(true, false);
    if (!quelmo::test::waitFor([&] { return overlay.settledOnEveryOutput(); }) ||
        !overlay.display().connection().roundtrip()) {
        std::fprintf(stderr, "the frost did not settle on the output\n");
        return 1;
    }
    if (picture && overlay.outputsShowingPicture() != 1) {
        std::fprintf(stderr, "the frost settled without the screen's picture\n");
        return 1;
    }
    // Let the compositor draw the last frame before the picture is taken.
    quelmo::test::waitFor([] { return false; }, std::chrono::milliseconds(300));
    const QImage shot = sway.screenshot(output);
    target.kill();
    target.waitForFinished();
    if (shot.isNull() || !shot.save(out)) {
        std::fprintf(stderr, "no screenshot\n");
        return 1;
    }
    std::printf("wrote %s (%s, strength %.2f)\n", qPrintable(out), picture ? "picture" : "backdrop",
                strength);
    return 0;
}
