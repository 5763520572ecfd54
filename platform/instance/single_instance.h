// SPDX-License-Identifier: MIT
#pragma once

#include <QLocalServer>
#include <QLockFile>
#include <QObject>
#include <QString>

#include <functional>
#include <memory>

namespace quelmo {

// Makes sure only one Quelmo runs per user. The first instance holds a lock
// file and listens on a local socket beside it; a later one finds the lock
// taken, asks the running instance to come forward ("reopen") and gives way.
// The lock lives in the user's runtime folder, so it is per user and per boot,
// and a lock left by a crashed instance is taken over.
//
// The same socket carries "recenter" from `quelmo --recenter`: the running
// instance does what the hot key does and answers "ok", so the sender knows it
// was done.
class SingleInstance : public QObject {
    Q_OBJECT

  public:
    // `folder`: where the lock and the socket live (created with mode 0700).
    explicit SingleInstance(QString folder, QObject* parent = nullptr);
    ~SingleInstance() override;

    // The default folder: $XDG_RUNTIME_DIR/quelmo, or a private folder in the
    // temporary directory when there is no runtime folder.
    static QString defaultFolder();

    // Tries to become the one running instance. True: we are it, and
    // `onReopen` runs (on the main thread) whenever another start asks us to
    // come forward. False: another instance runs (it has been asked to come
    // forward, when it could be reached), or the folder cannot be used.
    bool claim(std::function<void()> onReopen);
    // After a false claim(): empty when another instance holds the lock; else
    // why the check could not be made (no other instance was found).
    const QString& problem() const { return problem_; }

    // What "recenter" does; until it is set the request is answered "busy".
    void setRecenterHandler(std::function<void()> onRecenter);

    enum class Delivery { delivered, notRunning, noAnswer };
    // Asks the instance running with `folder` to re-centre and waits (about 2 s
    // at most) for its answer.
    static Delivery requestRecenter(const QString& folder);

    // Whether an instance holds the lock in `folder` now (nothing is changed).
    static bool isRunning(const QString& folder);

    bool isPrimary() const { return primary_; }
    QString socketPath() const;

  private:
    void onConnection();

    QString folder_;
    std::unique_ptr<QLockFile> lock_;
    QLocalServer server_;
    std::function<void()> onReopen_;
    std::function<void()> onRecenter_;
    bool primary_ = false;
    QString problem_;
};

} // namespace quelmo
