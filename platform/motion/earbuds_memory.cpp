// SPDX-License-Identifier: MIT
#include "platform/motion/earbuds_memory.h"

#include <cstdio>
#include <fstream>
#include <sstream>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace quelmo::earbuds {

namespace {

struct Entry {
    std::string address;
    int service = 0;
};

// An address is printable and has no spaces; a service is 14 or 16.
bool valid(const Entry& e) {
    if (e.address.empty() || e.address.size() > 256)
        return false;
    for (const char c : e.address)
        if (c <= ' ' || c > '~')
            return false;
    return e.service == 14 || e.service == 16;
}

std::vector<Entry> read(const std::string& path) {
    std::vector<Entry> entries;
    std::ifstream in(path);
    std::string line;
    while (entries.size() < ServiceMemory::kMostDevices && std::getline(in, line)) {
        std::istringstream fields(line);
        Entry e;
        std::string rest;
        if (fields >> e.address >> e.service && !(fields >> rest) && valid(e))
            entries.push_back(e);
    }
    return entries;
}

std::string folderOf(const std::string& path) {
    const auto slash = path.rfind('/');
    return slash == std::string::npos ? std::string(".") : path.substr(0, slash);
}

} // namespace

int ServiceMemory::recall(const std::string& address) const {
    if (path_.empty())
        return 0;
    for (const Entry& e : read(path_))
        if (e.address == address)
            return e.service;
    return 0;
}

bool ServiceMemory::remember(const std::string& address, int service) const {
    const Entry fresh{address, service};
    if (path_.empty() || !valid(fresh))
        return false;
    std::vector<Entry> entries{fresh};
    for (const Entry& e : read(path_))
        if (e.address != address && entries.size() < kMostDevices)
            entries.push_back(e);
    const std::string folder = folderOf(path_);
    ::mkdir(folderOf(folder).c_str(), 0700);
    ::mkdir(folder.c_str(), 0700);
    const std::string temporary = path_ + ".new";
    {
        std::ofstream out(temporary, std::ios::trunc);
        for (const Entry& e : entries)
            out << e.address << ' ' << e.service << '\n';
        out.flush();
        if (!out)
            return false;
    }
    return std::rename(temporary.c_str(), path_.c_str()) == 0;
}

} // namespace quelmo::earbuds
