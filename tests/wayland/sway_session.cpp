// SPDX-License-Identifier: MIT
#include "sway_session.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QStandardPaths>

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cmath>
#include <cstdlib>

namespace quelmo::test {

namespace {
constexpr const char* kUser = "wltest";

QString findSocket(const QString& dir, const QString& pattern) {
    const QStringList found = QDir(dir).entryList({pattern}, QDir::System | QDir::Files);
    for (const QString& name : found) {
        if (!name.endsWith(QLatin1String(".lock"))) {
            return dir + QLatin1Char('/') + name;
        }
    }
    return {};
}
} // namespace

bool waitFor(const std::function<bool()>& done, std::chrono::milliseconds timeout) {
    QDeadlineTimer deadline(timeout);
    while (!done()) {
        if (deadline.hasExpired()) {
            return false;
        }
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    }
    return true;
}

double fineDetail(const QImage& image, const QRect& skip) {
    const QImage grey = image.convertToFormat(QImage::Format_Grayscale8);
    double sum = 0;
    long count = 0;
    for (int y = 0; y < grey.height(); ++y) {
        const uchar* line = grey.constScanLine(y);
        for (int x = 1; x < grey.width(); ++x) {
            if (skip.contains(x, y)) {
                continue;
            }
            sum += std::abs(int(line[x]) - int(line[x - 1]));
            ++count;
        }
    }
    return count == 0 ? 0 : sum / static_cast<double>(count);
}

double violetCast(const QImage& image) {
    const QImage rgb = image.convertToFormat(QImage::Format_RGB32);
    double sum = 0;
    for (int y = 0; y < rgb.height(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(rgb.constScanLine(y));
        for (int x = 0; x < rgb.width(); ++x) {
            sum += qBlue(line[x]) - qRed(line[x]);
        }
    }
    const double pixels = static_cast<double>(rgb.width()) * rgb.height();
    return pixels == 0 ? 0 : sum / pixels;
}

SwaySession::~SwaySession() {
    if (sway_.state() != QProcess::NotRunning) {
        sway_.terminate();
        if (!sway_.waitForFinished(3000)) {
            sway_.kill();
            sway_.waitForFinished(3000);
        }
    }
    if (!runtimeDir_.isEmpty()) {
        QDir(runtimeDir_).removeRecursively();
    }
}

bool SwaySession::start(QString* why) {
    for (const char* tool : {"sway", "swaymsg", "grim"}) {
        if (QStandardPaths::findExecutable(QString::fromLatin1(tool)).isEmpty()) {
            *why = QStringLiteral("%1 is not installed (package %1)").arg(QLatin1String(tool));
            return false;
        }
    }
    const bool root = geteuid() == 0;
    uid_t uid = geteuid();
    gid_t gid = getegid();
    if (root) {
        // sway will not run as root: a plain user, made once.
        run(QStringLiteral("sh"),
            {QStringLiteral("-c"),
             QStringLiteral("id %1 >/dev/null 2>&1 || useradd -m %1").arg(QLatin1String(kUser))});
        const passwd* user = getpwnam(kUser);
        if (user == nullptr) {
            *why = QStringLiteral("could not make the user %1").arg(QLatin1String(kUser));
            return false;
        }
        uid = user->pw_uid;
        gid = user->pw_gid;
    }
    QByteArray folder = QByteArrayLiteral("/tmp/quelmo-sway-XXXXXX");
    if (mkdtemp(folder.data()) == nullptr || chown(folder.constData(), uid, gid) != 0 ||
        chmod(folder.constData(), 0700) != 0) {
        *why = QStringLiteral("no private runtime folder");
        return false;
    }
    runtimeDir_ = QString::fromLocal8Bit(folder);
    const QString config = runtimeDir_ + QStringLiteral("/sway.conf");
    QFile file(config);
    file.open(QIODevice::WriteOnly);
    file.write("output HEADLESS-1 resolution 1280x720\n"
               "xwayland disable\n"
               "default_border none\n"
               "focus_follows_mouse no\n");
    file.close();
    if (chown(config.toLocal8Bit().constData(), uid, gid) != 0) {
        *why = QStringLiteral("cannot hand the configuration to %1").arg(QLatin1String(kUser));
        return false;
    }

    QStringList command;
    if (root) {
        command << QStringLiteral("-u") << QString::fromLatin1(kUser) << QStringLiteral("--");
    }
    command << QStringLiteral("env") << QStringLiteral("-i")
            << QStringLiteral("PATH=/usr/local/bin:/usr/bin:/bin")
            << QStringLiteral("HOME=") + runtimeDir_
            << QStringLiteral("XDG_RUNTIME_DIR=") + runtimeDir_
            << QStringLiteral("WLR_BACKENDS=headless") << QStringLiteral("WLR_RENDERER=pixman")
            << QStringLiteral("WLR_LIBINPUT_NO_DEVICES=1") << QStringLiteral("sway")
            << QStringLiteral("-c") << config;
    sway_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    sway_.setStandardOutputFile(QProcess::nullDevice());
    const QString program = root ? QStringLiteral("runuser") : command.takeFirst();
    sway_.start(program, command);
    const bool up = waitFor(
        [this] {
            waylandSocket_ = findSocket(runtimeDir_, QStringLiteral("wayland-*"));
            swaySocket_ = findSocket(runtimeDir_, QStringLiteral("sway-ipc.*.sock"));
            return (!waylandSocket_.isEmpty() && !swaySocket_.isEmpty()) ||
                   sway_.state() == QProcess::NotRunning;
        },
        std::chrono::seconds(20));
    if (!up || sway_.state() == QProcess::NotRunning) {
        *why = QStringLiteral("sway did not start");
        return false;
    }
    qputenv("WAYLAND_DISPLAY", waylandSocket_.toLocal8Bit());
    qputenv("SWAYSOCK", swaySocket_.toLocal8Bit());
    return true;
}

QProcessEnvironment SwaySession::clientEnvironment() const {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("WAYLAND_DISPLAY"), waylandSocket_);
    env.insert(QStringLiteral("SWAYSOCK"), swaySocket_);
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtimeDir_);
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("wayland"));
    env.remove(QStringLiteral("DISPLAY"));
    return env;
}

bool SwaySession::run(const QString& program, const QStringList& args, QString* output) {
    QProcess process;
    process.setProcessEnvironment(clientEnvironment());
    process.start(program, args);
    if (!process.waitForFinished(10000)) {
        process.kill();
        process.waitForFinished();
        return false;
    }
    if (output != nullptr) {
        *output = QString::fromUtf8(process.readAllStandardOutput());
    }
    return process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
}

bool SwaySession::swaymsg(const QStringList& args, QString* output) {
    return run(QStringLiteral("swaymsg"), args, output);
}

QImage SwaySession::screenshot(const QString& output) {
    const QString file = runtimeDir_ + QStringLiteral("/shot.ppm");
    QStringList args{QStringLiteral("-t"), QStringLiteral("ppm")};
    if (!output.isEmpty()) {
        args << QStringLiteral("-o") << output;
    }
    args << file;
    QFile::remove(file);
    if (!run(QStringLiteral("grim"), args)) {
        return {};
    }
    return QImage(file);
}

} // namespace quelmo::test
