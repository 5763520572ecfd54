// SPDX-License-Identifier: MIT
#include "platform/login/login_item.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QTextStream>

#include <cstdlib>
#include <system_error>

namespace quelmo {

namespace {

QString qpath(const std::filesystem::path& p) {
    return QString::fromStdString(p.string());
}

// The Exec value for a program path: quoted, with the characters that are
// special inside quotes escaped, and '%' doubled so that no part of a path
// is taken for a field code. A path with spaces or quotes stays one argument.
QString execValue(const std::filesystem::path& program) {
    QString quoted;
    for (const QChar c : qpath(program)) {
        if (c == QLatin1Char('"') || c == QLatin1Char('`') || c == QLatin1Char('$') ||
            c == QLatin1Char('\\')) {
            quoted += QLatin1Char('\\');
        } else if (c == QLatin1Char('%')) {
            quoted += QLatin1Char('%');
        }
        quoted += c;
    }
    // The desktop-entry format itself escapes backslashes once more.
    quoted.replace(QLatin1String("\\"), QLatin1String("\\\\"));
    // ...and a line break in a path must not start a line of its own.
    quoted.replace(QLatin1String("\n"), QLatin1String("\\n"));
    quoted.replace(QLatin1String("\r"), QLatin1String("\\r"));
    return QLatin1Char('"') + quoted + QLatin1Char('"');
}

// Whether the [Desktop Entry] group of `text` says Hidden=true.
bool marksHidden(const QString& text) {
    bool inMainGroup = false;
    const auto lines = text.split(QLatin1Char('\n'));
    for (const auto& raw : lines) {
        const QString line = raw.trimmed();
        if (line.startsWith(QLatin1Char('['))) {
            inMainGroup = line == QLatin1String("[Desktop Entry]");
            continue;
        }
        if (!inMainGroup) {
            continue;
        }
        const int eq = line.indexOf(QLatin1Char('='));
        if (eq > 0 && line.left(eq).trimmed() == QLatin1String("Hidden")) {
            return line.mid(eq + 1).trimmed() == QLatin1String("true");
        }
    }
    return false;
}

} // namespace

LoginItem::LoginItem(std::filesystem::path entryPath, std::filesystem::path program)
    : entryPath_(std::move(entryPath)), program_(std::move(program)) {}

LoginItem LoginItem::forRunningProgram() {
    std::error_code error;
    std::filesystem::path program = std::filesystem::read_symlink("/proc/self/exe", error);
    if (error) {
        program = "quelmo";
    }
    return LoginItem(entryPathFor(std::getenv("XDG_CONFIG_HOME"), std::getenv("HOME")), program);
}

std::filesystem::path LoginItem::entryPathFor(const char* xdgConfigHome, const char* home) {
    std::filesystem::path config;
    if (xdgConfigHome != nullptr && std::filesystem::path(xdgConfigHome).is_absolute()) {
        config = xdgConfigHome;
    } else {
        config = std::filesystem::path(home != nullptr ? home : "") / ".config";
    }
    return config / "autostart" / kEntryName;
}

QString LoginItem::desktopEntry(const std::filesystem::path& program) {
    return QStringLiteral("[Desktop Entry]\n"
                          "Type=Application\n"
                          "Name=Quelmo\n"
                          "Comment=Frosts the screen when you look away\n"
                          "Exec=%1\n"
                          "Terminal=false\n"
                          "X-GNOME-Autostart-enabled=true\n")
        .arg(execValue(program));
}

bool LoginItem::isEnabled() const {
    QFile file(qpath(entryPath_));
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) {
        return false;
    }
    return !marksHidden(QString::fromUtf8(file.readAll()));
}

std::optional<QString> LoginItem::set(bool enabled) const {
    const QString path = qpath(entryPath_);
    if (!enabled) {
        QFile file(path);
        if (!QFileInfo::exists(path) && !QFileInfo(path).isSymLink()) {
            return std::nullopt;
        }
        if (!file.remove()) {
            return QCoreApplication::translate("LoginItem", "Could not remove %1: %2")
                .arg(path, file.errorString());
        }
        return std::nullopt;
    }

    const QString folder = QFileInfo(path).absolutePath();
    if (!QDir().mkpath(folder)) {
        return QCoreApplication::translate("LoginItem", "Could not create the folder %1.")
            .arg(folder);
    }
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Text)) {
        return QCoreApplication::translate("LoginItem", "Could not write %1: %2")
            .arg(path, file.errorString());
    }
    file.write(desktopEntry(program_).toUtf8());
    if (!file.commit()) {
        return QCoreApplication::translate("LoginItem", "Could not write %1: %2")
            .arg(path, file.errorString());
    }
    return std::nullopt;
}

} // namespace quelmo
