// SPDX-License-Identifier: MIT
#include "platform/memory/file_pages.h"

#include <sys/mman.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <sstream>

namespace quelmo {

std::size_t releaseFilePages(const std::vector<std::string>& pathParts) {
#if defined(__linux__) && defined(MADV_PAGEOUT)
    std::ifstream maps("/proc/self/maps");
    std::size_t advised = 0;
    std::string line;
    // Each line: start-end perms offset dev inode path. Mappings without a
    // path (the heap, stacks, anonymous memory) are never touched.
    while (std::getline(maps, line)) {
        std::istringstream fields(line);
        std::string range;
        std::string perms;
        std::string offset;
        std::string device;
        std::string inode;
        std::string path;
        fields >> range >> perms >> offset >> device >> inode;
        std::getline(fields >> std::ws, path);
        if (path.empty() || path.front() != '/' ||
            std::none_of(pathParts.begin(), pathParts.end(), [&](const std::string& part) {
                return !part.empty() && path.find(part) != std::string::npos;
            })) {
            continue;
        }
        const auto dash = range.find('-');
        if (dash == std::string::npos) {
            continue;
        }
        const std::uintptr_t start = std::strtoull(range.c_str(), nullptr, 16);
        const std::uintptr_t end = std::strtoull(range.c_str() + dash + 1, nullptr, 16);
        if (end > start &&
            ::madvise(reinterpret_cast<void*>(start), end - start, MADV_PAGEOUT) == 0) {
            advised += end - start;
        }
    }
    return advised;
#else
    (void)pathParts;
    return 0;
#endif
}

} // namespace quelmo
