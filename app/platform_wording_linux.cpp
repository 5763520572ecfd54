// SPDX-License-Identifier: MIT
// The words of a Linux desktop: a PC keyboard, the tray, the file manager,
// Quelmo's own motion-access prompt.
#include "app/platform_wording.h"

#include <QtGlobal>

namespace quelmo::wording {

const std::vector<Modifier>& modifierOrder() {
    static const std::vector<Modifier> order{
        {Qt::ControlModifier, QT_TRANSLATE_NOOP("PlatformWording", "Ctrl")},
        {Qt::ShiftModifier, QT_TRANSLATE_NOOP("PlatformWording", "Shift")},
        {Qt::AltModifier, QT_TRANSLATE_NOOP("PlatformWording", "Alt")},
        {Qt::MetaModifier, QT_TRANSLATE_NOOP("PlatformWording", "Super")},
    };
    return order;
}
const char* const kChordSeparator = "+";

const char* const unsupportedTitle =
    QT_TRANSLATE_NOOP("PlatformWording", "Head tracking isn't available on this computer");
const char* const waitingForEarbudsDetail = QT_TRANSLATE_NOOP(
    "PlatformWording", "Put them in your ears and connect them to this computer.");
const char* const openMotionAccessSettings =
    QT_TRANSLATE_NOOP("PlatformWording", "Open Motion Access Settings…");

const char* const frostWhenFarTitle =
    QT_TRANSLATE_NOOP("PlatformWording", "Frost when my AirPods are far from this computer");
const char* const frostOnDisconnectExplanation = QT_TRANSLATE_NOOP(
    "PlatformWording",
    "Stricter. Taking them out at your desk frosts the screen too, until you touch the keyboard "
    "or mouse.");
const char* const showAngleInTrayTitle =
    QT_TRANSLATE_NOOP("PlatformWording", "Show my head angle in the tray");
const char* const diagnosticsExplanation =
    QT_TRANSLATE_NOOP("PlatformWording",
                      "Head angles and frost events, saved on this computer only. Capped at 2 MB.");
const char* const showLogFolderButton = QT_TRANSLATE_NOOP("PlatformWording", "Show Log Folder");
const char* const privacyFooter = QT_TRANSLATE_NOOP(
    "PlatformWording", "Runs entirely on this computer. No camera, no account, no network.");

const char* const welcomeBody =
    QT_TRANSLATE_NOOP("PlatformWording",
                      "Quelmo reads the head tracking in your AirPods. Turn to talk to someone and "
                      "your screen frosts over. Look back and it clears.");
const char* const permissionBody = QT_TRANSLATE_NOOP(
    "PlatformWording",
    "Quelmo will ask before it reads motion from your AirPods. That's the only thing it needs. "
    "Nothing is recorded and nothing leaves this computer.");
const char* const permissionDeniedHelp =
    QT_TRANSLATE_NOOP("PlatformWording", "Turn it on again in Quelmo's Motion Access settings.");
const char* const waitingForEarbudsBody = QT_TRANSLATE_NOOP(
    "PlatformWording", "Connect them to this computer and put them in your ears. Quelmo starts as "
                       "soon as it hears from them.");
const char* const doneTitle = QT_TRANSLATE_NOOP("PlatformWording", "Quelmo lives in your tray");

const char* const moveOfferMessage =
    QT_TRANSLATE_NOOP("PlatformWording", "Install Quelmo in your home folder?");
const char* const moveOfferDetail = QT_TRANSLATE_NOOP(
    "PlatformWording",
    "Quelmo works best installed, so it can start at login and keep its settings in one place.");
const char* const moveButton = QT_TRANSLATE_NOOP("PlatformWording", "Install");
const char* const moveFailureMessage =
    QT_TRANSLATE_NOOP("PlatformWording", "Couldn't install Quelmo");
const char* const moveFailureDetail = QT_TRANSLATE_NOOP(
    "PlatformWording", "%1\n\nCopy Quelmo into ~/.local/bin yourself, then open it from there.");

} // namespace quelmo::wording
