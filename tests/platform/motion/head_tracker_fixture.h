// SPDX-License-Identifier: MIT
// A head tracker over a real motion service in temporary folders, with a
// prompt that answers when told and a record of everything its callbacks saw.
#pragma once

#include "platform/motion/head_tracker.h"
#include "platform/motion/motion_service.h"
#include "tests/platform/motion/motion_test_support.h"

#include <QThread>
#include <gtest/gtest.h>

#include <fstream>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace quelmo {

struct Seen {
    std::vector<std::pair<double, double>> motion;
    std::vector<bool> connections;
    std::vector<std::string> errors;
    std::vector<std::string> sources;
    // For each prompt answer heard: how many errors had been heard before it.
    std::vector<std::size_t> answers;
    bool offMainThread = false;
};

// A prompt that records each request and answers only when told.
struct ScriptedPrompt {
    int asked = 0;
    std::function<void(std::optional<bool>)> pending;
    MotionAccessPrompter prompter() {
        return [this](std::function<void(std::optional<bool>)> answer) {
            ++asked;
            pending = std::move(answer);
        };
    }
    void answer(std::optional<bool> choice) {
        auto a = std::move(pending);
        a(choice);
    }
};

class HeadTrackerTest : public ::testing::Test {
  protected:
    test::TempPaths temp;
    ScriptedPrompt prompt;
    Seen seen;

    void setAccess(MotionAccess access) {
        std::string error;
        ASSERT_TRUE(writeMotionAccess(temp.paths.accessRecordPath(), access, error)) << error;
    }
    // A record with a word Quelmo itself never writes.
    void setRecordWord(const char* word) {
        setAccess(MotionAccess::denied);
        std::ofstream(temp.paths.accessRecordPath(), std::ios::trunc) << word << "\n";
    }

    std::unique_ptr<HeadTracker> makeTracker(std::optional<int> opentrackPort = 0) {
        MotionServiceOptions options;
        options.paths = temp.paths;
        options.opentrackPort = opentrackPort;
        options.bluetoothEarbuds = false;
        options.prompter = prompt.prompter();
        auto tracker = std::make_unique<HeadTracker>(std::make_unique<MotionService>(options));
        QThread* main = QThread::currentThread();
        HeadTrackerHandlers handlers;
        handlers.motion = [this, main](double h, double v, double) {
            seen.offMainThread |= QThread::currentThread() != main;
            seen.motion.emplace_back(h, v);
        };
        handlers.connectionChange = [this, main](bool c) {
            seen.offMainThread |= QThread::currentThread() != main;
            seen.connections.push_back(c);
        };
        handlers.error = [this](const std::string& text) { seen.errors.push_back(text); };
        handlers.sourceChange = [this](const std::string& name) { seen.sources.push_back(name); };
        handlers.accessAnswered = [this] { seen.answers.push_back(seen.errors.size()); };
        tracker->observe(std::move(handlers));
        return tracker;
    }
};

} // namespace quelmo
