// SPDX-License-Identifier: MIT
#include "platform/x11/screen_capture.h"
#include "ui/overlay/compositor_probe.h"
#include "ui/overlay/frost_backdrop.h"
#include "ui/overlay/frost_overlay.h"
#include "ui/overlay/frost_window.h"

#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QVBoxLayout>

#include "xvfb_session.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/shape.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <string>

namespace quelmo {
namespace {

using test::qtDisplay;
using test::runOnServer;

XWindowAttributes attributesOf(const QWidget& window) {
    XWindowAttributes attributes{};
    XGetWindowAttributes(qtDisplay(), static_cast<Window>(window.winId()), &attributes);
    return attributes;
}

// Position of each window among the root's children, bottom to top.
int stackingIndex(Window window) {
    Display* dpy = qtDisplay();
    Window root = 0;
    Window parent = 0;
    Window* children = nullptr;
    unsigned int count = 0;
    XQueryTree(dpy, DefaultRootWindow(dpy), &root, &parent, &children, &count);
    int index = -1;
    for (unsigned int i = 0; i < count; ++i) {
        if (children[i] == window) {
            index = static_cast<int>(i);
        }
    }
    if (children != nullptr) {
        XFree(children);
    }
    return index;
}

int inputRectangles(const QWidget& window) {
    int count = -1;
    int ordering = 0;
    XRectangle* rectangles = XShapeGetRectangles(qtDisplay(), static_cast<Window>(window.winId()),
                                                 ShapeInput, &count, &ordering);
    if (rectangles != nullptr) {
        XFree(rectangles);
    }
    return count;
}

std::string number(int value) {
    return std::to_string(value);
}

// A plain coloured top-level window.
struct Swatch : QWidget {
    Swatch(const QRect& area, const QColor& colour)
        : QWidget(nullptr, Qt::FramelessWindowHint | Qt::X11BypassWindowManagerHint) {
        QPalette palette;
        palette.setColor(QPalette::Window, colour);
        setPalette(palette);
        setAutoFillBackground(true);
        setGeometry(area);
        show();
    }
};

TEST(FrostOnX11, CoversTheScreenAboveOtherWindowsWhileClicksAndKeysPassThrough) {
    QUELMO_SKIP_WITHOUT_XVFB();
    QUELMO_SKIP_UNLESS_INSTALLED("xdotool", "xdotool");
    QWidget app;
    auto* button = new QPushButton(QStringLiteral("Press"));
    button->setFocusPolicy(Qt::NoFocus); // the keys must keep going to the line edit
    auto* edit = new QLineEdit;
    auto* layout = new QVBoxLayout(&app);
    layout->addWidget(button);
    layout->addWidget(edit);
    app.setGeometry(100, 100, 400, 200);
    app.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&app));
    app.activateWindow();
    edit->setFocus();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&app));
    int clicks = 0;
    QObject::connect(button, &QPushButton::clicked, [&] { ++clicks; });

    FrostOverlay overlay;
    overlay.setFrost(true, false);
    ASSERT_FALSE(overlay.windows().empty());
    for (const auto& window : overlay.windows()) {
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
        const XWindowAttributes attributes = attributesOf(*window);
        EXPECT_EQ(attributes.map_state, IsViewable);
        EXPECT_TRUE(attributes.override_redirect);
        EXPECT_EQ(QRect(attributes.x, attributes.y, attributes.width, attributes.height),
                  window->targetScreen()->geometry());
        EXPECT_EQ(inputRectangles(*window), 0); // an empty input shape
        EXPECT_GT(stackingIndex(static_cast<Window>(window->winId())),
                  stackingIndex(static_cast<Window>(app.winId())));
        EXPECT_EQ(window->backdrop().size(),
                  window->targetScreen()->geometry().size() / kBackdropReduction);
    }

    const QPoint target = button->mapToGlobal(button->rect().center());
    ASSERT_EQ(
        runOnServer({"xdotool", "mousemove", number(target.x()), number(target.y()), "click", "1"}),
        0);
    EXPECT_TRUE(QTest::qWaitFor([&] { return clicks == 1; }, 5000));
    ASSERT_EQ(runOnServer({"xdotool", "type", "frost"}), 0);
    EXPECT_TRUE(QTest::qWaitFor([&] { return edit->text() == QStringLiteral("frost"); }, 5000));
    EXPECT_EQ(QGuiApplication::focusWindow(), app.windowHandle());
    for (const auto& window : overlay.windows()) {
        EXPECT_FALSE(window->isActiveWindow());
    }

    overlay.setFrost(false, false);
    for (const auto& window : overlay.windows()) {
        EXPECT_TRUE(
            QTest::qWaitFor([&] { return attributesOf(*window).map_state == IsUnmapped; }, 5000));
    }
}

