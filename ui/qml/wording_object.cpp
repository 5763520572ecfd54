// SPDX-License-Identifier: MIT
#include "ui/qml/wording_object.h"

#include "app/hot_key_binding.h"
#include "app/platform_wording.h"

namespace quelmo {

QString WordingObject::hotKey() const {
    return recenterHotKeyText();
}
QString WordingObject::openMotionAccessSettings() const {
    return wording::translated(wording::openMotionAccessSettings);
}
QString WordingObject::frostWhenFarTitle() const {
    return wording::translated(wording::frostWhenFarTitle);
}
QString WordingObject::frostOnDisconnectExplanation() const {
    return wording::translated(wording::frostOnDisconnectExplanation);
}
QString WordingObject::showAngleInTrayTitle() const {
    return wording::translated(wording::showAngleInTrayTitle);
}
QString WordingObject::diagnosticsExplanation() const {
    return wording::translated(wording::diagnosticsExplanation);
}
QString WordingObject::showLogFolderButton() const {
    return wording::translated(wording::showLogFolderButton);
}
QString WordingObject::privacyFooter() const {
    return wording::translated(wording::privacyFooter);
}
QString WordingObject::welcomeBody() const {
    return wording::translated(wording::welcomeBody);
}
QString WordingObject::permissionBody() const {
    return wording::translated(wording::permissionBody);
}
QString WordingObject::permissionDeniedHelp() const {
    return wording::translated(wording::permissionDeniedHelp);
}
QString WordingObject::waitingForEarbudsBody() const {
    return wording::translated(wording::waitingForEarbudsBody);
}
QString WordingObject::doneTitle() const {
    return wording::translated(wording::doneTitle);
}

} // namespace quelmo
