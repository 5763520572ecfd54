// SPDX-License-Identifier: MIT
#include "ui/overlay/box_blur.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <vector>

namespace quelmo {
namespace {

// Pixels as 32-bit words, rows packed one after the other.
struct Plane {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> pixels;

    std::uint32_t* row(int y) { return pixels.data() + static_cast<std::size_t>(y) * width; }
};

Plane transposed(Plane& source) {
    Plane out{source.height, source.width, std::vector<std::uint32_t>(source.pixels.size())};
    for (int y = 0; y < source.height; ++y) {
        const std::uint32_t* in = source.row(y);
        for (int x = 0; x < source.width; ++x) {
            out.pixels[static_cast<std::size_t>(x) * out.width + y] = in[x];
        }
    }
    return out;
}

// Box filters down the columns, a whole row at a time: the running sums of
// every column slide down together, which the compiler turns into vector
// code. (Rows are blurred by transposing and doing the same.) The division
// by the box width is a multiplication; a hardware division per channel
// would be most of the cost.
void blurColumns(Plane& plane, int radius, int passes) {
    const std::size_t count = static_cast<std::size_t>(plane.width) * 4;
    const std::uint32_t width = static_cast<std::uint32_t>(2 * radius + 1);
    const std::uint32_t inverse = ((1u << 24) + width / 2) / width;
    std::vector<std::uint8_t> copy(plane.pixels.size() * 4);
    std::vector<std::uint32_t> sums(count);
    for (int pass = 0; pass < passes; ++pass) {
        std::memcpy(copy.data(), plane.pixels.data(), copy.size());
        const auto source = [&](int y) {
            return copy.data() +
                   count * static_cast<std::size_t>(std::clamp(y, 0, plane.height - 1));
        };
        std::fill(sums.begin(), sums.end(), 0u);
        for (int k = -radius; k <= radius; ++k) {
            const std::uint8_t* line = source(k);
            for (std::size_t i = 0; i < count; ++i) {
                sums[i] += line[i];
            }
        }
        for (int y = 0; y < plane.height; ++y) {
            auto* out = reinterpret_cast<std::uint8_t*>(plane.row(y));
            const std::uint8_t* entering = source(y + radius + 1);
            const std::uint8_t* leaving = source(y - radius);
            for (std::size_t i = 0; i < count; ++i) {
                out[i] = static_cast<std::uint8_t>((sums[i] * inverse + (1u << 23)) >> 24);
                sums[i] += entering[i];
                sums[i] -= leaving[i];
            }
        }
    }
}

} // namespace

void boxBlur(QImage& image, int radius, int passes) {
    if (image.isNull() || radius <= 0 || passes <= 0 || image.depth() != 32) {
        return;
    }
    Plane plane{
        image.width(), image.height(),
        std::vector<std::uint32_t>(static_cast<std::size_t>(image.width()) * image.height())};
    for (int y = 0; y < plane.height; ++y) {
        std::memcpy(plane.row(y), image.constScanLine(y),
                    static_cast<std::size_t>(plane.width) * 4);
    }
    // The filters along the two directions commute, so all vertical passes
    // can run first and all horizontal ones after.
    blurColumns(plane, radius, passes);
    Plane turned = transposed(plane);
    blurColumns(turned, radius, passes);
    plane = transposed(turned);
    for (int y = 0; y < plane.height; ++y) {
        std::memcpy(image.scanLine(y), plane.row(y), static_cast<std::size_t>(plane.width) * 4);
    }
}

} // namespace quelmo
