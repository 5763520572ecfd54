// SPDX-License-Identifier: MIT
#pragma once

// Sensor frames captured from real earbuds (V1-V3 from one host, V4 from
// another), as hex, and a helper to turn them into bytes.

#include <cstdlib>
#include <string>
#include <vector>

namespace quelmo::test {

inline std::vector<unsigned char> bytesOf(const std::string& hex) {
    std::vector<unsigned char> out;
    for (std::size_t i = 0; i + 1 < hex.size();) {
        if (hex[i] == ' ') {
            ++i;
            continue;
        }
        out.push_back(
            static_cast<unsigned char>(std::strtoul(hex.substr(i, 2).c_str(), nullptr, 16)));
        i += 2;
    }
    return out;
}

inline const char* const kCapturedV1 =
    "04 00 04 00 17 00 00 00 10 00 45 00 08 98 1D 10 01 3A 3E 08 0E 1A 3A 01 A8 E4 00 50 A9 23 "
    "00 00 03 04 43 C6 2A 22 58 00 00 00 00 0A B0 24 3A 4C F0 EB FF 14 00 F8 FF 51 8F 51 8F 51 "
    "8F 0A 00 00 00 FE FF A9 01 8F 03 BE 00 8A 97 95 36 19 74 00 00";
inline const char* const kCapturedV2 =
    "04 00 04 00 17 00 00 00 10 00 45 00 08 8D 1B 10 03 3A 3E 08 0E 1A 3A 01 E8 09 CD 1B 2D 07 "
    "00 00 03 00 83 6C 00 7B 90 00 00 00 00 AF 9E 7F FA 86 D3 45 FD D1 02 00 00 1B 00 1B 00 1B "
    "00 21 00 12 00 52 00 C1 FD 43 03 32 00 2F 73 32 39 B9 6A 00 00";
// Earbuds lying in the case.
inline const char* const kCapturedV3 =
    "04 00 04 00 17 00 00 00 10 00 45 00 08 F8 17 10 03 3A 3E 08 0E 1A 3A 01 90 05 F4 86 66 06 "
    "00 00 03 00 43 F6 B2 A4 5D 00 00 00 00 3D 07 81 72 01 00 00 00 00 00 00 00 03 00 03 00 03 "
    "00 02 00 00 00 01 00 2F 03 CE FF 6D 02 AA BF C3 36 51 5E 00 00";
// 79 bytes: fixed offsets from the start give wrong words here.
inline const char* const kCapturedV4 =
    "04 00 04 00 17 00 00 00 10 00 43 00 08 D5 01 10 07 1A 3A 0E 00 01 C0 92 F4 B0 7A 14 00 00 "
    "06 04 83 A7 F2 99 76 00 00 00 00 DD 9B 6A E8 A7 DD FC FF F2 FF 05 00 23 83 00 0E 27 08 02 "
    "00 FD FF 00 00 84 FD E7 02 22 01 91 E3 1A 38 27 06 00 00";

} // namespace quelmo::test
