// SPDX-License-Identifier: MIT
// Puts the frost and the tray menu on the X display named by $DISPLAY and
// saves a screenshot of the whole screen with ImageMagick's `import`, for
// the pictures in docs/screenshots. Run by take-screenshots.sh, which provides the
// private X server and the tray.
//
//   ui_screenshot_tour frost <strength> <file.png>
//   ui_screenshot_tour tray <file.png>

#include "status_rig.h"
#include "ui/overlay/frost_overlay.h"

#include "ui/i18n/translations.h"

#include <QApplication>
#include <QEventLoop>
#include <QLinearGradient>
#include <QMenu>
#include <QPainter>
#include <QProcess>
#include <QScreen>
#include <QSystemTrayIcon>
#include <QTimer>

#include <cstdio>

namespace {

void wait(int milliseconds) {
    QEventLoop loop;
    QTimer::singleShot(milliseconds, &loop, &QEventLoop::quit);
    loop.exec();
}

bool screenshot(const QString& file) {
    return QProcess::execute(QStringLiteral("import"),
                             {QStringLiteral("-window"), QStringLiteral("root"), file}) == 0;
}

// Something private-looking to hide: a document window on a coloured desktop.
class Desktop : public QWidget {
  public:
    Desktop() : QWidget(nullptr, Qt::FramelessWindowHint | Qt::X11BypassWindowManagerHint) {
        setGeometry(QGuiApplication::primaryScreen()->geometry());
    }

  protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        QLinearGradient sky(0, 0, width(), height());
        sky.setColorAt(0, QColor(0x2b, 0x5f, 0x9e));
        sky.setColorAt(1, QColor(0xd9, 0x7a, 0x3c));
        p.fillRect(rect(), sky);
        const QRect page(width() / 8, height() / 10, width() * 3 / 5, height() * 4 / 5);
        p.fillRect(page.adjusted(0, 0, 0, -page.height() + 36), QColor(0x3c, 0x3c, 0x44));
        p.fillRect(page.adjusted(0, 36, 0, 0), Qt::white);
        p.setPen(Qt::white);
        p.drawText(page.adjusted(14, 0, 0, -page.height() + 36), Qt::AlignVCenter,
                   QStringLiteral("Salary review 2025 (confidential).txt"));
        QFont font = p.font();
        font.setPixelSize(17);
        p.setFont(font);
        p.setPen(QColor(0x20, 0x20, 0x24));
        const QStringList lines = {
            QStringLiteral("Dear Sam,"),
            QStringLiteral("following our conversation on Tuesday, the new salary will be"),
            QStringLiteral("effective from the first of next month. Please keep this between us"),
            QStringLiteral("until the announcement. The bank details you sent:"),
            QStringLiteral("IBAN DE89 3704 0044 0532 0130 00 — account holder S. Example"),
            QString(),
            QStringLiteral("Password for the shared folder: correct-horse-battery-staple"),
        };
        int y = page.top() + 80;
        for (int repeat = 0; repeat < 3; ++repeat) {
            for (const QString& line : lines) {
                p.drawText(page.left() + 30, y, line);
                y += 30;
            }
        }
        p.fillRect(QRect(page.right() + 60, page.top() + 40, 160, 160), QColor(0x3a, 0xb5, 0x4a));
        p.fillRect(QRect(page.right() + 60, page.top() + 240, 160, 160), QColor(0xe8, 0xc5, 0x1d));
    }
};

int frost(double strength, const QString& file) {
    Desktop desktop;
    desktop.show();
    wait(300);
    quelmo::FrostOverlay overlay;
    overlay.setStrength(strength);
    overlay.setFrost(true, false);
    wait(500);
    return screenshot(file) ? 0 : 1;
}

int tray(const QString& file) {
    Desktop desktop;
    desktop.show();
    desktop.lower(); // under the tray panel
    quelmo::test::StatusRig s;
    s.rig.store.set("showAngleInMenuBar", "true");
    s.rig.start();
    s.controller = std::make_unique<quelmo::StatusItemController>(
        *s.rig.model, s.rig.windows,
        quelmo::StatusItemController::Options{quelmo::probeTrayHosts, QString(), std::nullopt});
    s.rig.samples(0.0, 3.5);
    s.rig.turn(0.0, 23.0);
    s.rig.samples(23.0, 0.5);
    for (int i = 0; i < 100 && (s.controller->trayIcon() == nullptr ||
                                !s.controller->trayIcon()->geometry().isValid());
         ++i) {
        wait(100);
    }
    if (s.controller->trayIcon() == nullptr) {
        std::fprintf(stderr, "no tray host\n");
        return 1;
    }
    wait(300);
    const QRect icon = s.controller->trayIcon()->geometry();
    QMenu* menu = s.controller->menu();
    menu->popup(QPoint(icon.right() - menu->sizeHint().width(), icon.bottom() + 4));
    wait(500);
    return screenshot(file) ? 0 : 1;
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    // In the language of the environment (LANGUAGE=de ...), as Quelmo takes it.
    quelmo::i18n::useSystemLanguage();
    const QStringList args = app.arguments();
    if (args.size() == 4 && args[1] == QLatin1String("frost")) {
        return frost(args[2].toDouble(), args[3]);
    }
    if (args.size() == 3 && args[1] == QLatin1String("tray")) {
        return tray(args[2]);
    }
    std::fprintf(stderr, "usage: %s frost <strength> <file.png> | tray <file.png>\n", argv[0]);
    return 2;
}
