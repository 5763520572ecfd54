// SPDX-License-Identifier: MIT
#include "platform/instance/single_instance.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QLocalSocket>
#include <QStandardPaths>

#include <algorithm>

#include <sys/stat.h>
#include <unistd.h>

namespace quelmo {

namespace {
constexpr char kReopen[] = "reopen\n";
constexpr char kRecenter[] = "recenter\n";
constexpr char kDone[] = "ok\n";
constexpr char kBusy[] = "busy\n";
constexpr int kConnectTimeoutMs = 1000;
constexpr int kAnswerTimeoutMs = 2000;
} // namespace

SingleInstance::SingleInstance(QString folder, QObject* parent)
    : QObject(parent), folder_(std::move(folder)) {
    connect(&server_, &QLocalServer::newConnection, this, &SingleInstance::onConnection);
}

SingleInstance::~SingleInstance() {
    server_.close();
}

QString SingleInstance::defaultFolder() {
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (!runtime.isEmpty() && QDir(runtime).exists()) {
        return runtime + QStringLiteral("/quelmo");
    }
    return QDir::tempPath() + QStringLiteral("/quelmo-%1").arg(::getuid());
}

QString SingleInstance::socketPath() const {
    return folder_ + QStringLiteral("/instance.sock");
}

bool SingleInstance::claim(std::function<void()> onReopen) {
    if (primary_) {
        return true;
    }
    problem_.clear();
    if (!QDir().mkpath(folder_)) {
        problem_ = QStringLiteral("cannot create %1").arg(folder_);
        return false;
    }
    // A folder of another user could hold a lock of theirs and make every
    // start of ours give way to a program that is not Quelmo.
    const QByteArray native = QFile::encodeName(folder_);
    struct stat st {};
    if (::lstat(native.constData(), &st) != 0 || !S_ISDIR(st.st_mode)) {
        problem_ = QStringLiteral("%1 is not a folder").arg(folder_);
        return false;
    }
    if (st.st_uid != ::geteuid()) {
        problem_ = QStringLiteral("%1 belongs to another user").arg(folder_);
        return false;
    }
    ::chmod(native.constData(), 0700);

    const QString lockPath = folder_ + QStringLiteral("/instance.lock");
    struct stat lockStat {};
    if (::lstat(QFile::encodeName(lockPath).constData(), &lockStat) == 0 &&
        !S_ISREG(lockStat.st_mode)) {
        // QLockFile would take a folder there for a lock someone holds.
        problem_ = QStringLiteral("cannot take the lock %1: it is not a file").arg(lockPath);
        return false;
    }
    lock_ = std::make_unique<QLockFile>(lockPath);
    lock_->setStaleLockTime(0); // only a lock whose process is gone is stale
    if (!lock_->tryLock(100)) {
        if (lock_->error() != QLockFile::LockFailedError) {
            // Not held by anyone: the lock cannot be made at all (a folder in
            // its place, no permission). No other Quelmo was found.
            problem_ = QStringLiteral("cannot take the lock %1").arg(lockPath);
            lock_.reset();
            return false;
        }
        // Someone else runs: ask it to come forward.
        QLocalSocket socket;
        socket.connectToServer(socketPath());
        if (socket.waitForConnected(kConnectTimeoutMs)) {
            socket.write(kReopen);
            socket.waitForBytesWritten(kConnectTimeoutMs);
            socket.disconnectFromServer();
        }
        lock_.reset();
        return false;
    }

    // We hold the lock, so a socket file left behind is a dead one.
    QLocalServer::removeServer(socketPath());
    server_.setSocketOptions(QLocalServer::UserAccessOption);
    server_.listen(socketPath()); // without it we still run, just cannot be reopened
    onReopen_ = std::move(onReopen);
    primary_ = true;
    return true;
}

void SingleInstance::setRecenterHandler(std::function<void()> onRecenter) {
    onRecenter_ = std::move(onRecenter);
}

SingleInstance::Delivery SingleInstance::requestRecenter(const QString& folder) {
    QLocalSocket socket;
    socket.connectToServer(folder + QStringLiteral("/instance.sock"));
    if (!socket.waitForConnected(kConnectTimeoutMs)) {
        return Delivery::notRunning;
    }
    socket.write(kRecenter);
    if (!socket.waitForBytesWritten(kConnectTimeoutMs)) {
        return Delivery::noAnswer;
    }
    QDeadlineTimer deadline(kAnswerTimeoutMs);
    while (!socket.canReadLine() && !deadline.hasExpired() &&
           socket.state() == QLocalSocket::ConnectedState) {
        socket.waitForReadyRead(static_cast<int>(std::max<qint64>(1, deadline.remainingTime())));
    }
    const bool done = socket.canReadLine() && socket.readLine(64) == kDone;
    socket.disconnectFromServer();
    return done ? Delivery::delivered : Delivery::noAnswer;
}

void SingleInstance::onConnection() {
    while (QLocalSocket* socket = server_.nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
            // Only these words are understood; anything else is ignored.
            while (socket->canReadLine()) {
                const QByteArray line = socket->readLine(64);
                if (line == kReopen && onReopen_) {
                    onReopen_();
                } else if (line == kRecenter) {
                    const bool ready = static_cast<bool>(onRecenter_);
                    if (ready) {
                        onRecenter_();
                    }
                    socket->write(ready ? kDone : kBusy);
                    socket->flush();
                }
            }
            if (socket->bytesAvailable() > 64) {
                socket->abort();
            }
        });
    }
}

bool SingleInstance::isRunning(const QString& folder) {
    QLockFile lock(folder + QStringLiteral("/instance.lock"));
    if (lock.tryLock(0)) {
        lock.unlock();
        return false;
    }
    return lock.error() == QLockFile::LockFailedError;
}

} // namespace quelmo
