// SPDX-License-Identifier: MIT
#pragma once

// Numbers as text, the same everywhere: in files, traces, command words and
// log lines a number always reads and writes in the C locale, whatever
// language the user runs in.

#include <optional>
#include <string>
#include <string_view>

namespace quelmo {

// What a number may look like.
enum class NumberSyntax {
    // Everything C's strtod reads in the C locale: a sign, hexadecimal,
    // "inf" and "nan" included.
    c,
    // Plain decimals only, as people and our own files write them: an
    // optional minus sign, digits, a point, an exponent (and the words "inf"
    // and "nan", which are never usable).
    plain,
};

// A number in the C locale that fills the whole text: no blanks around it,
// no NUL inside. The value comes back as read, so "nan", "inf" and overflows
// are returned non-finite; callers that need a usable value ask isUsable()
// (core/usable_number.h) or call usableNumberFromText().
std::optional<double> numberFromText(std::string_view text, NumberSyntax syntax = NumberSyntax::c);

// The same, and usable by the detection core: finite and not huge.
std::optional<double> usableNumberFromText(std::string_view text,
                                           NumberSyntax syntax = NumberSyntax::c);

// Appends `value` exactly as printf's "%.<precision>f" writes it in the C
// locale (to_chars with a precision is defined to give that text).
void appendFixed(std::string& out, double value, int precision);
std::string fixed(double value, int precision);

void appendInteger(std::string& out, long long value);

} // namespace quelmo
