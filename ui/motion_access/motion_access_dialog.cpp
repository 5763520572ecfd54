// SPDX-License-Identifier: MIT
// The Motion Access settings window: shows and changes the user's answer.

#include "platform/motion/motion_paths.h"
#include "ui/motion_access/motion_access_ui.h"

#include <QApplication>
#include <QCheckBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QVBoxLayout>

namespace quelmo {

namespace {

QString statusText(MotionAccess status, bool restricted) {
    if (restricted) {
        return QCoreApplication::translate(
            "MotionAccess",
            "Motion access is restricted on this computer and cannot be changed here.");
    }
    switch (status) {
    case MotionAccess::authorized:
        return QCoreApplication::translate(
            "MotionAccess",
            "Motion access is on. Quelmo can use head motion from your headphones.");
    case MotionAccess::denied:
        return QCoreApplication::translate(
            "MotionAccess", "Motion access is off. Quelmo cannot tell when you look away.");
    case MotionAccess::notDetermined:
        break;
    }
    return QCoreApplication::translate("MotionAccess", "You have not decided yet.");
}

class MotionAccessDialog : public QDialog {
  public:
    MotionAccessDialog(std::string recordPath, std::function<void(MotionAccess)> onChanged)
        : recordPath_(std::move(recordPath)), onChanged_(std::move(onChanged)) {
        setObjectName(QStringLiteral("motionAccessDialog"));
        setWindowTitle(QCoreApplication::translate("MotionAccess", "Motion Access"));
        setAttribute(Qt::WA_DeleteOnClose);

        auto* intro = new QLabel(QCoreApplication::translate(
            "MotionAccess",
            "Quelmo uses head motion from your headphones to hide the screen when you look away. "
            "Nothing is recorded and nothing leaves this computer."));
        intro->setWordWrap(true);
        allow_ = new QCheckBox(
            QCoreApplication::translate("MotionAccess", "Allow Quelmo to use head motion"));
        allow_->setObjectName(QStringLiteral("allowCheckBox"));
        status_ = new QLabel;
        status_->setObjectName(QStringLiteral("statusLabel"));
        status_->setWordWrap(true);
        error_ = new QLabel;
        error_->setObjectName(QStringLiteral("errorLabel"));
        error_->setWordWrap(true);
        error_->setStyleSheet(QStringLiteral("color: #c0392b"));
        error_->hide();
        auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close);
        connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::close);

        auto* layout = new QVBoxLayout(this);
        layout->addWidget(intro);
        layout->addSpacing(8);
        layout->addWidget(allow_);
        layout->addWidget(status_);
        layout->addWidget(error_);
        layout->addWidget(buttons);
        setMinimumWidth(420);

        refresh();
        connect(allow_, &QCheckBox::toggled, this, [this](bool on) { change(on); });
    }

    // Shows the record as it is now (it may have changed since the window opened).
    void refresh() {
        const MotionAccess status = readMotionAccess(recordPath_);
        const bool restricted = isMotionAccessRestricted(recordPath_);
        const QSignalBlocker quiet(allow_);
        allow_->setChecked(status == MotionAccess::authorized);
        allow_->setEnabled(!restricted);
        status_->setText(statusText(status, restricted));
    }

  private:
    void change(bool allowed) {
        const auto wanted = allowed ? MotionAccess::authorized : MotionAccess::denied;
        std::string why;
        if (writeMotionAccess(recordPath_, wanted, why)) {
            error_->hide();
        } else {
            error_->setText(
                QCoreApplication::translate("MotionAccess", "Could not save your choice: %1")
                    .arg(QString::fromStdString(why)));
            error_->show();
        }
        refresh();
        if (onChanged_)
            onChanged_(readMotionAccess(recordPath_));
    }

    std::string recordPath_;
    std::function<void(MotionAccess)> onChanged_;
    QCheckBox* allow_;
    QLabel* status_;
    QLabel* error_;
};

QPointer<MotionAccessDialog> openDialog;

} // namespace

void openMotionAccessSettings(std::function<void(MotionAccess)> onChanged, std::string recordPath) {
    if (qobject_cast<QApplication*>(QCoreApplication::instance()) == nullptr)
        return;
    if (openDialog) {
        openDialog->refresh();
    } else {
        if (recordPath.empty())
            recordPath = MotionPaths::fromEnvironment().accessRecordPath();
        openDialog = new MotionAccessDialog(std::move(recordPath), std::move(onChanged));
    }
    openDialog->show();
    openDialog->raise();
    openDialog->activateWindow();
}

} // namespace quelmo
