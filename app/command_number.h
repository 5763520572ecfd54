// SPDX-License-Identifier: MIT
#pragma once

#include "core/number_text.h"

#include <optional>
#include <string_view>

namespace quelmo {

// The number after "turn:" or "far:": a decimal number in the C locale that
// makes up the whole text, with no surrounding spaces ("45", "-12.5", "1e1"),
// and is usable ("nan" or "inf" would poison every later heading).
inline std::optional<double> parseCommandNumber(std::string_view text) {
    return usableNumberFromText(text);
}

} // namespace quelmo
