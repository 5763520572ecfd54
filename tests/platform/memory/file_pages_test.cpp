// SPDX-License-Identifier: MIT
#include "platform/memory/file_pages.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <linux/magic.h>
#include <sys/mman.h>
#include <sys/vfs.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace quelmo {
namespace {

constexpr std::size_t kSize = 8u << 20;

// A file of kSize bytes on disk, mapped read-only and read through, so all
// its pages are resident in this process.
struct MappedFile {
    std::filesystem::path path;
    void* data = MAP_FAILED;

    explicit MappedFile(const std::string& name) : path(std::filesystem::current_path() / name) {
        const std::vector<char> bytes(kSize, 'q');
        {
            std::ofstream out(path, std::ios::binary);
            out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        }
        const int fd = ::open(path.c_str(), O_RDONLY);
        ::fsync(fd); // clean pages, which the kernel may drop at once
        data = ::mmap(nullptr, kSize, PROT_READ, MAP_PRIVATE, fd, 0);
        ::close(fd);
        volatile char sum = 0;
        for (std::size_t i = 0; data != MAP_FAILED && i < kSize; i += 4096) {
            sum = static_cast<char>(sum + static_cast<const char*>(data)[i]);
        }
    }
    ~MappedFile() {
        if (data != MAP_FAILED) {
            ::munmap(data, kSize);
        }
        std::filesystem::remove(path);
    }

    // Resident kilobytes of the mapping, as the kernel counts them.
    long residentKb() const {
        std::ifstream smaps("/proc/self/smaps");
        std::string line;
        bool inside = false;
        while (std::getline(smaps, line)) {
            if (line.find(path.string()) != std::string::npos) {
                inside = true;
            } else if (inside && line.rfind("Rss:", 0) == 0) {
                return std::stol(line.substr(4));
            }
        }
        return -1;
    }
};

TEST(FilePages, OnlyTheNamedFilesPagesLeaveTheProcess) {
    struct statfs fs {};
    ASSERT_EQ(::statfs(std::filesystem::current_path().c_str(), &fs), 0);
    if (fs.f_type == TMPFS_MAGIC) {
        GTEST_SKIP() << "memory-backed files cannot be paged out without swap";
    }
    MappedFile released("quelmo-file-pages-released.bin");
    MappedFile kept("quelmo-file-pages-kept.bin");
    ASSERT_NE(released.data, MAP_FAILED);
    ASSERT_NE(kept.data, MAP_FAILED);
    ASSERT_GE(released.residentKb(), 7 * 1024);
    ASSERT_GE(kept.residentKb(), 7 * 1024);

    EXPECT_GE(releaseFilePages({"", "quelmo-file-pages-released"}), kSize);
    EXPECT_LT(released.residentKb(), 1024);
    EXPECT_GE(kept.residentKb(), 7 * 1024);
    // Read again, the pages come back.
    EXPECT_EQ(static_cast<const char*>(released.data)[kSize - 1], 'q');

    // Nothing named, nothing advised.
    EXPECT_EQ(releaseFilePages({}), 0u);
    EXPECT_EQ(releaseFilePages({""}), 0u);
}

} // namespace
} // namespace quelmo
