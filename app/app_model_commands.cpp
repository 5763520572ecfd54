// SPDX-License-Identifier: MIT
// The command channel: words from another process of the user that steer the
// app model. Words it does not know go to the test hooks.
#include "app/app_model.h"

#include "core/number_text.h"

#include <string_view>

namespace quelmo {

namespace {
constexpr double kCommandPause = 1800.0;
constexpr std::size_t kLoggedWordLimit = 200;

// The word as the log shows it. Any process of the user can send words, so a
// control character (a newline would forge a log line of its own) is written
// as \xHH and a long word is cut, with its length said. Real words are short
// printable text and appear unchanged.
std::string loggedWord(std::string_view word) {
    static constexpr char kHex[] = "0123456789abcdef";
    std::size_t shown = word.size();
    if (shown > kLoggedWordLimit) {
        shown = kLoggedWordLimit;
        while (shown > 0 && (static_cast<unsigned char>(word[shown]) & 0xc0) == 0x80) {
            --shown; // never cut a UTF-8 character in two
        }
    }
    std::string out;
    for (std::size_t i = 0; i < shown; ++i) {
        const auto c = static_cast<unsigned char>(word[i]);
        if (c < 0x20 || c == 0x7f) {
            out += "\\x";
            out += kHex[c >> 4];
            out += kHex[c & 15];
        } else {
            out += static_cast<char>(c);
        }
    }
    if (word.size() > kLoggedWordLimit) {
        out += "... (";
        appendInteger(out, static_cast<long long>(word.size()));
        out += " bytes)";
    }
    return out;
}
} // namespace

void AppModel::handle(const std::string& word) {
    if (!prefs_.diagnostics()) {
        return; // the channel is open only while the diagnostics log is kept
    }
    const GuardChange change(pacing_);
    write("command: " + loggedWord(word));
    if (word == "preview") {
        previewFrost();
    } else if (word == "settings") {
        ports_.windows.showSettings();
    } else if (word == "onboarding") {
        ports_.windows.showOnboarding();
    } else if (word == "recenter") {
        recenterManually();
    } else if (word == "pause") {
        pause(kCommandPause);
    } else if (word == "resume") {
        resume();
    } else if (word == "off") {
        prefs_.setEnabled(false);
    } else if (word == "on") {
        prefs_.setEnabled(true);
    } else if (ports_.testHooks.handle(word) == TestWordEffect::signalLost) {
        signalLost();
    }
}

} // namespace quelmo
