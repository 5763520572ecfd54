// SPDX-License-Identifier: MIT
#pragma once

#include <QString>

#include <filesystem>
#include <optional>

namespace quelmo {

// Opening Quelmo at login, as an XDG autostart entry: a desktop entry named
// app.quelmo.Quelmo.desktop in the user's autostart folder whose Exec line
// starts this program. It counts as on when the entry exists and is not
// marked Hidden=true (which is how desktops switch an entry off).
// Failures are returned as text, never thrown. Main thread only.
class LoginItem {
  public:
    static constexpr const char* kEntryName = "app.quelmo.Quelmo.desktop";

    // The entry at `entryPath`, starting `program`.
    LoginItem(std::filesystem::path entryPath, std::filesystem::path program);

    // The entry for the running program in the user's autostart folder.
    static LoginItem forRunningProgram();

    // $XDG_CONFIG_HOME/autostart/app.quelmo.Quelmo.desktop; ~/.config stands
    // in for XDG_CONFIG_HOME when it is unset, empty or not absolute (as the
    // XDG base directory rules ask).
    static std::filesystem::path entryPathFor(const char* xdgConfigHome, const char* home);

    // The text of the entry written for `program`.
    static QString desktopEntry(const std::filesystem::path& program);

    bool isEnabled() const;

    // Writes (on) or removes (off) the entry. Nothing on success; otherwise
    // a sentence saying what failed. Does not read the state back.
    std::optional<QString> set(bool enabled) const;

    const std::filesystem::path& entryPath() const { return entryPath_; }
    const std::filesystem::path& program() const { return program_; }

  private:
    std::filesystem::path entryPath_;
    std::filesystem::path program_;
};

} // namespace quelmo
