// SPDX-License-Identifier: MIT
#include "platform/install/move_to_applications.h"

#include "app/platform_wording.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QMessageBox>
#include <QMetaObject>
#include <QProcess>
#include <QPushButton>
#include <QStandardPaths>
#include <QThread>

#include <chrono>
#include <csignal>
#include <thread>
#include <unistd.h>

namespace quelmo::MoveToApplications {

namespace {

// Moves a file to the user's trash. Qt 6.4 reports success even when it could
// not set up the trash folder, having moved the file to "files/" under the
// current folder instead; that case is undone and reported as the failure it is.
std::optional<std::string> trash(const QString& path) {
    QDir().mkpath(QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation));
    QFile file(path);
    if (!file.moveToTrash()) {
        return QCoreApplication::translate("MoveOffer",
                                           "The old copy at %1 could not be moved to the trash: %2")
            .arg(path, file.errorString())
            .toStdString();
    }
    if (QDir::isRelativePath(file.fileName())) {
        QFile::rename(file.fileName(), path);
        return QCoreApplication::translate("MoveOffer",
                                           "The old copy at %1 could not be moved to the trash.")
            .arg(path)
            .toStdString();
    }
    return std::nullopt;
}

} // namespace

std::optional<std::string> move(const std::vector<CopyStep>& steps) {
    // Whatever is in the way goes to the trash first, so nothing is lost.
    for (const auto& step : steps) {
        const QString to = QString::fromStdString(step.to);
        if (QFileInfo::exists(to) || QFileInfo(to).isSymLink()) {
            if (auto error = trash(to)) {
                return error;
            }
        }
    }
    for (const auto& step : steps) {
        const QString to = QString::fromStdString(step.to);
        if (!QDir().mkpath(QFileInfo(to).absolutePath())) {
            return QCoreApplication::translate("MoveOffer", "The folder %1 could not be made.")
                .arg(QFileInfo(to).absolutePath())
                .toStdString();
        }
        QFile from(QString::fromStdString(step.from));
        if (!from.copy(to)) {
            return QCoreApplication::translate("MoveOffer", "%1 could not be copied to %2: %3")
                .arg(from.fileName(), to, from.errorString())
                .toStdString();
        }
    }
    return std::nullopt;
}

void offerIfNeeded(const InstallLayout& layout, const std::function<void()>& requestQuit) {
    const QString program = QFileInfo(QCoreApplication::applicationFilePath()).canonicalFilePath();
    if (program.isEmpty() || !shouldOfferMove(program.toStdString(), layout)) {
        return;
    }

    QMessageBox offer;
    offer.setIcon(QMessageBox::NoIcon);
    offer.setIconPixmap(QGuiApplication::windowIcon().pixmap(64, 64));
    offer.setText(wording::translated(wording::moveOfferMessage));
    offer.setInformativeText(wording::translated(wording::moveOfferDetail));
    QPushButton* moveButton =
        offer.addButton(wording::translated(wording::moveButton), QMessageBox::AcceptRole);
    offer.addButton(QCoreApplication::translate("MoveOffer", "Not Now"), QMessageBox::RejectRole);
    offer.setDefaultButton(moveButton);
    offer.exec();
    if (offer.clickedButton() != moveButton) {
        return;
    }

    const std::vector<CopyStep> steps = planMove(program.toStdString(), layout);
    if (const auto error = move(steps)) {
        QMessageBox failure;
        failure.setText(wording::translated(wording::moveFailureMessage));
        failure.setInformativeText(
            wording::translated(wording::moveFailureDetail).arg(QString::fromStdString(*error)));
        failure.exec();
        return;
    }

    // The new copy waits for this one to end before it takes over.
    QProcess relaunch;
    relaunch.setProgram(QString::fromStdString(steps.front().to));
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QString::fromLatin1(kWaitForPidVariable), QString::number(::getpid()));
    relaunch.setProcessEnvironment(env);
    relaunch.startDetached();
    QMetaObject::invokeMethod(QCoreApplication::instance(), requestQuit, Qt::QueuedConnection);
}

void waitForPredecessor(double seconds) {
    const QByteArray value = qgetenv(kWaitForPidVariable);
    qunsetenv(kWaitForPidVariable);
    bool ok = false;
    const qint64 pid = value.toLongLong(&ok);
    if (!ok || pid <= 1 || pid == ::getpid()) {
        return;
    }
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
    while (::kill(static_cast<pid_t>(pid), 0) == 0 && std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
}

} // namespace quelmo::MoveToApplications
