// SPDX-License-Identifier: MIT
#pragma once

#include <QObject>
#include <QPointer>
#include <QWidget>

#include <chrono>
#include <functional>
#include <vector>

class QParallelAnimationGroup;

namespace quelmo {

// Fades a set of top-level windows to one opacity together, as one animation
// group, and reports when the group has run to its end. Without a compositor
// (animate false) the opacity is set at once and `done` runs before fade()
// returns, so the caller's logic is the same either way.
class WindowFader : public QObject {
  public:
    explicit WindowFader(QObject* parent = nullptr);
    ~WindowFader() override;

    using Done = std::function<void()>;

    // Starts a new fade, ending (without its `done`) any fade still running.
    void fade(const std::vector<QWidget*>& windows, qreal target,
              std::chrono::milliseconds duration, bool animate, Done done);
    // Ends the running fade where it stands; its `done` never runs.
    void stop();
    bool isRunning() const;

  private:
    QPointer<QParallelAnimationGroup> group_;
};

} // namespace quelmo
