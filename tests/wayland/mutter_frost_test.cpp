// SPDX-License-Identifier: MIT
// The X11 frost through XWayland on a headless mutter (GNOME's compositor),
// as Quelmo runs in GNOME's Wayland session: the probe checks the windows
// from the X side.

#include "sway_session.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>

#include <gtest/gtest.h>

#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>

namespace quelmo {
namespace {

// The ":N" and cookie file of the XWayland that mutter started for the
// session whose runtime folder is `runtimeDir` (both on its command line).
bool findXWayland(const QString& runtimeDir, QString* display, QString* cookie) {
    const QStringList processes = QDir(QStringLiteral("/proc")).entryList(QDir::Dirs);
    for (const QString& pid : processes) {
        QFile file(QStringLiteral("/proc/%1/cmdline").arg(pid));
        if (!file.open(QIODevice::ReadOnly)) {
            continue;
        }
        const QList<QByteArray> args = file.readAll().split('\0');
        if (args.size() < 2 || !args[0].endsWith("Xwayland")) {
            continue;
        }
        const int auth = args.indexOf("-auth");
        if (auth < 0 || auth + 1 >= args.size() ||
            !args[auth + 1].startsWith(runtimeDir.toLocal8Bit())) {
            continue;
        }
        *display = QString::fromLocal8Bit(args[1]);
        *cookie = QString::fromLocal8Bit(args[auth + 1]);
        return display->startsWith(QLatin1Char(':'));
    }
    return false;
}

TEST(MutterFrostTest, XWaylandWindowsCoverTheScreenWithTheOpaqueBackdrop) {
    for (const char* tool : {"mutter", "Xwayland", "dbus-run-session"}) {
        if (QStandardPaths::findExecutable(QString::fromLatin1(tool)).isEmpty()) {
            GTEST_SKIP() << tool << " is not installed (packages mutter, xwayland, dbus)";
        }
    }
    QByteArray folder = QByteArrayLiteral("/tmp/quelmo-mutter-XXXXXX");
    ASSERT_NE(mkdtemp(folder.data()), nullptr);
    const QString runtimeDir = QString::fromLocal8Bit(folder);
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtimeDir);
    env.remove(QStringLiteral("DISPLAY"));
    env.remove(QStringLiteral("WAYLAND_DISPLAY"));
    QProcess mutter;
    // Its own process group: dbus-run-session does not pass a termination on
    // to mutter, so the whole group (bus, mutter, XWayland) is ended at once.
    mutter.setChildProcessModifier([] { setpgid(0, 0); });
    mutter.setProcessEnvironment(env);
    mutter.setStandardOutputFile(QProcess::nullDevice());
    mutter.setStandardErrorFile(QProcess::nullDevice());
    mutter.start(QStringLiteral("dbus-run-session"),
                 {QStringLiteral("--"), QStringLiteral("mutter"), QStringLiteral("--headless"),
                  QStringLiteral("--wayland"), QStringLiteral("--wayland-display=wayland-quelmo"),
                  QStringLiteral("--virtual-monitor"), QStringLiteral("1280x720")});
    QString display;
    QString cookie;
    const bool up = test::waitFor(
        [&] {
            return findXWayland(runtimeDir, &display, &cookie) ||
                   mutter.state() == QProcess::NotRunning;
        },
        std::chrono::seconds(20));
    if (up && !display.isEmpty()) {
        QProcess probe;
        QProcessEnvironment probeEnv = env;
        probeEnv.insert(QStringLiteral("DISPLAY"), display);
        probeEnv.insert(QStringLiteral("XAUTHORITY"), cookie);
        probe.setProcessEnvironment(probeEnv);
        probe.setProcessChannelMode(QProcess::MergedChannels);
        probe.start(QStringLiteral(QUELMO_XWAYLAND_PROBE), {});
        EXPECT_TRUE(probe.waitForFinished(30000));
        const QString report = QString::fromUtf8(probe.readAll());
        std::printf("%s", qPrintable(report));
        EXPECT_EQ(probe.exitCode(), 0) << report.toStdString();
        EXPECT_TRUE(report.contains(QLatin1String("\nok\n")) || report.startsWith("ok"))
            << report.toStdString();
    }
    const pid_t group = static_cast<pid_t>(mutter.processId());
    if (group > 0) {
        ::kill(-group, SIGTERM);
    }
    if (!mutter.waitForFinished(5000) && group > 0) {
        ::kill(-group, SIGKILL);
        mutter.waitForFinished();
    }
    QDir(runtimeDir).removeRecursively();
    ASSERT_TRUE(up && !display.isEmpty()) << "mutter did not start XWayland";
}

} // namespace
} // namespace quelmo
