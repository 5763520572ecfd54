// How long the frost takes to cover the screens: from setFrost(true, away:
// false) to every window painted with its blurred picture and the X server
// done drawing it. Run on a private Xvfb with one 3840 × 2160 screen, then
// with two 1920 × 1080 monitors side by side. The goal is under 30 ms.
//
// The program starts each X server itself and measures in a child process
// connected to it (a Qt application talks to one display for its life).
// Arguments are ignored, so the benchmark runner's flags do no harm.

#include "ui/overlay/frost_backdrop.h"
#include "ui/overlay/frost_overlay.h"
#include "ui/overlay/frost_window.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QGuiApplication>
#include <QScreen>
#include <QTimer>

#include <X11/Xlib.h>

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

extern char** environ;

namespace {

constexpr int kWarmUpRounds = 3;
constexpr int kRounds = 30;

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

void idle(int milliseconds) {
    QEventLoop loop;
    QTimer::singleShot(milliseconds, &loop, &QEventLoop::quit);
    loop.exec();
}

int measure(int argc, char** argv, const char* label) {
    QApplication app(argc, argv);
    double pictureMs = 0;
    quelmo::FrostOverlay::Options options;
    options.backdrop = [&pictureMs](quelmo::FrostWindow& window) {
        QElapsedTimer clock;
        clock.start();
        QImage picture = quelmo::blurredBackdrop(window);
        pictureMs += static_cast<double>(clock.nsecsElapsed()) / 1e6;
        return picture;
    };
    quelmo::FrostOverlay overlay(options);
    Display* dpy = qGuiApp->nativeInterface<QNativeInterface::QX11Application>()->display();
    idle(200);

    std::vector<double> total;
    std::vector<double> pictures;
    for (int round = 0; round < kWarmUpRounds + kRounds; ++round) {
        std::vector<int> before;
        for (const auto& window : overlay.windows()) {
            before.push_back(window->framesPainted());
        }
        pictureMs = 0;
        QElapsedTimer clock;
        clock.start();
        overlay.setFrost(true, false);
        for (;;) {
            QCoreApplication::processEvents();
            bool painted = true;
            for (std::size_t i = 0; i < overlay.windows().size(); ++i) {
                const auto& window = overlay.windows()[i];
                painted =
                    painted && window->framesPainted() > before[i] && !window->backdrop().isNull();
            }
            if (painted) {
                break;
            }
        }
        XSync(dpy, False);
        const double ms = static_cast<double>(clock.nsecsElapsed()) / 1e6;
        if (round >= kWarmUpRounds) {
            total.push_back(ms);
            pictures.push_back(pictureMs);
        }
        overlay.setFrost(false, false);
        idle(60);
    }
    std::vector<double> sorted = total;
    std::sort(sorted.begin(), sorted.end());
    QString screens;
    for (QScreen* screen : QGuiApplication::screens()) {
        screens += QStringLiteral(" %1x%2")
                       .arg(screen->geometry().width())
                       .arg(screen->geometry().height());
    }
    std::printf("%-24s screens:%s\n", label, qPrintable(screens));
    std::printf(
        "  frost shown: median %.1f ms, best %.1f ms, 90th percentile %.1f ms, worst %.1f ms"
        " (%d rounds)\n",
        median(total), sorted.front(), sorted[sorted.size() * 9 / 10], sorted.back(), kRounds);
    std::printf("  of which screen pictures (capture + blur, all screens): median %.1f ms\n",
                median(pictures));
    std::fflush(stdout);
    return 0;
}

// Starts Xvfb with `screen` (WIDTHxHEIGHT) and returns its pid and ":N".
pid_t startXvfb(const std::string& screen, std::string& display) {
    int fds[2];
    if (pipe(fds) != 0) {
        return -1;
    }
    const std::string size = screen + "x24";
    const pid_t pid = fork();
    if (pid == 0) {
        dup2(fds[1], 3);
        const int devNull = open("/dev/null", O_WRONLY);
        dup2(devNull, STDERR_FILENO);
        const char* args[] = {"Xvfb",     "-displayfd", "3", "-nolisten",  "tcp",
                              "-noreset", "-screen",    "0", size.c_str(), nullptr};
        execvp(args[0], const_cast<char* const*>(args));
        _exit(127);
    }
    close(fds[1]);
    char c = 0;
    std::string number;
    while (read(fds[0], &c, 1) == 1 && c != '\n') {
        number.push_back(c);
    }
    close(fds[0]);
    if (number.empty()) {
        waitpid(pid, nullptr, 0);
        return -1;
    }
    display = ":" + number;
    return pid;
}

struct Setup {
    const char* label;
    const char* screen;
    std::vector<std::string> monitorCommands;
};

} // namespace

int main(int argc, char** argv) {
    if (const char* label = std::getenv("QUELMO_FROST_BENCH_LABEL")) {
        return measure(argc, argv, label);
    }
    const std::vector<Setup> setups = {
        {"one 4K screen", "3840x2160", {}},
        {"two 1080p screens",
         "3840x1080",
         {"xrandr --setmonitor bench-left 1920/508x1080/286+0+0 screen",
          "xrandr --setmonitor bench-right 1920/508x1080/286+1920+0 none"}},
    };
    int status = 0;
    for (const Setup& setup : setups) {
        std::string display;
        const pid_t server = startXvfb(setup.screen, display);
        if (server < 0) {
            std::printf("%s: cannot start Xvfb; skipped\n", setup.label);
            continue;
        }
        setenv("DISPLAY", display.c_str(), 1);
        bool ready = true;
        for (const std::string& command : setup.monitorCommands) {
            ready = ready && std::system((command + " >/dev/null 2>&1").c_str()) == 0;
        }
        if (!ready) {
            std::printf("%s: xrandr could not set up the monitors; skipped\n", setup.label);
        } else {
            setenv("QUELMO_FROST_BENCH_LABEL", setup.label, 1);
            setenv("QT_QPA_PLATFORM", "xcb", 1);
            const pid_t child = fork();
            if (child == 0) {
                execv("/proc/self/exe", argv);
                _exit(127);
            }
            int childStatus = 0;
            waitpid(child, &childStatus, 0);
            unsetenv("QUELMO_FROST_BENCH_LABEL");
            if (!WIFEXITED(childStatus) || WEXITSTATUS(childStatus) != 0) {
                status = 1;
            }
        }
        kill(server, SIGTERM);
        waitpid(server, nullptr, 0);
    }
    return status;
}
