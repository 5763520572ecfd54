// SPDX-License-Identifier: MIT
#include "app/launch_options.h"

#include <algorithm>

namespace quelmo {

LaunchRequest parseLaunchOptions(const std::vector<std::string>& args) {
    const auto has = [&](const char* option) {
        return std::find(args.begin(), args.end(), option) != args.end();
    };
    if (has("--remove-login-item")) {
        return {LaunchRequest::Kind::removeLoginItem, {}};
    }
    if (has("--add-login-item")) {
        return {LaunchRequest::Kind::addLoginItem, {}};
    }
    const auto send = std::find(args.begin(), args.end(), "--send");
    if (send != args.end() && std::next(send) != args.end()) {
        return {LaunchRequest::Kind::send, *std::next(send)};
    }
    if (has("--probe-headphones")) {
        LaunchRequest probe{LaunchRequest::Kind::probe, {}};
        const auto seconds = std::find(args.begin(), args.end(), "--seconds");
        if (seconds != args.end() && std::next(seconds) != args.end()) {
            const std::string& text = *std::next(seconds);
            const bool digits =
                !text.empty() && text.size() <= 4 &&
                std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
            const int value = digits ? std::stoi(text) : 0;
            if (value >= 1 && value <= 3600)
                probe.seconds = value;
        }
        const auto capture = std::find(args.begin(), args.end(), "--capture");
        if (capture != args.end() && std::next(capture) != args.end())
            probe.capture = *std::next(capture);
        return probe;
    }
    if (has("--recenter")) {
        return {LaunchRequest::Kind::recenter, {}};
    }
    if (has("--help") || has("-h")) {
        return {LaunchRequest::Kind::help, {}};
    }
    if (has("--version")) {
        return {LaunchRequest::Kind::version, {}};
    }
    return {LaunchRequest::Kind::run, {}};
}

} // namespace quelmo
