// SPDX-License-Identifier: MIT
#pragma once

// A headless sway for the frost tests: started as an unprivileged user
// (sway refuses root) in a private runtime folder, without XWayland, with
// one 1280 × 720 output; commands, screenshots and native clients talk to it
// through absolute socket paths, so nothing collides with other sessions.

#include <QImage>
#include <QProcess>
#include <QString>
#include <QStringList>

#include <chrono>
#include <functional>

namespace quelmo::test {

// Runs Qt's event loop until `done` answers true or `timeout` passes.
bool waitFor(const std::function<bool()>& done,
             std::chrono::milliseconds timeout = std::chrono::milliseconds(5000));

// How much fine detail an image holds: the mean difference in grey level
// between horizontally neighbouring pixels, outside `skip`. A checkerboard of
// 8-pixel squares gives about 30; a blurred or flat frost close to 0.
double fineDetail(const QImage& image, const QRect& skip = {});
// Mean blue minus mean red: the frost's violet tint makes it clearly positive.
double violetCast(const QImage& image);

class SwaySession {
  public:
    SwaySession() = default;
    ~SwaySession();
    SwaySession(const SwaySession&) = delete;
    SwaySession& operator=(const SwaySession&) = delete;

    // Starts sway; on failure `why` says what is missing (a package to install).
    bool start(QString* why);
    // WAYLAND_DISPLAY and SWAYSOCK of this process point at the session
    // from start() on.

    // swaymsg with `args`; true on success.
    bool swaymsg(const QStringList& args, QString* output = nullptr);
    // A screenshot of one output (or of all of them), through grim.
    QImage screenshot(const QString& output = {});
    // The environment for a native client of this session.
    QProcessEnvironment clientEnvironment() const;
    const QString& runtimeDir() const { return runtimeDir_; }

  private:
    bool run(const QString& program, const QStringList& args, QString* output = nullptr);

    QProcess sway_;
    QString runtimeDir_;
    QString waylandSocket_;
    QString swaySocket_;
};

} // namespace quelmo::test
