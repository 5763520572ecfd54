#include "tools/replay/trace_fields.h"

#include <cerrno>
#include <charconv>
#include <clocale>
#include <cstdlib>
#include <cstring>
#include <locale.h>
#include <string>

namespace quelmo::trace {

void splitFields(std::string_view line, std::vector<std::string_view>& fields) {
    fields.clear();
    std::size_t start = 0;
    while (true) {
        const std::size_t comma = line.find(',', start);
        if (comma == std::string_view::npos) {
            fields.push_back(line.substr(start));
            return;
        }
        fields.push_back(line.substr(start, comma - start));
        start = comma + 1;
    }
}

namespace {
locale_t posixLocale() {
    static const locale_t locale = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
    return locale;
}
} // namespace

std::optional<double> parseNumber(std::string_view field) {
    if (field.empty() || field.find('\0') != std::string_view::npos) {
        return std::nullopt;
    }
    // Fast path for the plain decimal forms a trace is made of. from_chars and
    // strtod both round correctly, so they agree wherever both accept the text;
    // everything else (a plus sign, hexadecimal, overflow, ...) goes to strtod.
    double quick = 0.0;
    const auto [ptr, ec] = std::from_chars(field.data(), field.data() + field.size(), quick);
    if (ec == std::errc() && ptr == field.data() + field.size()) {
        return quick;
    }
    // strtod needs a terminated string; numbers in a trace are short, so a stack
    // buffer serves nearly always.
    char small[64];
    std::string large;
    const char* text = small;
    if (field.size() < sizeof small) {
        std::memcpy(small, field.data(), field.size());
        small[field.size()] = '\0';
    } else {
        large.assign(field);
        text = large.c_str();
    }
    char* end = nullptr;
    const double value = strtod_l(text, &end, posixLocale());
    if (end != text + field.size()) {
        return std::nullopt;
    }
    return value;
}

std::optional<std::int64_t> parseInteger(std::string_view field) {
    std::string_view digits = field;
    bool negative = false;
    if (!digits.empty() && (digits.front() == '+' || digits.front() == '-')) {
        negative = digits.front() == '-';
        digits.remove_prefix(1);
    }
    if (digits.empty()) {
        return std::nullopt;
    }
    for (const char c : digits) {
        if (c < '0' || c > '9') {
            return std::nullopt;
        }
    }
    // Parse with the sign attached so that the most negative value fits.
    std::int64_t value = 0;
    const char* first = negative ? digits.data() - 1 : digits.data();
    const auto [ptr, ec] = std::from_chars(first, digits.data() + digits.size(), value);
    if (ec != std::errc() || ptr != digits.data() + digits.size()) {
        return std::nullopt;
    }
    return value;
}

std::optional<bool> parseBoolean(std::string_view field) {
    if (field == "0") {
        return false;
    }
    if (field == "1") {
        return true;
    }
    return std::nullopt;
}

} // namespace quelmo::trace
