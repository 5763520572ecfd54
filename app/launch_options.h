// SPDX-License-Identifier: MIT
#pragma once

#include <string>
#include <vector>

namespace quelmo {

// What one start of the program is asked to do, decided from its arguments
// alone. The login-item switches win over "--send", and removing wins over
// adding; "--send" wins over "--recenter"; "--send" needs a word after it (a lone "--send" just
// starts the app). Options are whole arguments; the word after "--send" is taken as it is, whatever
// it looks like.
struct LaunchRequest {
    enum class Kind { removeLoginItem, addLoginItem, send, recenter, probe, help, version, run };
    LaunchRequest(Kind k = Kind::run, std::string w = {}) : kind(k), word(std::move(w)) {}
    Kind kind = Kind::run;
    std::string word; // for send
    // For probe: --seconds N (1 to 3600, else 10) and --capture FILE.
    int seconds = 10;
    std::string capture;
};

// `args` as main receives them, the program path included.
LaunchRequest parseLaunchOptions(const std::vector<std::string>& args);

} // namespace quelmo
