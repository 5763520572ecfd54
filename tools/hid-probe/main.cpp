// SPDX-License-Identifier: MIT
// quelmo-hid-probe: tells udev whether a hidraw device is a head tracker on
// the open HID standard, by its report descriptor, so that the seated user
// may read head trackers and nothing else (never a keyboard). Exit status 0:
// a head tracker; 1: not one, or the descriptor cannot be read; 2: misuse.
//
//   quelmo-hid-probe hidraw3               (udev's %k: reads sysfs)
//   quelmo-hid-probe --descriptor FILE     (a descriptor saved to a file)
//   -v prints the verdict and why.

#include "platform/motion/hid_head_tracker.h"

#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

bool readAll(const std::string& path, std::vector<unsigned char>& out) {
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return false;
    out.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return !in.bad();
}

// A kernel name of a hidraw node, and nothing that could leave sysfs.
bool isHidrawName(const std::string& name) {
    if (name.rfind("hidraw", 0) != 0 || name.size() == 6 || name.size() > 16)
        return false;
    for (std::size_t i = 6; i < name.size(); ++i)
        if (name[i] < '0' || name[i] > '9')
            return false;
    return true;
}

} // namespace

int main(int argc, char** argv) {
    bool verbose = false;
    std::string path;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "-v") {
            verbose = true;
        } else if (arg == "--descriptor" && i + 1 < argc) {
            path = argv[++i];
        } else if (isHidrawName(arg)) {
            path = "/sys/class/hidraw/" + arg + "/device/report_descriptor";
        } else {
            std::fprintf(stderr, "usage: quelmo-hid-probe [-v] hidrawN | --descriptor FILE\n");
            return 2;
        }
    }
    if (path.empty()) {
        std::fprintf(stderr, "usage: quelmo-hid-probe [-v] hidrawN | --descriptor FILE\n");
        return 2;
    }
    std::vector<unsigned char> descriptor;
    if (!readAll(path, descriptor)) {
        if (verbose)
            std::printf("cannot read %s\n", path.c_str());
        return 1;
    }
    std::string why;
    const bool tracker =
        quelmo::hid::headTrackerIn(descriptor.data(), descriptor.size(), why).has_value();
    if (verbose)
        std::printf("%s: %s%s\n", path.c_str(), tracker ? "a head tracker" : "not a head tracker: ",
                    tracker ? "" : why.c_str());
    return tracker ? 0 : 1;
}
