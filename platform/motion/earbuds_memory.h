// SPDX-License-Identifier: MIT
#pragma once

#include <string>

namespace quelmo::earbuds {

// Which start frame streamed from which earbuds, so the next channel starts
// with it: one line per device, "ADDRESS SERVICE", in a small file of the
// user's state folder. A missing, unreadable or damaged file remembers
// nothing; a line that does not parse is dropped when the file is written
// again. An empty path remembers nothing at all.
class ServiceMemory {
  public:
    static constexpr std::size_t kMostDevices = 32;

    explicit ServiceMemory(std::string path) : path_(std::move(path)) {}
    // 14 or 16, or 0 when these earbuds have not streamed yet.
    int recall(const std::string& address) const;
    // Written at once (a new file renamed over the old); false when it could not be.
    bool remember(const std::string& address, int service) const;

  private:
    std::string path_;
};

} // namespace quelmo::earbuds
