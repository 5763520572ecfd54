// SPDX-License-Identifier: MIT
// quelmo-hid-probe, as udev runs it: a head tracker's descriptor is accepted
// (status 0), a keyboard's and a damaged one refused (1), a name that could
// leave sysfs is misuse (2).

#include "tools/sim/hid_tracker_descriptors.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace quelmo {
namespace {

int probe(const std::string& args) {
    const int status = std::system((std::string(QUELMO_HID_PROBE_TOOL) + " " + args).c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

std::string saved(const std::vector<unsigned char>& bytes, const char* name) {
    const std::string path = ::testing::TempDir() + name;
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
    return path;
}

TEST(HidProbe, OnlyHeadTrackersAreHandedToTheUser) {
    EXPECT_EQ(probe("--descriptor " + saved(sim::standardTrackerDescriptor(), "standard")), 0);
    EXPECT_EQ(probe("--descriptor " + saved(sim::variantTrackerDescriptor(), "variant")), 0);
    EXPECT_EQ(probe("--descriptor " + saved(sim::keyboardDescriptor(), "keyboard")), 1);
    auto cut = sim::standardTrackerDescriptor();
    cut.resize(cut.size() / 2);
    EXPECT_EQ(probe("--descriptor " + saved(cut, "cut")), 1);
    EXPECT_EQ(probe("--descriptor /nonexistent"), 1);
    EXPECT_EQ(probe("hidraw999999"), 1); // no such node
    EXPECT_EQ(probe("../../etc/passwd"), 2);
    EXPECT_EQ(probe("hidraw1/../../x"), 2);
}

} // namespace
} // namespace quelmo
