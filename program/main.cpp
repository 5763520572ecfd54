// SPDX-License-Identifier: MIT
// The quelmo program: one-shot command-line switches, or the tray application.
#include "app/launch_options.h"
#include "platform/install/move_to_applications.h"
#include "platform/instance/single_instance.h"
#include "platform/login/login_item.h"
#include "platform/session/session_backends.h"
#include "platform/system/dbus_command_channel.h"
#include "platform/system/quit_on_signal.h"
#include "program/app_delegate.h"
#include "program/headphone_probe.h"
#include "program/usage.h"
#include "ui/i18n/translations.h"
#include "ui/icons/symbol_icons.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QIcon>

#include <clocale>
#include <cstdio>
#include <string>
#include <vector>

namespace {

using quelmo::LaunchRequest;

int sendWord(int argc, char** argv, const std::string& word) {
    QCoreApplication app(argc, argv);
    quelmo::DbusCommandChannel::send(QString::fromStdString(word));
    // Give the signal 0.2 s to leave the process; whether anyone heard it is
    // not known.
    QDeadlineTimer deadline(200);
    while (!deadline.hasExpired()) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    }
    return 0;
}

// Asks the running Quelmo to do what its hot key does.
int recenterRunning(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    switch (quelmo::SingleInstance::requestRecenter(quelmo::SingleInstance::defaultFolder())) {
    case quelmo::SingleInstance::Delivery::delivered:
        return 0;
    case quelmo::SingleInstance::Delivery::notRunning:
        std::fputs("quelmo: Quelmo is not running\n", stderr);
        return 1;
    case quelmo::SingleInstance::Delivery::noAnswer:
        break;
    }
    std::fputs("quelmo: the running Quelmo did not answer\n", stderr);
    return 1;
}

int runApplication(int argc, char** argv) {
    quelmo::MoveToApplications::waitForPredecessor();
    // On GNOME's Wayland session the frost works only through XWayland, so
    // the application runs on Qt's X11 platform there.
    const char* platform = quelmo::requiredQtPlatform(quelmo::currentDesktopSession(),
                                                      qEnvironmentVariableIsSet("QT_QPA_PLATFORM"),
                                                      qEnvironmentVariableIsSet("DISPLAY"));
    if (platform != nullptr) {
        qputenv("QT_QPA_PLATFORM", platform);
    }
    QApplication app(argc, argv);
    // Numbers in files and log lines are written in the C locale whatever the
    // user's language; Qt has just set the process locale from the environment.
    std::setlocale(LC_NUMERIC, "C");
    QApplication::setApplicationName(QStringLiteral("Quelmo"));
    QApplication::setOrganizationName(QStringLiteral("Quelmo"));
    QApplication::setApplicationVersion(QStringLiteral(QUELMO_VERSION_STRING));
    QApplication::setDesktopFileName(QStringLiteral("app.quelmo.Quelmo"));
    // Every text from here on, the tray menu and the frost card included, in
    // the user's language (English when Quelmo does not speak it).
    quelmo::i18n::useSystemLanguage();
    QApplication::setWindowIcon(quelmo::appIcon());
    // A tray application: closing its last window never ends it.
    QApplication::setQuitOnLastWindowClosed(false);

    quelmo::AppDelegate delegate;
    quelmo::SingleInstance instance(quelmo::SingleInstance::defaultFolder());
    if (!instance.claim([&delegate] { delegate.applicationShouldHandleReopen(); })) {
        if (instance.problem().isEmpty()) {
            return 0; // the running Quelmo comes forward instead
        }
        // No other Quelmo was found: a screen left unguarded is worse than
        // the small chance of two copies.
        std::fprintf(stderr, "quelmo: %s; starting without the check for a running Quelmo\n",
                     qPrintable(instance.problem()));
    }
    delegate.applicationDidFinishLaunching();
    instance.setRecenterHandler([&delegate] { delegate.recenterRequested(); });
    const quelmo::QuitOnSignal quitOnSignal;
    return QApplication::exec();
}

} // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv, argv + argc);
    const LaunchRequest request = quelmo::parseLaunchOptions(args);
    switch (request.kind) {
    case LaunchRequest::Kind::removeLoginItem:
        quelmo::LoginItem::forRunningProgram().set(false);
        return 0;
    case LaunchRequest::Kind::addLoginItem:
        quelmo::LoginItem::forRunningProgram().set(true);
        return 0;
    case LaunchRequest::Kind::send:
        return sendWord(argc, argv, request.word);
    case LaunchRequest::Kind::recenter:
        return recenterRunning(argc, argv);
    case LaunchRequest::Kind::probe:
        return quelmo::probeHeadphones(argc, argv, {request.seconds, request.capture});
    case LaunchRequest::Kind::help: {
        QCoreApplication app(argc, argv);
        quelmo::i18n::useSystemLanguage();
        std::fputs(QCoreApplication::translate("Usage", quelmo::kUsage).toLocal8Bit().constData(),
                   stdout);
        return 0;
    }
    case LaunchRequest::Kind::version:
        std::printf("quelmo %s\n", QUELMO_VERSION_STRING);
        return 0;
    case LaunchRequest::Kind::run:
        break;
    }
    return runApplication(argc, argv);
}
