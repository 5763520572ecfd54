// SPDX-License-Identifier: MIT
#pragma once

#include <cstddef>
#include <map>
#include <optional>
#include <string>
#include <string_view>

namespace quelmo {

// Where the preferences are kept (the user defaults): a per-user
// key-value store. Preferences is its only user. Values are read back as text,
// the way they sit in the settings file; what counts as a Boolean or a number
// is decided by parseStoredBool() and parseStoredDouble() below.
class PreferenceStore {
  public:
    virtual ~PreferenceStore() = default;

    // The value under `key` as text, or none when the key is missing or its
    // value is not a single piece of text (a list, say).
    virtual std::optional<std::string> read(std::string_view key) const = 0;
    // Writes through at once. Booleans are written as "true" / "false".
    virtual void writeBool(std::string_view key, bool value) = 0;
    virtual void writeDouble(std::string_view key, double value) = 0;
};

// A stored text that can be read as a Boolean: "true" or "false" (any letter
// case), or "1" or "0", with surrounding blanks ignored. Anything else: none.
std::optional<bool> parseStoredBool(std::string_view text);

// A stored text that can be read as a double: a whole decimal number in the C
// locale ("50", "-0.5", "1e-3"; surrounding blanks ignored) that is finite.
// Hex, "inf", "nan", trailing text, a comma decimal mark: none.
std::optional<double> parseStoredDouble(std::string_view text);

// The text a double is written as: the shortest text that reads back as the
// same value ("50", "0.6", "1e-07").
std::string formatStoredDouble(double value);

// The store in memory, for tests. Keeps the text as written.
class MemoryPreferenceStore final : public PreferenceStore {
  public:
    std::optional<std::string> read(std::string_view key) const override;
    void writeBool(std::string_view key, bool value) override;
    void writeDouble(std::string_view key, double value) override;

    // Puts any text under a key, as if another program had written it.
    void set(std::string_view key, std::string text);
    void remove(std::string_view key);
    bool contains(std::string_view key) const;
    // Writes made through writeBool / writeDouble, in total.
    std::size_t writeCount() const { return writes_; }
    const std::map<std::string, std::string, std::less<>>& values() const { return values_; }

  private:
    std::map<std::string, std::string, std::less<>> values_;
    std::size_t writes_ = 0;
};

} // namespace quelmo