TEST(FrostOnX11, ComesBackAboveAWindowThatRaisedItself) {
    QUELMO_SKIP_WITHOUT_XVFB();
    FrostOverlay overlay;
    overlay.setFrost(true, false);
    FrostWindow& frost = *overlay.windows().front();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&frost));
    Swatch pushy(QRect(10, 10, 200, 200), Qt::green);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&pushy));
    pushy.raise();
    const auto frostOnTop = [&] {
        return stackingIndex(static_cast<Window>(frost.winId())) >
               stackingIndex(static_cast<Window>(pushy.winId()));
    };
    EXPECT_TRUE(QTest::qWaitFor(frostOnTop, 5000));
}

TEST(FrostOnX11, ThePictureIsTheScreenUnderTheWindowBlurred) {
    QUELMO_SKIP_WITHOUT_XVFB();
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    Swatch left(QRect(screen.x(), screen.y(), screen.width() / 2, screen.height()), Qt::red);
    Swatch right(
        QRect(screen.x() + screen.width() / 2, screen.y(), screen.width() / 2, screen.height()),
        Qt::blue);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&left));
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&right));
    QTest::qWait(50);

    FrostWindow window(QGuiApplication::primaryScreen(), Qt::transparent);
    // The X server scales the picture down (the fast way), not Qt.
    EXPECT_EQ(captureScaledByServer(*window.windowHandle(), kCaptureReduction).size(),
              screen.size() / kCaptureReduction);
    const QImage picture = blurredBackdrop(window);
    ASSERT_EQ(picture.size(), screen.size() / kBackdropReduction);
    const int y = picture.height() / 2;
    const QColor farLeft = picture.pixelColor(2, y);
    const QColor farRight = picture.pixelColor(picture.width() - 3, y);
    const QColor middle = picture.pixelColor(picture.width() / 2, y);
    EXPECT_GT(farLeft.red(), 240);
    EXPECT_LT(farLeft.blue(), 15);
    EXPECT_GT(farRight.blue(), 240);
    EXPECT_LT(farRight.red(), 15);
    // Blurred across the border: both colours meet in the middle.
    EXPECT_GT(middle.red(), 60);
    EXPECT_GT(middle.blue(), 60);
}

// The screen's pixels at `area`, read from the root window.
QImage screenPixels(const QRect& area) {
    Display* dpy = qtDisplay();
    XSync(dpy, False);
    XImage* ximage = XGetImage(dpy, DefaultRootWindow(dpy), area.x(), area.y(), area.width(),
                               area.height(), AllPlanes, ZPixmap);
    if (ximage == nullptr) {
        return {};
    }
    QImage image(area.size(), QImage::Format_RGB32);
    for (int y = 0; y < area.height(); ++y) {
        for (int x = 0; x < area.width(); ++x) {
            image.setPixel(x, y, static_cast<QRgb>(XGetPixel(ximage, x, y)) | 0xff000000u);
        }
    }
    XDestroyImage(ximage);
    return image;
}

// The largest difference of any colour channel between two images of one size.
int largestDifference(const QImage& a, const QImage& b) {
    int largest = 0;
    for (int y = 0; y < a.height(); ++y) {
        for (int x = 0; x < a.width(); ++x) {
            const QRgb p = a.pixel(x, y);
            const QRgb q = b.pixel(x, y);
            largest = std::max({largest, std::abs(qRed(p) - qRed(q)),
                                std::abs(qGreen(p) - qGreen(q)), std::abs(qBlue(p) - qBlue(q))});
        }
    }
    return largest;
}

