// SPDX-License-Identifier: MIT
#pragma once

#include <string>

namespace quelmo {

struct ProbeOptions {
    int seconds = 10;
    std::string capturePath; // empty: no capture
};

// quelmo --probe-headphones: says in plain lines what Quelmo sees of the
// user's headphones and why it does or does not use them, so that a user
// whose earbuds do not work can tell, and tell us. Runs its own event loop;
// returns the exit status.
int probeHeadphones(int argc, char** argv, const ProbeOptions& options);

} // namespace quelmo
