// SPDX-License-Identifier: MIT
#include "tools/sim/capture_player.h"

#include "tools/sim/seqpacket_listener.h"

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <poll.h>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>

namespace quelmo::sim {

namespace {

using Clock = std::chrono::steady_clock;

double since(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

bool sameKind(const std::vector<unsigned char>& a, const std::vector<unsigned char>& b) {
    const std::size_t n = std::min<std::size_t>(6, std::min(a.size(), b.size()));
    return a.size() >= n && b.size() >= n && std::memcmp(a.data(), b.data(), n) == 0;
}

} // namespace

bool CapturePlayer::read(const std::string& path, std::vector<earbuds::CapturedFrame>& frames,
                         std::string& error) {
    std::ifstream in(path);
    if (!in) {
        error = "cannot read " + path;
        return false;
    }
    std::string line;
    int number = 0;
    while (std::getline(in, line)) {
        ++number;
        earbuds::CapturedFrame frame;
        std::string why;
        switch (earbuds::parseCaptureLine(line, frame, why)) {
        case earbuds::CaptureLine::frame:
            frames.push_back(std::move(frame));
            break;
        case earbuds::CaptureLine::skip:
            break;
        case earbuds::CaptureLine::bad:
            error = path + ":" + std::to_string(number) + ": expected " + why;
            return false;
        }
    }
    return true;
}

CapturePlayer::CapturePlayer(std::string socketPath, std::vector<earbuds::CapturedFrame> frames)
    : path_(std::move(socketPath)), frames_(std::move(frames)) {}

void CapturePlayer::receive() {
    unsigned char buf[4096];
    for (;;) {
        const ssize_t n = ::recv(client_, buf, sizeof buf, MSG_DONTWAIT);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return;
        if (n == 0) {
            pollfd p{client_, POLLRDHUP, 0};
            if (::poll(&p, 1, 0) > 0 && (p.revents & (POLLHUP | POLLRDHUP)) != 0) {
                std::fprintf(stderr, "quelmo-sim: play: Quelmo closed the channel\n");
                ::close(client_);
                client_ = -1;
                return;
            }
        }
        heard_.emplace_back(buf, buf + n);
    }
}

bool CapturePlayer::waitForQuelmo(const earbuds::CapturedFrame& expected,
                                  const std::atomic<bool>& stop) {
    const auto start = Clock::now();
    while (!stop && client_ >= 0 && since(start) < kPatience) {
        receive();
        for (std::size_t i = 0; i < heard_.size(); ++i) {
            if (sameKind(heard_[i], expected.bytes)) {
                heard_.erase(heard_.begin(), heard_.begin() + static_cast<long>(i) + 1);
                return true;
            }
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    return false;
}

int CapturePlayer::play(const std::atomic<bool>& stop) {
    std::string error;
    listener_ = listenSeqpacket(path_, false, error);
    if (listener_ < 0) {
        std::fprintf(stderr, "quelmo-sim: %s\n", error.c_str());
        return 1;
    }
    std::fprintf(stderr, "quelmo-sim: play: %zu frames, waiting for Quelmo at %s\n", frames_.size(),
                 path_.c_str());
    while (!stop && client_ < 0) {
        pollfd p{listener_, POLLIN, 0};
        if (::poll(&p, 1, 100) > 0)
            client_ = ::accept4(listener_, nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC);
    }
    auto base = Clock::now();
    double captureBase = frames_.empty() ? 0 : frames_.front().at;
    std::size_t played = 0;
    for (const earbuds::CapturedFrame& frame : frames_) {
        if (stop || client_ < 0)
            break;
        if (frame.sent) {
            if (!waitForQuelmo(frame, stop))
                std::fprintf(stderr,
                             "quelmo-sim: play: Quelmo did not send a frame like the "
                             "captured one at %.3f s; going on\n",
                             frame.at);
            base = Clock::now();
            captureBase = frame.at;
            continue;
        }
        const double due = frame.at - captureBase;
        while (!stop && client_ >= 0 && since(base) < due) {
            receive();
            std::this_thread::sleep_for(
                std::chrono::duration<double>(std::min(0.005, due - since(base) + 0.0001)));
        }
        if (client_ >= 0 && ::send(client_, frame.bytes.data(), frame.bytes.size(),
                                   MSG_DONTWAIT | MSG_NOSIGNAL) >= 0)
            ++played;
    }
    std::fprintf(stderr, "quelmo-sim: play: %zu frames played\n", played);
    if (client_ >= 0)
        ::close(client_);
    stopListening(listener_, path_);
    return 0;
}

} // namespace quelmo::sim
