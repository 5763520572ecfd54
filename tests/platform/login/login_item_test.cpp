// SPDX-License-Identifier: MIT
#include "platform/login/login_item.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include <filesystem>
#include <fstream>

#include <unistd.h>

namespace quelmo {
namespace {

namespace fs = std::filesystem;

QString readAll(const fs::path& p) {
    QFile f(QString::fromStdString(p.string()));
    return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
}

class LoginItemTest : public ::testing::Test {
  protected:
    QTemporaryDir dir;
    fs::path root() const { return fs::path(dir.path().toStdString()); }
    fs::path entry() const { return root() / "autostart" / LoginItem::kEntryName; }
};

TEST_F(LoginItemTest, EntryLivesInTheUsersAutostartFolder) {
    EXPECT_EQ(LoginItem::entryPathFor("/x/config", "/home/u"),
              fs::path("/x/config/autostart/app.quelmo.Quelmo.desktop"));
    // Unset, empty or relative XDG_CONFIG_HOME: ~/.config.
    for (const char* xdg : {static_cast<const char*>(nullptr), "", "relative/config"}) {
        EXPECT_EQ(LoginItem::entryPathFor(xdg, "/home/u"),
                  fs::path("/home/u/.config/autostart/app.quelmo.Quelmo.desktop"));
    }
}

TEST_F(LoginItemTest, TurningOnWritesAnEntryAndOffRemovesIt) {
    const LoginItem item(entry(), "/opt/Quelmo/bin/quelmo");
    EXPECT_FALSE(item.isEnabled());
    EXPECT_EQ(item.set(false), std::nullopt); // nothing to remove is fine

    EXPECT_EQ(item.set(true), std::nullopt); // makes the autostart folder too
    EXPECT_TRUE(item.isEnabled());
    const QString text = readAll(entry());
    EXPECT_TRUE(text.startsWith("[Desktop Entry]\n"));
    EXPECT_TRUE(text.contains("\nType=Application\n"));
    EXPECT_TRUE(text.contains("\nExec=\"/opt/Quelmo/bin/quelmo\"\n"));

    EXPECT_EQ(item.set(false), std::nullopt);
    EXPECT_FALSE(item.isEnabled());
    EXPECT_FALSE(fs::exists(entry()));
}

TEST_F(LoginItemTest, AnEntryHiddenByTheDesktopCountsAsOff) {
    fs::create_directories(entry().parent_path());
    std::ofstream(entry()) << "[Desktop Entry]\nType=Application\nExec=quelmo\nHidden = true\n";
    const LoginItem item(entry(), "/usr/bin/quelmo");
    EXPECT_FALSE(item.isEnabled());

    // Hidden in another group does not count.
    std::ofstream(entry()) << "[Desktop Entry]\nExec=quelmo\n[Desktop Action x]\nHidden=true\n";
    EXPECT_TRUE(item.isEnabled());

    // Turning on again replaces the hidden entry with a live one.
    std::ofstream(entry()) << "[Desktop Entry]\nHidden=true\n";
    EXPECT_EQ(item.set(true), std::nullopt);
    EXPECT_TRUE(item.isEnabled());
}

TEST_F(LoginItemTest, ProgramPathsAreQuotedSoTheyStayOneArgument) {
    const QString text = LoginItem::desktopEntry("/home/a b/100% \"q\"/$HOME/`x`/back\\slash");
    EXPECT_TRUE(text.contains(
        "\nExec=\"/home/a b/100%% \\\\\"q\\\\\"/\\\\$HOME/\\\\`x\\\\`/back\\\\\\\\slash\"\n"))
        << text.toStdString();
    // A line break in a path cannot add a line (and so a key) of its own.
    const QString injected = LoginItem::desktopEntry("/tmp/q\nHidden=true");
    EXPECT_FALSE(injected.contains("\nHidden=true"));
    EXPECT_EQ(injected.count('\n'), LoginItem::desktopEntry("/q").count('\n'));
}

TEST_F(LoginItemTest, FailuresComeBackAsText) {
    // The autostart "folder" is a file: the entry cannot be written.
    std::ofstream(root() / "autostart") << "not a folder";
    const LoginItem item(entry(), "/usr/bin/quelmo");
    const auto error = item.set(true);
    ASSERT_TRUE(error.has_value());
    EXPECT_FALSE(error->isEmpty());
    EXPECT_FALSE(item.isEnabled());

    // An entry that cannot be removed (its folder is read-only).
    fs::remove(root() / "autostart");
    const LoginItem second(entry(), "/usr/bin/quelmo");
    ASSERT_EQ(second.set(true), std::nullopt);
    fs::permissions(entry().parent_path(), fs::perms::owner_read | fs::perms::owner_exec);
    const auto removeError = second.set(false);
    fs::permissions(entry().parent_path(), fs::perms::owner_all);
    if (::geteuid() != 0) { // root may remove it anyway
        ASSERT_TRUE(removeError.has_value());
        EXPECT_TRUE(second.isEnabled());
    }
}

TEST_F(LoginItemTest, RunningProgramIsThisExecutable) {
    const LoginItem item = LoginItem::forRunningProgram();
    EXPECT_EQ(item.program().filename(), "login_item_tests");
    EXPECT_EQ(item.entryPath().filename(), "app.quelmo.Quelmo.desktop");
}

} // namespace
} // namespace quelmo
