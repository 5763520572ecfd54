// SPDX-License-Identifier: MIT
#pragma once

#include <QObject>

#include <memory>

class QSocketNotifier;

namespace quelmo {

// Turns SIGTERM and SIGINT into an orderly quit of the Qt event loop (the
// same way out as the Quit menu item: exit status 0, windows closed, the
// motion socket removed). The handler only writes a byte to a pipe the main
// thread watches, and puts the default action back first: if the main thread
// does not answer, a second signal ends the process the plain way.
class QuitOnSignal final : public QObject {
  public:
    explicit QuitOnSignal(QObject* parent = nullptr);
    ~QuitOnSignal() override;
    QuitOnSignal(const QuitOnSignal&) = delete;
    QuitOnSignal& operator=(const QuitOnSignal&) = delete;

    // The signal that asked to quit, or 0 while none has.
    int received() const { return received_; }

  private:
    void onReadable();

    std::unique_ptr<QSocketNotifier> notifier_;
    int received_ = 0;
};

} // namespace quelmo
