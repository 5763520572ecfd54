// SPDX-License-Identifier: MIT
#pragma once

#include <QObject>
#include <QTimer>

#include <functional>
#include <optional>

namespace quelmo {

// Notices when the X server puts the displays to sleep (its power level leaves
// "on") and wakes them. The level is read with one cheap request every few
// seconds, and only while `shouldWatch` says the app could be watching, so an
// idle or paused app costs nothing. Without an X display (or without the power
// extension) it never reports anything.
//
// Elsewhere (a Wayland compositor) the caller passes a reader of its own: true
// while the displays sleep, nothing when it cannot tell.
class DisplayPowerWatcher : public QObject {
    Q_OBJECT

  public:
    using AsleepReader = std::function<std::optional<bool>()>;

    explicit DisplayPowerWatcher(std::function<bool()> shouldWatch, double periodSeconds = 3.0,
                                 QObject* parent = nullptr);
    DisplayPowerWatcher(std::function<bool()> shouldWatch, AsleepReader readAsleep,
                        double periodSeconds = 3.0, QObject* parent = nullptr);
    ~DisplayPowerWatcher() override;

    // Starts reading; `onChange(true)` when the displays go to sleep,
    // `onChange(false)` when they wake.
    void start(std::function<void(bool asleep)> onChange);
    bool isAvailable() const { return display_ != nullptr || readAsleep_ != nullptr; }

    // One reading now (also what the timer does).
    void check();

  private:
    std::function<bool()> shouldWatch_;
    std::function<void(bool)> onChange_;
    AsleepReader readAsleep_;
    QTimer timer_;
    void* display_ = nullptr; // Display*, kept out of the header
    bool asleep_ = false;
};

} // namespace quelmo
