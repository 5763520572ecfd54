// SPDX-License-Identifier: MIT
// Fuzzes the command channel: the input is a run of words (split at NUL
// bytes) sent to a whole app model with head samples between them, in
// virtual time. Nothing may crash, and no word may make the angle or the
// injected turn non-finite.

#include "app/command_number.h"
#include "app/launch_options.h"
#include "tests/app_model/fakes.h"

#include <cmath>
#include <cstdlib>
#include <string>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, std::size_t size) {
    using namespace quelmo;
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    if (const auto number = parseCommandNumber(input); number && !std::isfinite(*number))
        std::abort();
    // The word after --send is taken as it is (the login-item switches,
    // which win over --send, aside).
    const auto request = parseLaunchOptions({"quelmo", "--send", std::string(input)});
    if (request.kind == LaunchRequest::Kind::send && request.word != input)
        std::abort();

    testing::ModelRig rig;
    rig.withTestHooks = true;
    AppModel& model = rig.start();
    std::size_t begin = 0;
    int words = 0;
    while (begin <= input.size() && words < 16) {
        std::size_t end = input.find('\0', begin);
        if (end == std::string_view::npos)
            end = input.size();
        rig.commands.send(std::string(input.substr(begin, end - begin)));
        rig.samples(10.0 * words, 0.06);
        if (!std::isfinite(model.liveAngle()) || !std::isfinite(rig.hooks->turnTarget()))
            std::abort();
        begin = end + 1;
        ++words;
    }
    return 0;
}
