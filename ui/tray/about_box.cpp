#include "ui/tray/about_box.h"

#include "ui/icons/symbol_icons.h"

#include <QMessageBox>
#include <QPalette>

namespace quelmo {

QString aboutCredits() {
    return QStringLiteral("Your screen looks away when you do.\n"
                          "Not affiliated with Apple Inc. AirPods is a trademark of Apple Inc.");
}

QMessageBox* makeAboutBox(const QString& version, QWidget* parent) {
    auto* box = new QMessageBox(parent);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setAttribute(Qt::WA_QuitOnClose, false);
    box->setWindowTitle(QStringLiteral("About Quelmo"));
    box->setWindowIcon(appIcon());
    box->setIconPixmap(appIcon().pixmap(64, 64));
    box->setTextFormat(Qt::RichText);
    box->setText(QStringLiteral("<b>Quelmo</b><br>Version %1").arg(version.toHtmlEscaped()));
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
