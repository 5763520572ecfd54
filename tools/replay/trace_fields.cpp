// SPDX-License-Identifier: MIT
#include "tools/replay/trace_fields.h"

#include "core/number_text.h"

#include <charconv>

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

std::optional<double> parseNumber(std::string_view field) {
    // Traces have always been read with strtod, which skips leading blanks.
    const std::size_t start = field.find_first_not_of(" \t\n\v\f\r");
    return numberFromText(start == std::string_view::npos ? std::string_view()
                                                          : field.substr(start));
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
