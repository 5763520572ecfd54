// SPDX-License-Identifier: MIT
#include "ui/tray/about_box.h"

#include "ui/icons/symbol_icons.h"

#include <QCoreApplication>
#include <QMessageBox>
#include <QPalette>

namespace quelmo {

QString aboutCredits() {
    return QCoreApplication::translate(
        "AboutBox", "Your screen looks away when you do.\n"
                    "Not affiliated with Apple Inc. AirPods is a trademark of Apple Inc.");
}

QMessageBox* makeAboutBox(const QString& version, QWidget* parent) {
    auto* box = new QMessageBox(parent);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setAttribute(Qt::WA_QuitOnClose, false);
    box->setWindowTitle(QCoreApplication::translate("AboutBox", "About Quelmo"));
    box->setWindowIcon(appIcon());
    box->setIconPixmap(appIcon().pixmap(64, 64));
    box->setTextFormat(Qt::RichText);
    //: %1 is the version number, for example 1.0.0.
    box->setText(QStringLiteral("<b>Quelmo</b><br>%1")
                     .arg(QCoreApplication::translate("AboutBox", "Version %1")
                              .arg(version)
                              .toHtmlEscaped()));
    // The credits in 11-point text of the palette's secondary colour.
    const QString secondary = box->palette().color(QPalette::PlaceholderText).name();
    QString credits = aboutCredits().toHtmlEscaped();
    credits.replace(QLatin1Char('\n'), QStringLiteral("<br>"));
    box->setInformativeText(QStringLiteral("<span style=\"font-size:11pt; color:%1\">%2</span>")
                                .arg(secondary, credits));
    box->setStandardButtons(QMessageBox::Ok);
    box->setModal(false);
    return box;
}

} // namespace quelmo
