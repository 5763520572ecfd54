// SPDX-License-Identifier: MIT
// Qt and GoogleTest before Xlib: Xlib's macros (None, KeyPress, Bool, ...) break their
// headers.
#include <QCoreApplication>
#include <QTest>
#include <QThread>

#include "tests/platform/x11/x11_test_helpers.h"
#include "tests/support/stderr_capture.h"

#include "platform/x11/global_hot_key.h"
#include "platform/x11/x11_connection.h"
#include "platform/x11/x11_modifier_map.h"

#include <X11/keysym.h>

namespace quelmo {
namespace {

using namespace test;

constexpr QKeyCombination kCtrlAltMetaR(Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier,
                                        Qt::Key_R);
constexpr unsigned kControlAltSuper = ControlMask | Mod1Mask | Mod4Mask;
const std::vector<std::string> kChord = {"key", "ctrl+alt+super+r"};

// Runs the Qt event loop until done() holds; false when kPatience runs out first.
bool pumpUntil(const std::function<bool()>& done) {
    return QTest::qWaitFor(done, static_cast<int>(std::chrono::milliseconds(kPatience).count()));
}

// Gives queued actions time to run, for checks that no more arrive.
void pumpAWhile() {
    QTest::qWait(400);
}

class GlobalHotKeyOnX11 : public XvfbTest {
  protected:
    std::unique_ptr<GlobalHotKey> registerChord() {
        return GlobalHotKey::createOnDisplay(display(), kCtrlAltMetaR, [this] {
            ++presses;
            onMainThread = onMainThread && QThread::currentThread() == qApp->thread();
        });
    }

    // Grabs Control+Alt+Super+R plus extra modifiers from a separate client, as another
    // program would; Success or the X error code.
    int grabFromOtherClient(x11::X11Connection& other, unsigned extra) {
        Display* d = other.display();
        XGrabKey(d, XKeysymToKeycode(d, XK_r), kControlAltSuper | extra, DefaultRootWindow(d),
                 False, GrabModeAsync, GrabModeAsync);
        return other.syncAndTakeError();
    }

    int presses = 0;
    bool onMainThread = true;
};

TEST_F(GlobalHotKeyOnX11, FiresOncePerPressOnTheMainThread) {
    auto hotKey = registerChord();
    ASSERT_NE(hotKey, nullptr);
    xdotool(kChord);
    ASSERT_TRUE(pumpUntil([&] { return presses >= 1; }));
    xdotool(kChord);
    ASSERT_TRUE(pumpUntil([&] { return presses >= 2; }));

    // Held past the auto-repeat delay: still one press.
    xdotool({"keydown", "ctrl+alt+super+r"});
    std::this_thread::sleep_for(1200ms);
    xdotool({"keyup", "ctrl+alt+super+r"});
    ASSERT_TRUE(pumpUntil([&] { return presses >= 3; }));
    pumpAWhile();
    EXPECT_EQ(presses, 3);
    EXPECT_TRUE(onMainThread);
}

TEST_F(GlobalHotKeyOnX11, FiresWithNumLockAndCapsLockOn) {
    auto hotKey = registerChord();
    ASSERT_NE(hotKey, nullptr);
    xdotool({"key", "Num_Lock"});
    xdotool(kChord);
    EXPECT_TRUE(pumpUntil([&] { return presses == 1; }));
    xdotool({"key", "Caps_Lock"});
    xdotool(kChord);
    EXPECT_TRUE(pumpUntil([&] { return presses == 2; }));
    xdotool({"key", "Num_Lock"});
    xdotool({"key", "Caps_Lock"});
}

TEST_F(GlobalHotKeyOnX11, IgnoresRWithoutTheWholeChord) {
    auto hotKey = registerChord();
    ASSERT_NE(hotKey, nullptr);
    for (const char* keys :
         {"r", "ctrl+alt+r", "super+r", "ctrl+alt+super+shift+r", "ctrl+alt+super+t"}) {
        xdotool({"key", keys});
    }
    xdotool(kChord);
    ASSERT_TRUE(pumpUntil([&] { return presses >= 1; }));
    pumpAWhile();
    EXPECT_EQ(presses, 1);
}

TEST_F(GlobalHotKeyOnX11, ASecondRegistrationOfTheSameChordFailsAndTheFirstKeepsWorking) {
    auto first = registerChord();
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(registerChord(), nullptr);
    xdotool(kChord);
    EXPECT_TRUE(pumpUntil([&] { return presses == 1; }));
}

TEST_F(GlobalHotKeyOnX11, ARefusedGrabLeavesNoVariantGrabbed) {
    auto other = x11::X11Connection::open(display());
    ASSERT_NE(other, nullptr);
    // Another program holds only the NumLock variant, so the plain one is grabbed first
    // and must be given back.
    const unsigned numLock = x11::modifierMaskOf(other->display(), XK_Num_Lock);
    ASSERT_NE(numLock, 0u);
    ASSERT_EQ(grabFromOtherClient(*other, numLock), Success);
    EXPECT_EQ(registerChord(), nullptr);
    EXPECT_EQ(grabFromOtherClient(*other, 0), Success);
}

TEST_F(GlobalHotKeyOnX11, ReleasingUngrabsEveryVariant) {
    registerChord().reset();
    auto other = x11::X11Connection::open(display());
    ASSERT_NE(other, nullptr);
    const unsigned numLock = x11::modifierMaskOf(other->display(), XK_Num_Lock);
    for (unsigned locks : {0u, unsigned{LockMask}, numLock, LockMask | numLock}) {
        EXPECT_EQ(grabFromOtherClient(*other, locks), Success) << "locks " << locks;
    }
}

TEST_F(GlobalHotKeyOnX11, UnusableRequestsGiveNoHotKey) {
    auto create = [&](QKeyCombination chord, std::function<void()> action) {
        return GlobalHotKey::createOnDisplay(display(), chord, std::move(action));
    };
    EXPECT_EQ(create(Qt::ControlModifier | Qt::Key_F1, [] {}), nullptr); // not a letter or digit
    EXPECT_EQ(create(Qt::KeypadModifier | Qt::Key_R, [] {}), nullptr);   // no X11 modifier
    EXPECT_EQ(create(kCtrlAltMetaR, nullptr), nullptr);
    EXPECT_EQ(GlobalHotKey::createOnDisplay(":65000", kCtrlAltMetaR, [] {}), nullptr);
    // Off the main thread the action could never reach the event loop.
    std::unique_ptr<GlobalHotKey> offThread;
    std::thread([&] { offThread = create(kCtrlAltMetaR, [] {}); }).join();
    EXPECT_EQ(offThread, nullptr);
    // None of these left a grab behind.
    EXPECT_NE(registerChord(), nullptr);
}

TEST(GlobalHotKeyLostServer, CarriesOnWhenTheServerGoesAway) {
    QUELMO_SKIP_UNLESS_INSTALLED("Xvfb", "xvfb");
    XvfbServer server;
    ASSERT_TRUE(server.isRunning()) << server.failure();
    auto hotKey = GlobalHotKey::createOnDisplay(server.display(), kCtrlAltMetaR, [] {});
    ASSERT_NE(hotKey, nullptr);
    StderrCapture stderrText;
    server.stop();
    EXPECT_TRUE(pumpUntil([&] { return stderrText.count("hot key no longer works") == 1; }));
    hotKey.reset();
}

} // namespace
} // namespace quelmo
