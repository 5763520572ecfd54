// SPDX-License-Identifier: MIT
#pragma once

#include <string>
#include <vector>

namespace quelmo {

// Where Quelmo counts as installed (the desktop's counterpart of an
// Applications folder) and what a move into the user's own install copies.
struct InstallLayout {
    std::string home;          // the user's home folder
    std::string installPrefix; // the prefix this build was configured for
    std::string buildDir;      // the build tree this program was compiled in
};

// Whether to offer moving the program at `programPath` (symbolic links
// already resolved) into the user's install: not when it already runs from an
// installed place (the configured prefix, /usr, /usr/local, /opt, ~/.local)
// nor from a development build (a path with "/build/" or "/.build/", or one
// inside the build tree it was compiled in, whatever that folder is called).
bool shouldOfferMove(const std::string& programPath, const InstallLayout& layout);

// One file to copy, and where to.
struct CopyStep {
    std::string from;
    std::string to;
};

// What the move copies: every Quelmo program beside `programPath` into
// ~/.local/bin, and the folder "share" beside that bin folder, when there is
// one, into ~/.local/share. The first step is always the program itself.
std::vector<CopyStep> planMove(const std::string& programPath, const InstallLayout& layout);

} // namespace quelmo
