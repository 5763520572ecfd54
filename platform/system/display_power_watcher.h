#pragma once

#include <QObject>
#include <QTimer>

#include <functional>

namespace quelmo {

// Notices when the X server puts the displays to sleep (its power level leaves
// "on") and wakes them. The level is read with one cheap request every few
// seconds, and only while `shouldWatch` says the app could be watching, so an
// idle or paused app costs nothing. Without an X display (or without the power
// extension) it never reports anything.
class DisplayPowerWatcher : public QObject {
    Q_OBJECT

  public:
    explicit DisplayPowerWatcher(std::function<bool()> shouldWatch, double periodSeconds = 3.0,
                                 QObject* parent = nullptr);
    ~DisplayPowerWatcher() override;

    // Starts reading; `onChange(true)` when the displays go to sleep,
    // `onChange(false)` when they wake.
    void start(std::function<void(bool asleep)> onChange);

    // One reading now (also what the timer does).
    void check();

  private:
    std::function<bool()> shouldWatch_;
    std::function<void(bool)> onChange_;
    QTimer timer_;
    void* display_ = nullptr; // Display*, kept out of the header
    bool asleep_ = false;
};

} // namespace quelmo
