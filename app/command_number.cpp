#include "app/command_number.h"

#include <cctype>
#include <cmath>
#include <cstdlib>
#include <locale.h>
#include <string>

namespace quelmo {

std::optional<double> parseCommandNumber(std::string_view text) {
    if (text.empty() || text.find('\0') != std::string_view::npos) {
        return std::nullopt;
    }
    const unsigned char first = static_cast<unsigned char>(text.front());
    const unsigned char last = static_cast<unsigned char>(text.back());
    if (std::isspace(first) || std::isspace(last)) {
        return std::nullopt; // strtod would skip leading blanks; we do not allow them
    }
    static const locale_t posix = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
    const std::string copy(text);
    char* end = nullptr;
    const double value = strtod_l(copy.c_str(), &end, posix);
    if (end != copy.c_str() + copy.size() || !std::isfinite(value)) {
        return std::nullopt; // "nan" or "inf" would poison every later heading
    }
    return value;
}

} // namespace quelmo
