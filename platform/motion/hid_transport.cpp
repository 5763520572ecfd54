// SPDX-License-Identifier: MIT
#include "platform/motion/hid_transport.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <linux/hidraw.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace quelmo::hid {

namespace {

constexpr int kAnswerWaitMs = 1000;

class HidrawTransport final : public Transport {
  public:
    explicit HidrawTransport(int fd) : fd_(fd) {}
    ~HidrawTransport() override { ::close(fd_); }
    bool descriptor(std::vector<unsigned char>& out, std::string& error) override {
        int size = 0;
        hidraw_report_descriptor d{};
        if (::ioctl(fd_, HIDIOCGRDESCSIZE, &size) < 0 || size <= 0 ||
            size > HID_MAX_DESCRIPTOR_SIZE) {
            error = std::string("cannot read the descriptor's size: ") + std::strerror(errno);
            return false;
        }
        d.size = static_cast<__u32>(size);
        if (::ioctl(fd_, HIDIOCGRDESC, &d) < 0) {
            error = std::string("cannot read the descriptor: ") + std::strerror(errno);
            return false;
        }
        out.assign(d.value, d.value + d.size);
        return true;
    }
    bool getFeature(std::vector<unsigned char>& report, std::string& error) override {
        if (report.empty() || ::ioctl(fd_, HIDIOCGFEATURE(report.size()), report.data()) < 0) {
            error = std::string("cannot read a feature report: ") + std::strerror(errno);
            return false;
        }
        return true;
    }
    bool setFeature(const std::vector<unsigned char>& report, std::string& error) override {
        if (report.empty() || ::ioctl(fd_, HIDIOCSFEATURE(report.size()), report.data()) < 0) {
            error = std::string("cannot write a feature report: ") + std::strerror(errno);
            return false;
        }
        return true;
    }
    int inputFd() const override { return fd_; }
    std::size_t inputFraming() const override { return 0; }

  private:
    int fd_;
};

class SocketTransport final : public Transport {
  public:
    explicit SocketTransport(int fd) : fd_(fd) {}
    ~SocketTransport() override { ::close(fd_); }
    bool descriptor(std::vector<unsigned char>& out, std::string& error) override {
        if (!ask({'D'}, 'D', out, error))
            return false;
        return !out.empty() || (error = "an empty descriptor", false);
    }
    bool getFeature(std::vector<unsigned char>& report, std::string& error) override {
        std::vector<unsigned char> answer;
        if (report.empty() || !ask({'G', report[0]}, 'G', answer, error))
            return false;
        if (answer.empty() || answer[0] != report[0]) {
            error = "no such feature report";
            return false;
        }
        answer.resize(report.size());
        report = answer;
        return true;
    }
    bool setFeature(const std::vector<unsigned char>& report, std::string& error) override {
        std::vector<unsigned char> request{'S'};
        request.insert(request.end(), report.begin(), report.end());
        std::vector<unsigned char> answer;
        if (!ask(request, 'S', answer, error))
            return false;
        if (answer.size() != 1 || answer[0] != 0) {
            error = "the feature report was refused";
            return false;
        }
        return true;
    }
    int inputFd() const override { return fd_; }
    std::size_t inputFraming() const override { return 1; }

  private:
    // Sends a request and waits (at most a second) for its answer; input
    // reports that come meanwhile are passed over.
    bool ask(const std::vector<unsigned char>& request, unsigned char kind,
             std::vector<unsigned char>& answer, std::string& error) {
        if (::send(fd_, request.data(), request.size(), MSG_NOSIGNAL) < 0) {
            error = std::string("the tracker is gone: ") + std::strerror(errno);
            return false;
        }
        unsigned char buf[4097];
        for (int waited = 0; waited < kAnswerWaitMs;) {
            pollfd p{fd_, POLLIN, 0};
            const int ready = ::poll(&p, 1, 50);
            waited += 50;
            if (ready <= 0)
                continue;
            const ssize_t n = ::recv(fd_, buf, sizeof buf, MSG_DONTWAIT);
            if (n <= 0) {
                error = "the tracker closed the channel";
                return false;
            }
            if (buf[0] == kind) {
                answer.assign(buf + 1, buf + n);
                return true;
            }
        }
        error = "the tracker did not answer";
        return false;
    }

    int fd_;
};

} // namespace

std::unique_ptr<Transport> openHidraw(const std::string& path, std::string& error) {
    const int fd = ::open(path.c_str(), O_RDWR | O_CLOEXEC);
    if (fd < 0) {
        error = "cannot open " + path + ": " + std::strerror(errno);
        return nullptr;
    }
    return std::make_unique<HidrawTransport>(fd);
}

std::unique_ptr<Transport> openHidSocket(const std::string& path, std::string& error) {
    sockaddr_un addr{};
    addr.sun_family = AF_UNIX;
    if (path.empty() || path.size() >= sizeof addr.sun_path) {
        error = "socket path empty or too long: " + path;
        return nullptr;
    }
    std::memcpy(addr.sun_path, path.c_str(), path.size() + 1);
    const int fd = ::socket(AF_UNIX, SOCK_SEQPACKET | SOCK_CLOEXEC, 0);
    if (fd < 0 || ::connect(fd, reinterpret_cast<const sockaddr*>(&addr), sizeof addr) != 0) {
        error = "cannot connect to " + path + ": " + std::strerror(errno);
        if (fd >= 0)
            ::close(fd);
        return nullptr;
    }
    return std::make_unique<SocketTransport>(fd);
}

} // namespace quelmo::hid
