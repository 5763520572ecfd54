// SPDX-License-Identifier: MIT
#pragma once

#include <chrono>
#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <string>
#include <thread>

namespace quelmo {

// One long-lived thread that runs submitted tasks one after another, in
// order. Destruction lets the queued tasks finish, then joins.
class SerialWorker {
  public:
    explicit SerialWorker(std::string name);
    ~SerialWorker();
    SerialWorker(const SerialWorker&) = delete;
    SerialWorker& operator=(const SerialWorker&) = delete;

    void submit(std::function<void()> task);

    // Waits until no task is queued or running, for at most `limit`; true
    // when idle.
    bool waitUntilIdle(std::chrono::milliseconds limit);

  private:
    void run();

    std::string name_;
    std::mutex mutex_;
    std::condition_variable wake_;
    std::condition_variable idle_;
    bool running_ = false;
    std::deque<std::function<void()>> tasks_;
    bool stopping_ = false;
    std::thread thread_;
};

} // namespace quelmo
