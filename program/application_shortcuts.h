// SPDX-License-Identifier: MIT
#pragma once

#include <QObject>

namespace quelmo {

// The three commands of a minimal main menu, as shortcuts that work in every
// window of the app, widget or QML alike: Ctrl+Q quits, Ctrl+W closes and
// Ctrl+M minimizes the window in front. Installed as an application-wide
// event filter, because Qt's widget shortcuts do not see keys typed into QML
// windows.
class ApplicationShortcuts : public QObject {
  public:
    explicit ApplicationShortcuts(QObject* parent = nullptr);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};

} // namespace quelmo
