// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

namespace quelmo::trace {

// Splits a line at every comma; empty fields are kept.
void splitFields(std::string_view line, std::vector<std::string_view>& fields);

// A decimal number in C strtod syntax (C locale) that fills the whole field;
// "nan" and "inf" are numbers here (the core decides what to do with them).
std::optional<double> parseNumber(std::string_view field);

// An optional sign followed by one or more digits, within 64 bits.
std::optional<std::int64_t> parseInteger(std::string_view field);

// Exactly "0" or "1".
std::optional<bool> parseBoolean(std::string_view field);

} // namespace quelmo::trace
