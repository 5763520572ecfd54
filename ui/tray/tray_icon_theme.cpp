// SPDX-License-Identifier: MIT
#include "ui/tray/tray_icon_theme.h"

#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

namespace quelmo {

namespace {

const QString kResources = QStringLiteral(":/quelmo/icons/symbolic");
const QString kStatusFolder = QStringLiteral("hicolor/scalable/status");

bool holdsIcons(const QString& folder) {
    return QFile::exists(folder + QLatin1Char('/') + kStatusFolder +
                         QStringLiteral("/quelmo-eye-symbolic.svg"));
}

QString writeRuntimeCopy() {
    QString base = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (base.isEmpty()) {
        base = QDir::tempPath();
    }
    const QString folder = base + QStringLiteral("/quelmo-icons");
    const QString status = folder + QLatin1Char('/') + kStatusFolder;
    if (!QDir().mkpath(status)) {
        return {};
    }
    const auto copy = [](const QString& from, const QString& to) {
        // Written afresh each start: a newer Quelmo may draw them differently.
        QFile::remove(to);
        return QFile::copy(from, to) &&
               QFile::setPermissions(to, QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                             QFileDevice::ReadGroup | QFileDevice::ReadOther);
    };
    bool ok = copy(QStringLiteral(":/quelmo/icons/index.theme"),
                   folder + QStringLiteral("/hicolor/index.theme"));
    QDirIterator icons(kResources);
    while (icons.hasNext()) {
        const QString file = icons.next();
        ok = copy(file, status + QLatin1Char('/') + QFileInfo(file).fileName()) && ok;
    }
    return ok ? folder : QString();
}

} // namespace

QString traySymbolicIconName(const TrayLook& look) {
    const QString symbol = traySymbolFor(look.symbolName);
    if (symbol.isEmpty() || !look.angleText.isEmpty()) {
        return {};
    }
    const QString base =
        QStringLiteral("quelmo-") + QString(symbol).replace(QLatin1Char('.'), QLatin1Char('-'));
    if (look.dimmed) {
        const QString dimmed = base + QStringLiteral("-dimmed-symbolic");
        if (QFile::exists(kResources + QLatin1Char('/') + dimmed + QStringLiteral(".svg"))) {
            return dimmed;
        }
    }
    return base + QStringLiteral("-symbolic");
}

QString trayIconThemeFolder() {
    static const QString folder = [] {
        const QString installed =
            QCoreApplication::applicationDirPath() + QStringLiteral("/../share/quelmo/icons");
        if (holdsIcons(installed)) {
            return QDir::cleanPath(installed);
        }
        return writeRuntimeCopy();
    }();
    return folder;
}

} // namespace quelmo
