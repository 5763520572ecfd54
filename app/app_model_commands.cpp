// SPDX-License-Identifier: MIT
// The command channel: words from another process of the user that steer the
// app model and drive its test values.
#include "app/app_model.h"

#include "app/command_number.h"
#include "core/number_text.h"

#include <string_view>

namespace quelmo {

namespace {
constexpr double kFakeSamplePeriod = 0.02;
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

void AppModel::startFakeSource() {
    stopFakeSource();
    std::weak_ptr<AppModel*> weak = self_;
    fakeSource_ = ports_.scheduler.scheduleRepeating(kFakeSamplePeriod, 0.0, [weak] {
        if (auto self = weak.lock()) {
            (*self)->handleSample(0.0, 0.0, (*self)->uptime());
        }
    });
}

void AppModel::stopFakeSource() {
    if (fakeSource_) {
        fakeSource_->cancel();
        fakeSource_.reset();
    }
}

void AppModel::handle(const std::string& word) {
    if (!prefs_.diagnostics()) {
        return; // the channel is open only while the diagnostics log is kept
    }
    const GuardChange change(*this);
    write("command: " + loggedWord(word));
    const std::string_view text = word;
    if (text.starts_with("turn:")) {
        if (const auto value = parseCommandNumber(text.substr(5))) {
            injectedTarget_ = *value;
        }
    }
    if (text.starts_with("far:")) {
        if (const auto value = parseCommandNumber(text.substr(4))) {
            injectedSignalDrop_ = *value;
        }
    }

    if (text == "fake:on") {
        startFakeSource();
    } else if (text == "fake:off") {
        stopFakeSource();
        injectedWalking_ = false;
        injectedTarget_ = 0.0;
        signalLost();
    } else if (text == "input:ignore") {
        ignoreInput_ = true;
    } else if (text == "input:real") {
        ignoreInput_ = false;
    } else if (text == "walk:on") {
        injectedWalking_ = true;
    } else if (text == "walk:off") {
        injectedWalking_ = false;
    } else if (text == "drop") {
        stopFakeSource();
        injectedWalking_ = false;
        signalLost();
    } else if (text == "preview") {
        previewFrost();
    } else if (text == "settings") {
        ports_.windows.showSettings();
    } else if (text == "onboarding") {
        ports_.windows.showOnboarding();
    } else if (text == "recenter") {
        recenterManually();
    } else if (text == "pause") {
        pause(kCommandPause);
    } else if (text == "resume") {
        resume();
    } else if (text == "off") {
        prefs_.setEnabled(false);
    } else if (text == "on") {
        prefs_.setEnabled(true);
    }
}

} // namespace quelmo
