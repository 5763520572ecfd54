// SPDX-License-Identifier: MIT
#pragma once

#include <QtGlobal>

namespace quelmo {

// Printed by --help, in the user's language (context "Usage").
inline constexpr const char* kUsage = QT_TRANSLATE_NOOP(
    "Usage", "Usage: quelmo [OPTION]\n"
             "\n"
             "Quelmo frosts your screen when you turn away from it or walk off, using the\n"
             "head-tracking motion of your earbuds. Without options it starts in the tray\n"
             "(or brings the running Quelmo's window forward).\n"
             "\n"
             "Options:\n"
             "  --add-login-item      open Quelmo when you log in, then exit\n"
             "  --remove-login-item   stop opening Quelmo at login, then exit\n"
             "  --send WORD           send a command word to the running Quelmo, then exit\n"
             "                        (honoured only while its diagnostics log is on)\n"
             "  --recenter            make the running Quelmo re-centre and clear the frost,\n"
             "                        as its hot key does, then exit (status 1 when no\n"
             "                        Quelmo runs); bind it to a key where the desktop\n"
             "                        offers no global hot key\n"
             "  --probe-headphones    show what Quelmo sees of your headphones and why it\n"
             "                        uses them or not, talking to the earbuds for 10 s\n"
             "                        (--seconds N), every frame written to a file with\n"
             "                        --capture FILE; send its output with a report\n"
             "  --help                show this help\n"
             "  --version             show the version\n"
             "\n"
             "Command words: recenter, pause, resume, on, off, preview, settings,\n"
             "onboarding, and for testing (only when Quelmo was started with\n"
             "QUELMO_TEST_HOOKS=1) fake:on, fake:off, turn:DEGREES, far:DB, walk:on,\n"
             "walk:off, input:ignore, input:real, drop.\n");

} // namespace quelmo
