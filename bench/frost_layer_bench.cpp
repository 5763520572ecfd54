// SPDX-License-Identifier: MIT
// How long the layer-shell frost takes on a Wayland compositor, from
// setFrost(true, away: false):
// - covered: every output carries a frame at full opacity (the tinted
//   cover, or already the frost over the screen's picture) and the
//   compositor has taken every commit (a round trip);
// - drawn: the compositor has drawn those frames (their frame callbacks):
//   with a picture, not before the frame after the picture's own;
// - settled: every output shows its final look (the frost over the blurred
//   picture of its screen) and the compositor has taken it.
// Run on a private headless sway (software rendering, pixman) with one
// 1920 × 1080 output, then two, with the screen's picture and without it
// (the opaque backdrop). Beside it, how long `grim` takes for a screenshot
// of the same outputs: the compositor's own cost of a picture. Fades and
// the cross-fade are left out (zero length), as on X11 without a
// compositor. 30 rounds after 3 warm-up rounds, the screen left idle for
// 0.1 s between rounds; spread = 10th to 90th percentile.
// Arguments are ignored, so the benchmark runner's flags do no harm.

#include "bench/bench_results.h"
#include "platform/wayland/wayland_display.h"
#include "platform/wayland_connection/wayland_connection.h"
#include "sway_session.h"
#include "ui/wayland_frost/layer_frost_overlay.h"

#include <QElapsedTimer>
#include <QGuiApplication>
#include <QProcess>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

