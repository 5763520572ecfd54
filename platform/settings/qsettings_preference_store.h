// SPDX-License-Identifier: MIT
#pragma once

#include "app/preference_store.h"

#include <QString>

#include <memory>

class QSettings;

namespace quelmo {

// The preference store on QSettings in its native format: on Linux the INI
// file $XDG_CONFIG_HOME/Quelmo/Quelmo.conf (default ~/.config/Quelmo/Quelmo.conf),
// organisation and application both "Quelmo", keys in the [General] section.
// Booleans are written as true/false, doubles as the shortest text that reads
// back exactly ("50", "0.6").
//
// Every write is synced to disk at once (QSettings would otherwise write only
// on a later turn of the event loop, and a process ended by the watchdog would
// lose it). A sync merges with the file as it is then, so keys written by
// anyone else are kept.
//
// A file that cannot be read (no permission, a folder in its place) reads as
// empty and is never written over, so nothing in it is lost; our values then
// live for this run only. A file that is corrupt (QSettings reports a format
// error) gives what can be parsed; before our first write lets QSettings
// rewrite it, its bytes are copied to "Quelmo.conf.corrupt" beside it, so the
// parts QSettings could not read are not lost either.
class QSettingsPreferenceStore final : public PreferenceStore {
  public:
    // The user's store: organisation and application "Quelmo".
    QSettingsPreferenceStore();
    // A store on a given file (tests), same native format.
    explicit QSettingsPreferenceStore(const QString& filePath);
    ~QSettingsPreferenceStore() override;

    std::optional<std::string> read(std::string_view key) const override;
    void writeBool(std::string_view key, bool value) override;
    void writeDouble(std::string_view key, double value) override;

    // The file behind the store.
    QString fileName() const;
    // Where the copy of a corrupt file goes.
    QString corruptCopyFileName() const;

  private:
    void init();
    void beforeWrite();

    std::unique_ptr<QSettings> settings_;
    bool corruptUncopied_ = false;
};

} // namespace quelmo
