// SPDX-License-Identifier: MIT
#include "platform/install/install_location.h"

#include <filesystem>
#include <system_error>

namespace quelmo {

namespace fs = std::filesystem;

namespace {

bool startsWith(const std::string& text, const std::string& prefix) {
    return !prefix.empty() && prefix != "/" && text.compare(0, prefix.size(), prefix) == 0;
}

std::string withSlash(std::string folder) {
    if (folder.empty() || folder.back() != '/') {
        folder += '/';
    }
    return folder;
}

} // namespace

bool shouldOfferMove(const std::string& programPath, const InstallLayout& layout) {
    std::vector<std::string> installed = {"/usr/", "/opt/"};
    if (!layout.installPrefix.empty()) {
        installed.push_back(withSlash(layout.installPrefix));
    }
    if (!layout.home.empty()) {
        installed.push_back(withSlash(layout.home) + ".local/");
    }
    for (const auto& place : installed) {
        if (startsWith(programPath, place)) {
            return false;
        }
    }
    if (programPath.find("/build/") != std::string::npos ||
        programPath.find("/.build/") != std::string::npos ||
        startsWith(programPath, withSlash(layout.buildDir))) {
        return false;
    }
    return true;
}

std::vector<CopyStep> planMove(const std::string& programPath, const InstallLayout& layout) {
    const fs::path program(programPath);
    const fs::path bin = program.parent_path();
    const fs::path destBin = fs::path(layout.home) / ".local" / "bin";
    std::vector<CopyStep> steps = {{program.string(), (destBin / program.filename()).string()}};

    std::error_code error;
    for (const auto& entry : fs::directory_iterator(bin, error)) {
        const std::string name = entry.path().filename().string();
        if (entry.path() != program && name.rfind("quelmo", 0) == 0 &&
            entry.is_regular_file(error)) {
            steps.push_back({entry.path().string(), (destBin / name).string()});
        }
    }
    const fs::path share = bin.parent_path() / "share";
    if (bin.filename() == "bin" && fs::is_directory(share, error)) {
        const fs::path destShare = fs::path(layout.home) / ".local" / "share";
        for (auto it = fs::recursive_directory_iterator(share, error);
             it != fs::recursive_directory_iterator(); it.increment(error)) {
            if (error) {
                break;
            }
            if (it->is_regular_file(error)) {
                steps.push_back({it->path().string(),
                                 (destShare / fs::relative(it->path(), share, error)).string()});
            }
        }
    }
    return steps;
}

} // namespace quelmo
