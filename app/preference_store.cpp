// SPDX-License-Identifier: MIT
#include "app/preference_store.h"

#include "core/number_text.h"

#include <charconv>
#include <cmath>

namespace quelmo {

namespace {

std::string_view trimmed(std::string_view text) {
    constexpr std::string_view blanks = " \t\r\n\v\f";
    const auto first = text.find_first_not_of(blanks);
    if (first == std::string_view::npos) {
        return {};
    }
    const auto last = text.find_last_not_of(blanks);
    return text.substr(first, last - first + 1);
}

bool equalsIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        char c = a[i];
        if (c >= 'A' && c <= 'Z') {
            c = static_cast<char>(c - 'A' + 'a');
        }
        if (c != b[i]) {
            return false;
        }
    }
    return true;
}

} // namespace

std::optional<bool> parseStoredBool(std::string_view text) {
    const auto t = trimmed(text);
    if (equalsIgnoringCase(t, "true") || t == "1") {
        return true;
    }
    if (equalsIgnoringCase(t, "false") || t == "0") {
        return false;
    }
    return std::nullopt;
}

std::optional<double> parseStoredDouble(std::string_view text) {
    return usableNumberFromText(trimmed(text), NumberSyntax::plain);
}

std::string formatStoredDouble(double value) {
    char buffer[64];
    const auto [ptr, ec] = std::to_chars(buffer, buffer + sizeof buffer, value);
    if (ec != std::errc{}) {
        return "0";
    }
    return std::string(buffer, ptr);
}

std::optional<std::string> MemoryPreferenceStore::read(std::string_view key) const {
    const auto it = values_.find(key);
    if (it == values_.end()) {
        return std::nullopt;
    }
    return it->second;
}

void MemoryPreferenceStore::writeBool(std::string_view key, bool value) {
    set(key, value ? "true" : "false");
    ++writes_;
}

void MemoryPreferenceStore::writeDouble(std::string_view key, double value) {
    set(key, formatStoredDouble(value));
    ++writes_;
}

void MemoryPreferenceStore::set(std::string_view key, std::string text) {
    values_.insert_or_assign(std::string(key), std::move(text));
}

void MemoryPreferenceStore::remove(std::string_view key) {
    const auto it = values_.find(key);
    if (it != values_.end()) {
        values_.erase(it);
    }
}

bool MemoryPreferenceStore::contains(std::string_view key) const {
    return values_.find(key) != values_.end();
}

} // namespace quelmo