namespace {

constexpr int kWarmUpRounds = 3;
constexpr int kRounds = 30;
constexpr std::chrono::milliseconds kIdleBetweenRounds{100};

struct Spread {
    double median = 0;
    double low = 0;  // 10th percentile
    double high = 0; // 90th percentile
    double worst = 0;
};

Spread spreadOf(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const auto at = [&values](double p) {
        return values[static_cast<std::size_t>(p * static_cast<double>(values.size() - 1) + 0.5)];
    };
    return {at(0.5), at(0.1), at(0.9), values.back()};
}

std::string text(const Spread& s) {
    char out[96];
    std::snprintf(out, sizeof out, "%.1f ms (%.1f-%.1f)", s.median, s.low, s.high);
    return out;
}

double msSince(const QElapsedTimer& clock) {
    return static_cast<double>(clock.nsecsElapsed()) / 1e6;
}

struct Figures {
    Spread covered;
    Spread drawn;
    Spread settled;
    int onPicture = 0;
};

bool measure(const char* label, bool capture, Figures& figures) {
    auto display = quelmo::WaylandDisplay::create(quelmo::WaylandConnection::connect());
    if (!display) {
        return false;
    }
    quelmo::LayerFrostOverlay::Options options;
    options.fadeIn = std::chrono::milliseconds(0);
    options.fadeOut = std::chrono::milliseconds(0);
    options.crossFade = std::chrono::milliseconds(0);
    options.capture = capture;
    quelmo::LayerFrostOverlay overlay(std::move(display), options);
    const int outputs = static_cast<int>(overlay.display().outputs().size());
    // The surfaces are made with the overlay; the first frost finds them configured.
    quelmo::test::waitFor([] { return false; }, kIdleBetweenRounds);
    std::vector<double> covered, drawn, settled;
    figures.onPicture = 0;
    QElapsedTimer clock;
    double coveredMs = -1;
    double drawnMs = -1;
    // Timed where it happens: the blurring that follows in the same turn of
    // the event loop must not count.
    overlay.onEveryOutputCovered = [&] {
        if (overlay.display().connection().roundtrip()) {
            coveredMs = msSince(clock);
        }
    };
    overlay.onEveryOutputDrawn = [&] { drawnMs = msSince(clock); };
    for (int round = 0; round < kWarmUpRounds + kRounds; ++round) {
        coveredMs = -1;
        drawnMs = -1;
        clock.start();
        overlay.setFrost(true, false);
        if (!quelmo::test::waitFor([&] { return coveredMs >= 0 && drawnMs >= 0; })) {
            return false;
        }
        if (!quelmo::test::waitFor([&overlay] { return overlay.settledOnEveryOutput(); }) ||
            !overlay.display().connection().roundtrip()) {
            return false;
        }
        if (round >= kWarmUpRounds) {
            covered.push_back(coveredMs);
            drawn.push_back(drawnMs);
            settled.push_back(msSince(clock));
            figures.onPicture += overlay.outputsShowingPicture() == outputs ? 1 : 0;
        }
        overlay.setFrost(false, false);
        quelmo::test::waitFor([&overlay] { return overlay.surfacesShown() == 0; });
        overlay.display().connection().roundtrip();
        quelmo::test::waitFor([] { return false; }, kIdleBetweenRounds);
    }
    figures.covered = spreadOf(covered);
    figures.drawn = spreadOf(drawn);
    figures.settled = spreadOf(settled);
    std::printf("%s\n  covered %s, worst %.1f ms; drawn by sway %s, worst %.1f ms\n", label,
                text(figures.covered).c_str(), figures.covered.worst, text(figures.drawn).c_str(),
                figures.drawn.worst);
    if (capture) {
        std::printf("  settled over the picture %s, worst %.1f ms; on the picture in %d of %d "
                    "rounds (the others kept the backdrop)\n",
                    text(figures.settled).c_str(), figures.settled.worst, figures.onPicture,
                    kRounds);
    }
    std::fflush(stdout);
    return true;
}

// grim's time for a screenshot of every output (PPM, to nowhere).
bool timeGrim(const quelmo::test::SwaySession& sway, Spread& spread) {
    std::vector<double> times;
    for (int round = 0; round < kWarmUpRounds + kRounds; ++round) {
        QProcess grim;
        grim.setProcessEnvironment(sway.clientEnvironment());
        grim.setStandardOutputFile(QProcess::nullDevice());
        QElapsedTimer clock;
        clock.start();
        grim.start(QStringLiteral("grim"),
                   {QStringLiteral("-t"), QStringLiteral("ppm"), QStringLiteral("-")});
        if (!grim.waitForFinished(10000) || grim.exitCode() != 0) {
            return false;
        }
        if (round >= kWarmUpRounds) {
            times.push_back(msSince(clock));
        }
        quelmo::test::waitFor([] { return false; }, kIdleBetweenRounds);
    }
    spread = spreadOf(times);
    std::printf("  grim, a screenshot of the same outputs: %s, worst %.1f ms\n",
                text(spread).c_str(), spread.worst);
    std::fflush(stdout);
    return true;
}

void record(const char* outputs, double goal, const Figures& withPicture, const Figures& backdrop,
            const Spread& grim) {
    char figure[96];
    std::snprintf(figure, sizeof figure, "Wayland frost covered, %s (sway, pixman)", outputs);
    char goalText[32];
    std::snprintf(goalText, sizeof goalText, "median < %.0f ms", goal);
    const std::string measured = text(withPicture.covered) + "; drawn " + text(withPicture.drawn) +
                                 "; settled " + text(withPicture.settled) + "; backdrop only " +
                                 text(backdrop.covered) + "; grim " + text(grim) + "; picture " +
                                 std::to_string(withPicture.onPicture) + "/" +
                                 std::to_string(kRounds);
    quelmo::bench::record(figure, goalText, measured,
                          withPicture.covered.median < goal && backdrop.covered.median < goal);
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
    Figures picture, backdrop;
    Spread grim;
    bool ok = measure("sway, one 1920x1080, cover then screencopy + blur", true, picture) &&
              measure("sway, one 1920x1080, opaque backdrop only", false, backdrop) &&
              timeGrim(sway, grim);
    if (ok) {
        record("one 1920x1080 output", 17, picture, backdrop, grim);
    }
    sway.swaymsg({QStringLiteral("create_output")});
    sway.swaymsg({QStringLiteral("output"), QStringLiteral("HEADLESS-2"),
                  QStringLiteral("resolution"), QStringLiteral("1920x1080")});
    ok = ok && measure("sway, two 1920x1080, cover then screencopy + blur", true, picture) &&
         measure("sway, two 1920x1080, opaque backdrop only", false, backdrop) &&
         timeGrim(sway, grim);
    if (ok) {
        record("two 1920x1080 outputs", 25, picture, backdrop, grim);
    }
    return ok ? 0 : 1;
}
