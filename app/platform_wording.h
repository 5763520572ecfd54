// SPDX-License-Identifier: MIT
#pragma once

#include <QString>
#include <QtCore/qnamespace.h>

#include <vector>

// The words that depend on the desktop Quelmo runs on: what the computer,
// the tray and the file manager are called, how a key chord is written, and
// the sentences that name them. Everything else a user reads is the same on
// every desktop and lives beside the code that shows it.
//
// The desktop's words are in platform_wording_linux.cpp. The texts are English
// sources marked for translation in the context "PlatformWording"; show them
// through translated(). The English source is also what the diagnostics log
// writes, whatever the user's language.
namespace quelmo::wording {

inline constexpr char kContext[] = "PlatformWording";

// A text of this file in the user's language.
QString translated(const char* source);

// A modifier key of a chord and its name.
struct Modifier {
    Qt::KeyboardModifier key;
    const char* name;
};
// The modifiers in the order the desktop writes them.
const std::vector<Modifier>& modifierOrder();
// Between the modifiers and the key of a written chord.
extern const char* const kChordSeparator;

// The status title when no head tracking is possible at all.
extern const char* const unsupportedTitle;
// The tray menu's hint while no head data arrives.
extern const char* const waitingForEarbudsDetail;
// The menu item and buttons that open where motion access is changed.
extern const char* const openMotionAccessSettings;

// Settings window.
extern const char* const frostWhenFarTitle;
extern const char* const frostOnDisconnectExplanation;
extern const char* const showAngleInTrayTitle;
extern const char* const diagnosticsExplanation;
extern const char* const showLogFolderButton;
extern const char* const privacyFooter;

// Welcome guide.
extern const char* const welcomeBody;
extern const char* const permissionBody;
extern const char* const permissionDeniedHelp;
extern const char* const waitingForEarbudsBody;
extern const char* const doneTitle;

// The offer to move a downloaded Quelmo where installed programs live.
extern const char* const moveOfferMessage;
extern const char* const moveOfferDetail;
extern const char* const moveButton;
extern const char* const moveFailureMessage;
// %1 is what went wrong.
extern const char* const moveFailureDetail;

} // namespace quelmo::wording
