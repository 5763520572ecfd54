// SPDX-License-Identifier: MIT
// A native Wayland window for the frost tests: it fills its output with a
// fine black-and-white checkerboard and a large word (detail that must not
// survive under the frost), and prints each key and click it receives, one
// line each ("key a", "click 640 360"), so a test can tell what reached it.

#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QRasterWindow>

#include <cstdio>

namespace {

class Target : public QRasterWindow {
  protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        constexpr int kSquare = 8;
        for (int y = 0; y < height(); y += kSquare) {
            for (int x = 0; x < width(); x += kSquare) {
                const bool dark = ((x + y) / kSquare) % 2 == 0;
                painter.fillRect(x, y, kSquare, kSquare, dark ? Qt::black : Qt::white);
            }
        }
        QFont font = painter.font();
        font.setPixelSize(96);
        painter.setFont(font);
        painter.setPen(Qt::red);
        painter.drawText(QRect(0, 0, width(), height()), Qt::AlignCenter, QStringLiteral("SECRET"));
    }
    void keyPressEvent(QKeyEvent* event) override {
        std::printf("key %s\n", qPrintable(event->text()));
        std::fflush(stdout);
    }
    void mousePressEvent(QMouseEvent* event) override {
        std::printf("click %d %d\n", event->position().toPoint().x(),
                    event->position().toPoint().y());
        std::fflush(stdout);
    }
};

} // namespace

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    Target target;
    target.setTitle(QStringLiteral("quelmo-input-target"));
    target.showFullScreen();
    std::printf("shown\n");
    std::fflush(stdout);
    return QGuiApplication::exec();
}
