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
