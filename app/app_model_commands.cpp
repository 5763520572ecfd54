// The command channel: words from another process of the user that steer the
// app model and drive its test values.
#include "app/app_model.h"

#include "app/command_number.h"

namespace quelmo {

namespace {
constexpr double kFakeSamplePeriod = 0.02;
constexpr double kCommandPause = 1800.0;
} // namespace

void AppModel::startFakeSource() {
    stopFakeSource();
    std::weak_ptr<AppModel*> weak = self_;
    fakeSource_ = ports_.scheduler.scheduleRepeating(kFakeSamplePeriod, 0.0, [weak] {
        if (auto self = weak.lock()) {
            (*self)->handleSample(0.0, 0.0);
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
    write("command: " + word);
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
