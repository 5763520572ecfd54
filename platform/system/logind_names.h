// SPDX-License-Identifier: MIT
#pragma once

#include <QString>

namespace quelmo::logind {

// logind's bus name, objects and interfaces, as the system events monitor
// and the session lock address them.
inline const QString kService = QStringLiteral("org.freedesktop.login1");
inline const QString kPath = QStringLiteral("/org/freedesktop/login1");
inline const QString kManager = QStringLiteral("org.freedesktop.login1.Manager");
inline const QString kSession = QStringLiteral("org.freedesktop.login1.Session");
inline const QString kProperties = QStringLiteral("org.freedesktop.DBus.Properties");

} // namespace quelmo::logind
