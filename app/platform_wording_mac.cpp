// SPDX-License-Identifier: MIT
// The words of a Mac: its keyboard symbols, the menu bar, the Finder and the
// system's own motion permission.
#include "app/hot_key_binding.h"
#include "app/platform_wording.h"

#include <QtGlobal>

namespace quelmo::wording {

const std::vector<Modifier>& modifierOrder() {
    static const std::vector<Modifier> order{
        {kControlModifier, "\u2303"},
        {kOptionModifier, "\u2325"},
        {kShiftModifier, "\u21E7"},
        {kCommandModifier, "\u2318"},
    };
    return order;
}
const char* const kChordSeparator = "";

const char* const unsupportedTitle =
    QT_TRANSLATE_NOOP("PlatformWording", "Head tracking isn't available on this Mac");
const char* const waitingForEarbudsDetail =
    QT_TRANSLATE_NOOP("PlatformWording", "Put them in your ears and connect them to this Mac.");
const char* const openMotionAccessSettings =
    QT_TRANSLATE_NOOP("PlatformWording", "Open Privacy Settings\u2026");

const char* const frostWhenFarTitle =
    QT_TRANSLATE_NOOP("PlatformWording", "Frost when my AirPods are far from this Mac");
const char* const frostOnDisconnectExplanation = QT_TRANSLATE_NOOP(
    "PlatformWording",
    "Stricter. Taking them out at your desk frosts the screen too, until you touch the Mac.");
const char* const showAngleInTrayTitle =
    QT_TRANSLATE_NOOP("PlatformWording", "Show my head angle in the menu bar");
const char* const diagnosticsExplanation = QT_TRANSLATE_NOOP(
    "PlatformWording", "Head angles and frost events, saved on this Mac only. Capped at 2 MB.");
const char* const showLogFolderButton = QT_TRANSLATE_NOOP("PlatformWording", "Show Log in Finder");
const char* const privacyFooter = QT_TRANSLATE_NOOP(
    "PlatformWording", "Runs entirely on this Mac. No camera, no account, no network.");

const char* const welcomeBody =
    QT_TRANSLATE_NOOP("PlatformWording",
                      "Quelmo reads the head tracking in your AirPods. Turn to talk to someone and "
                      "your Mac frosts over. Look back and it clears.");
const char* const permissionBody = QT_TRANSLATE_NOOP(
    "PlatformWording",
    "macOS will ask to let Quelmo read motion from your AirPods. That's the only thing it needs. "
    "Nothing is recorded and nothing leaves this Mac.");
const char* const permissionDeniedHelp = QT_TRANSLATE_NOOP(
    "PlatformWording", "Turn it on for Quelmo under Privacy & Security \u2192 Motion & Fitness.");
const char* const waitingForEarbudsBody = QT_TRANSLATE_NOOP(
    "PlatformWording", "Connect them to this Mac and put them in your ears. Quelmo starts as soon "
                       "as it hears from them.");
const char* const doneTitle = QT_TRANSLATE_NOOP("PlatformWording", "Quelmo lives in your menu bar");

const char* const moveOfferMessage =
    QT_TRANSLATE_NOOP("PlatformWording", "Move Quelmo to your Applications folder?");
const char* const moveOfferDetail = QT_TRANSLATE_NOOP(
    "PlatformWording",
    "Quelmo works best from Applications, so it can start at login and keep its permissions.");
const char* const moveButton = QT_TRANSLATE_NOOP("PlatformWording", "Move to Applications");
const char* const moveFailureMessage = QT_TRANSLATE_NOOP("PlatformWording", "Couldn't move Quelmo");
const char* const moveFailureDetail = QT_TRANSLATE_NOOP(
    "PlatformWording", "%1\n\nDrag Quelmo into Applications yourself, then open it from there.");

} // namespace quelmo::wording
