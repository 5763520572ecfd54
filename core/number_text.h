#pragma once

// Numbers as text, the same everywhere: in files, traces, command words and
// log lines a number always reads and writes in the C locale, whatever
// language the user runs in.

#include <optional>
#include <string>
#include <string_view>

namespace quelmo {

// A decimal number as C's strtod reads it in the C locale (sign, digits,
// point, exponent, or "inf"/"nan") that fills the whole text: no blanks
// around it, no NUL inside, no hexadecimal form. The value comes back as
// strtod gives it, so "nan", "inf" and overflows are returned non-finite;
// callers that need a usable value ask isUsable() (core/usable_number.h).
std::optional<double> parseDecimal(std::string_view text);

// The same, and usable by the detection core: finite and not huge.
std::optional<double> parseUsableDecimal(std::string_view text);

// Appends `value` exactly as printf's "%.<precision>f" writes it in the C
// locale (to_chars with a precision is defined to give that text).
void appendFixed(std::string& out, double value, int precision);
std::string fixed(double value, int precision);

void appendInteger(std::string& out, long long value);

} // namespace quelmo
