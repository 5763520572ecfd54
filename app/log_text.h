#pragma once

#include <charconv>
#include <string>

namespace quelmo {

// Appends a number the way printf's "%.Nf" writes it in the C locale, whatever
// locale the application runs in (log lines must read the same everywhere).
inline void appendFixed(std::string& out, double value, int precision) {
    char buffer[400];
    const auto result =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, precision);
    if (result.ec == std::errc()) {
        out.append(buffer, result.ptr);
    }
}

inline std::string fixed(double value, int precision) {
    std::string out;
    appendFixed(out, value, precision);
    return out;
}

inline void appendInteger(std::string& out, long long value) {
    char buffer[24];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    out.append(buffer, result.ptr);
}

} // namespace quelmo