TEST(FrostOnX11, TheXServerDrawsTheSamePictureQtWould) {
    QUELMO_SKIP_WITHOUT_XVFB();
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    Swatch left(QRect(screen.x(), screen.y(), screen.width() / 2, screen.height()), Qt::red);
    Swatch right(
        QRect(screen.x() + screen.width() / 2, screen.y(), screen.width() / 2, screen.height()),
        Qt::blue);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&left));
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&right));

    FrostOverlay overlay;
    FrostWindow& window = *overlay.windows().front();
    // Qt's drawing of the look is the reference; the X server's stretching
    // may round a little differently.
    int difference = -1;
    const auto matchesQt = [&] {
        const QImage painted = window.renderLook(window.rect());
        const QImage shown = screenPixels(window.geometry());
        difference = !shown.isNull() && painted.size() == shown.size()
                         ? largestDifference(painted, shown)
                         : -1;
        return difference >= 0 && difference <= 4;
    };
    overlay.setFrost(true, false);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    EXPECT_TRUE(window.isDrawnByServer());
    EXPECT_TRUE(QTest::qWaitFor(matchesQt, 5000)) << "largest difference " << difference;

    // New wording while shown: the card is drawn again on the server.
    overlay.setFrost(true, true);
    EXPECT_TRUE(window.isDrawnByServer());
    EXPECT_TRUE(QTest::qWaitFor(matchesQt, 5000)) << "largest difference " << difference;

    // A window that covered part of the frost and goes away leaves that part
    // to be drawn again: the frost window has no background the X server
    // could fill it with. The swatch straddles the card.
    {
        const QRect card = window.hint()->parentWidget()->geometry().translated(window.pos());
        Swatch cover(QRect(card.center() - QPoint(150, 150), QSize(300, 300)), Qt::green);
        cover.raise();
        ASSERT_TRUE(QTest::qWaitFor(
            [&] { return qGreen(screenPixels(cover.geometry()).pixel(150, 150)) > 200; }, 5000));
    }
    EXPECT_TRUE(QTest::qWaitFor(matchesQt, 5000)) << "largest difference " << difference;

    // A hidden frost gives the X server its memory back.
    overlay.setFrost(false, false);
    EXPECT_TRUE(QTest::qWaitFor([&] { return !window.isVisible(); }, 5000));
    EXPECT_FALSE(window.isDrawnByServer());
}

TEST(FrostOnX11, OneWindowPerScreenAsScreensComeAndGo) {
    QUELMO_SKIP_WITHOUT_XVFB();
    QUELMO_SKIP_UNLESS_INSTALLED("xrandr", "x11-xserver-utils");
    ASSERT_EQ(QGuiApplication::screens().size(), 1);
    FrostOverlay overlay;
    overlay.setFrost(true, true);
    const auto coversEveryScreen = [&] {
        const auto screens = QGuiApplication::screens();
        if (overlay.windows().size() != static_cast<std::size_t>(screens.size())) {
            return false;
        }
        for (std::size_t i = 0; i < overlay.windows().size(); ++i) {
            const FrostWindow& window = *overlay.windows()[i];
            if (window.targetScreen() != screens[static_cast<int>(i)] ||
                window.geometry() != screens[static_cast<int>(i)]->geometry() ||
                !window.isVisible() || window.windowOpacity() != 1.0) {
                return false;
            }
        }
        return true;
    };

    // A second monitor on the right half of the X screen.
    ASSERT_EQ(
        runOnServer({"xrandr", "--setmonitor", "quelmo-right", "640/169x800/212+640+0", "none"}),
        0);
    EXPECT_TRUE(QTest::qWaitFor(
        [&] { return QGuiApplication::screens().size() == 2 && coversEveryScreen(); }, 10000));
    EXPECT_TRUE(overlay.isShown());
    for (const auto& labels : overlay.labels()) {
        EXPECT_EQ(labels.title->text(), QStringLiteral("Welcome back"));
    }

    ASSERT_EQ(runOnServer({"xrandr", "--delmonitor", "quelmo-right"}), 0);
    EXPECT_TRUE(QTest::qWaitFor(
        [&] { return QGuiApplication::screens().size() == 1 && coversEveryScreen(); }, 10000));
    EXPECT_TRUE(overlay.isShown());
}

TEST(FrostOnX11, FadesOnlyWhileACompositorRuns) {
    QUELMO_SKIP_WITHOUT_XVFB();
    QUELMO_SKIP_UNLESS_INSTALLED("xcompmgr", "xcompmgr");
    EXPECT_FALSE(compositorRunning());
    QProcess compositor;
    compositor.start(QStringLiteral("xcompmgr"), {});
    ASSERT_TRUE(compositor.waitForStarted());
    EXPECT_TRUE(QTest::qWaitFor([] { return compositorRunning(); }, 10000));

    // Now the frost fades in rather than appearing at once.
    FrostOverlay overlay;
    overlay.setFrost(true, false);
    const FrostWindow& window = *overlay.windows().front();
    EXPECT_LT(window.windowOpacity(), 1.0);
    EXPECT_TRUE(QTest::qWaitFor([&] { return window.windowOpacity() == 1.0; }, 5000));
    overlay.setFrost(false, false);
    EXPECT_TRUE(window.isVisible()); // fading out
    EXPECT_TRUE(QTest::qWaitFor([&] { return !window.isVisible(); }, 5000));

    compositor.terminate();
    ASSERT_TRUE(compositor.waitForFinished());
    EXPECT_TRUE(QTest::qWaitFor([] { return !compositorRunning(); }, 10000));
}

} // namespace
} // namespace quelmo
