// SPDX-License-Identifier: MIT
#pragma once

#include <QObject>
#include <QString>

namespace quelmo {

// The desktop's own words for the QML views (a QML singleton, "Wording"):
// the hot key as the user presses it and the sentences that name the
// computer, the tray or the file manager (app/platform_wording.h), each in
// the user's language.
class WordingObject : public QObject {
    Q_OBJECT
    Q_PROPERTY(QString hotKey READ hotKey CONSTANT)
    Q_PROPERTY(QString openMotionAccessSettings READ openMotionAccessSettings CONSTANT)
    Q_PROPERTY(QString frostWhenFarTitle READ frostWhenFarTitle CONSTANT)
    Q_PROPERTY(QString frostOnDisconnectExplanation READ frostOnDisconnectExplanation CONSTANT)
    Q_PROPERTY(QString showAngleInTrayTitle READ showAngleInTrayTitle CONSTANT)
    Q_PROPERTY(QString diagnosticsExplanation READ diagnosticsExplanation CONSTANT)
    Q_PROPERTY(QString showLogFolderButton READ showLogFolderButton CONSTANT)
    Q_PROPERTY(QString privacyFooter READ privacyFooter CONSTANT)
    Q_PROPERTY(QString welcomeBody READ welcomeBody CONSTANT)
    Q_PROPERTY(QString permissionBody READ permissionBody CONSTANT)
    Q_PROPERTY(QString permissionDeniedHelp READ permissionDeniedHelp CONSTANT)
    Q_PROPERTY(QString waitingForEarbudsBody READ waitingForEarbudsBody CONSTANT)
    Q_PROPERTY(QString doneTitle READ doneTitle CONSTANT)

  public:
    using QObject::QObject;

    // "Ctrl+Alt+Super+R" on a PC keyboard.
    QString hotKey() const;
    QString openMotionAccessSettings() const;
    QString frostWhenFarTitle() const;
    QString frostOnDisconnectExplanation() const;
    QString showAngleInTrayTitle() const;
    QString diagnosticsExplanation() const;
    QString showLogFolderButton() const;
    QString privacyFooter() const;
    QString welcomeBody() const;
    QString permissionBody() const;
    QString permissionDeniedHelp() const;
    QString waitingForEarbudsBody() const;
    QString doneTitle() const;
};

} // namespace quelmo
