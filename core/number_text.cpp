// SPDX-License-Identifier: MIT
#include "core/number_text.h"

#include "core/usable_number.h"

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <locale.h>

namespace quelmo {

namespace {

locale_t cLocale() {
    static const locale_t locale = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
    return locale;
}

bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

} // namespace

std::optional<double> numberFromText(std::string_view text, NumberSyntax syntax) {
    if (text.empty() || isBlank(text.front()) || text.find('\0') != std::string_view::npos) {
        return std::nullopt;
    }
    // Plain decimals take the fast path; from_chars and strtod both round
    // correctly, so they agree wherever both accept the text. The rest (a
    // plus sign, hexadecimal, an overflow, ...) goes to strtod.
    double quick = 0.0;
    const auto [ptr, ec] =
        std::from_chars(text.data(), text.data() + text.size(), quick, std::chars_format::general);
    if (ec == std::errc() && ptr == text.data() + text.size()) {
        return quick;
    }
    if (syntax == NumberSyntax::plain) {
        return std::nullopt;
    }
    // strtod needs a terminated string; numbers are short, so a stack buffer
    // serves nearly always.
    char small[64];
    std::string large;
    const char* terminated = small;
    if (text.size() < sizeof small) {
        std::memcpy(small, text.data(), text.size());
        small[text.size()] = '\0';
    } else {
        large.assign(text);
        terminated = large.c_str();
    }
    char* end = nullptr;
    const double value = strtod_l(terminated, &end, cLocale());
    if (end != terminated + text.size()) {
        return std::nullopt;
    }
    return value;
}

std::optional<double> usableNumberFromText(std::string_view text, NumberSyntax syntax) {
    const std::optional<double> value = numberFromText(text, syntax);
    if (!value || !isUsable(*value)) {
        return std::nullopt;
    }
    return value;
}

void appendFixed(std::string& out, double value, int precision) {
    char buffer[400];
    const auto result =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, precision);
    if (result.ec == std::errc()) {
        out.append(buffer, result.ptr);
        return;
    }
    // Only numbers near the double range's end overflow the buffer.
    const int n = std::snprintf(buffer, sizeof buffer, "%.*f", precision, value);
    if (n > 0) {
        out.append(buffer, std::min<std::size_t>(static_cast<std::size_t>(n), sizeof buffer - 1));
    }
}

std::string fixed(double value, int precision) {
    std::string out;
    appendFixed(out, value, precision);
    return out;
}

void appendInteger(std::string& out, long long value) {
    char buffer[24];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    out.append(buffer, result.ptr);
}

} // namespace quelmo
