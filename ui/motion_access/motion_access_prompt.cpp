// SPDX-License-Identifier: MIT
// The permission prompt shown when head tracking first starts.

#include "ui/motion_access/motion_access_ui.h"

#include <QApplication>
#include <QDialog>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

#include <memory>

namespace quelmo {

namespace {

class MotionAccessPrompt : public QDialog {
  public:
    explicit MotionAccessPrompt(std::function<void(std::optional<bool>)> answer)
        : answer_(std::move(answer)) {
        setObjectName(QStringLiteral("motionAccessPrompt"));
        setWindowTitle(QStringLiteral("Quelmo"));
        setAttribute(Qt::WA_DeleteOnClose);
        setModal(false);

        auto* icon = new QLabel;
        icon->setPixmap(style()->standardIcon(QStyle::SP_MessageBoxQuestion).pixmap(48, 48));
        icon->setAlignment(Qt::AlignTop);

        auto* title = new QLabel(QCoreApplication::translate(
            "MotionAccess", "Allow Quelmo to use head motion from your headphones?"));
        QFont bold = title->font();
        bold.setBold(true);
        title->setFont(bold);
        title->setWordWrap(true);
        auto* body = new QLabel(QCoreApplication::translate(
            "MotionAccess", "Quelmo follows which way your head points so it can hide "
                            "the screen when you look away. "
                            "Nothing is recorded and nothing leaves this computer."));
        body->setWordWrap(true);

        auto* buttons = new QDialogButtonBox;
        auto* deny = buttons->addButton(QCoreApplication::translate("MotionAccess", "Don't Allow"),
                                        QDialogButtonBox::RejectRole);
        auto* allow = buttons->addButton(QCoreApplication::translate("MotionAccess", "Allow"),
                                         QDialogButtonBox::AcceptRole);
        deny->setObjectName(QStringLiteral("denyButton"));
        allow->setObjectName(QStringLiteral("allowButton"));
        allow->setDefault(true);
        connect(allow, &QPushButton::clicked, this, [this] { finish(true); });
        connect(deny, &QPushButton::clicked, this, [this] { finish(false); });

        auto* text = new QVBoxLayout;
        text->addWidget(title);
        text->addWidget(body);
        auto* row = new QHBoxLayout;
        row->addWidget(icon);
        row->addLayout(text, 1);
        auto* layout = new QVBoxLayout(this);
        layout->addLayout(row);
        layout->addWidget(buttons);
        setMinimumWidth(420);
    }

    ~MotionAccessPrompt() override {
        // Closed by the window manager or at quit without a choice.
        if (answer_)
            deliver(std::nullopt);
    }

  private:
    void finish(bool allowed) {
        deliver(allowed);
        close();
    }

    void deliver(std::optional<bool> choice) {
        auto answer = std::move(answer_);
        answer_ = nullptr;
        // Answer on a later turn of the event loop, never from inside the
        // window's own event handling or destructor.
        QMetaObject::invokeMethod(
            qApp, [answer = std::move(answer), choice] { answer(choice); }, Qt::QueuedConnection);
    }

    std::function<void(std::optional<bool>)> answer_;
};

} // namespace

void askForMotionAccess(std::function<void(std::optional<bool>)> answer) {
    if (qobject_cast<QApplication*>(QCoreApplication::instance()) == nullptr) {
        if (QCoreApplication::instance() != nullptr) {
            QMetaObject::invokeMethod(
                QCoreApplication::instance(),
                [answer = std::move(answer)] { answer(std::nullopt); }, Qt::QueuedConnection);
        }
        return;
    }
    auto* prompt = new MotionAccessPrompt(std::move(answer));
    prompt->show();
    prompt->raise();
    prompt->activateWindow();
}

} // namespace quelmo
