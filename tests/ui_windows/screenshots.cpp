// Opens the settings window and every page of the welcome guide in typical
// states and saves each as a PNG, for a look by eye. Run on a real X server
// (for example a private Xvfb): ui_screenshots OUTPUT_FOLDER
#include "tests/ui_windows/windows_rig.h"

#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QQuickItem>
#include <QThread>

#include <cstdio>
#include <functional>

using namespace quelmo;
using namespace quelmo::testing;

namespace {

QString outputFolder;

void settle() {
    for (int i = 0; i < 20; ++i) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        QThread::msleep(10);
    }
}

bool save(QQuickView* window, const char* name) {
    settle();
    const QImage image = window->grabWindow();
    const QString path = QDir(outputFolder).filePath(QString::fromLatin1(name) + ".png");
    const bool ok = image.save(path);
    std::printf("%s %s (%dx%d)\n", ok ? "saved" : "FAILED", qPrintable(path), image.width(),
                image.height());
    return ok;
}

void scrollSettings(QQuickView* window, double fraction) {
    auto* flickable = part(window, "scroller")->property("contentItem").value<QObject*>();
    const double range =
        flickable->property("contentHeight").toDouble() - flickable->property("height").toDouble();
    flickable->setProperty("contentY", range * fraction);
}

// Watching, with the head turned to `heading`.
void watchAt(WindowsRig& rig, double heading) {
    rig.samples(0.0, 3.5);
    rig.turn(0.0, heading);
    rig.samples(heading, 1.0);
}

} // namespace

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    QCoreApplication::setApplicationVersion(QStringLiteral("1.0.0"));
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s OUTPUT_FOLDER\n", argv[0]);
        return 2;
    }
    outputFolder = QString::fromLocal8Bit(argv[1]);
    QDir().mkpath(outputFolder);
    bool ok = true;

    {
        WindowsRig rig;
        rig.start();
        rig.windows->showSettings(); // the model publishes angles while a gauge is shown
        rig.store.set("diagnostics", "true");
        watchAt(rig, 23.0);
        QQuickView* w = rig.windows->settingsWindow();
        ok &= save(w, "settings-top");
        scrollSettings(w, 1.0);
        ok &= save(w, "settings-bottom");
    }
    {
        WindowsRig rig;
        rig.tracker.platformStatus = HeadTrackerPort::PlatformAuthorization::notDetermined;
        rig.start();
        rig.windows->showSettings();
        ok &= save(rig.windows->settingsWindow(), "settings-needs-setup");
    }
    {
        WindowsRig rig;
        rig.tracker.platformStatus = HeadTrackerPort::PlatformAuthorization::notDetermined;
        rig.start();
        rig.windows->showOnboarding();
        ok &= save(rig.windows->onboardingWindow(), "guide-1-welcome");
        rig.windows->showOnboarding(onboarding::Step::permission);
        ok &= save(rig.windows->onboardingWindow(), "guide-2-permission");
        rig.tracker.platformStatus = HeadTrackerPort::PlatformAuthorization::denied;
        rig.model->requestMotionAccess();
        rig.scheduler.advance(0.5);
        ok &= save(rig.windows->onboardingWindow(), "guide-2-permission-denied");
    }
    {
        WindowsRig rig;
        rig.start();
        rig.windows->showOnboarding(onboarding::Step::permission);
        ok &= save(rig.windows->onboardingWindow(), "guide-2-permission-allowed");
        press(part(rig.windows->onboardingWindow(), "primaryButton"));
        ok &= save(rig.windows->onboardingWindow(), "guide-3-try-waiting");
        watchAt(rig, 38.0);
        ok &= save(rig.windows->onboardingWindow(), "guide-3-try-live");
        rig.turn(38.0, 80.0);
        rig.samples(80.0, 2.0);
        rig.turn(80.0, 0.0);
        rig.samples(0.0, 0.5);
        ok &= save(rig.windows->onboardingWindow(), "guide-3-try-success");
        rig.windows->showOnboarding(onboarding::Step::done);
        ok &= save(rig.windows->onboardingWindow(), "guide-4-done");
    }
    return ok ? 0 : 1;
}
