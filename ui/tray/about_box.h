// SPDX-License-Identifier: MIT
#pragma once

#include <QString>

class QMessageBox;
class QWidget;

namespace quelmo {

// The credits line under the name and version in the about box.
QString aboutCredits();

// The about box: the app icon, "Quelmo", the version and the credits in
// small secondary text. Not modal; the caller shows it.
QMessageBox* makeAboutBox(const QString& version, QWidget* parent = nullptr);

} // namespace quelmo
