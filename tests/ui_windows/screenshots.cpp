// SPDX-License-Identifier: MIT
// Opens the settings window and every page of the welcome guide in typical
// states and saves each as a PNG, for a look by eye, in the language of the
// environment (LANGUAGE=de ...). Run on a real X server (for example a
// private Xvfb): ui_screenshots OUTPUT_FOLDER
#include "tests/ui_windows/window_tour.h"
#include "ui/i18n/translations.h"

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
    // The language to show (en, de, fr, es), from the environment as Quelmo
    // itself takes it.
    i18n::useSystemLanguage();
    bool ok = true;
    tourWindows([&ok](QQuickView* window, const char* name) { ok &= save(window, name); });
    return ok ? 0 : 1;
}
