#include "ui/overlay/box_blur.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <vector>

namespace quelmo {
namespace {

// One box filter along a line of `count` pixels spaced `stride` apart,
// reading from `line` and writing back through the scratch copy.
void blurLine(std::uint8_t* line, int count, int stride, int radius,
              std::vector<std::uint8_t>& scratch) {
    scratch.resize(static_cast<std::size_t>(count) * 4);
    for (int i = 0; i < count; ++i) {
        std::copy_n(line + static_cast<std::ptrdiff_t>(i) * stride, 4, &scratch[i * 4]);
    }
    const auto at = [&](int i, int c) {
        return static_cast<std::uint32_t>(scratch[std::clamp(i, 0, count - 1) * 4 + c]);
    };
    const std::uint32_t width = static_cast<std::uint32_t>(2 * radius + 1);
    std::array<std::uint32_t, 4> sum{};
    for (int c = 0; c < 4; ++c) {
        for (int k = -radius; k <= radius; ++k) {
            sum[c] += at(k, c);
        }
    }
    for (int i = 0; i < count; ++i) {
        std::uint8_t* out = line + static_cast<std::ptrdiff_t>(i) * stride;
        for (int c = 0; c < 4; ++c) {
            out[c] = static_cast<std::uint8_t>((sum[c] + width / 2) / width);
            sum[c] += at(i + radius + 1, c);
            sum[c] -= at(i - radius, c);
        }
    }
}

} // namespace

void boxBlur(QImage& image, int radius, int passes) {
    if (image.isNull() || radius <= 0 || passes <= 0 || image.depth() != 32) {
        return;
    }
    const int w = image.width();
    const int h = image.height();
    const int bpl = static_cast<int>(image.bytesPerLine());
    std::uint8_t* bits = image.bits();
    std::vector<std::uint8_t> scratch;
    for (int pass = 0; pass < passes; ++pass) {
        for (int y = 0; y < h; ++y) {
            blurLine(bits + static_cast<std::ptrdiff_t>(y) * bpl, w, 4, radius, scratch);
        }
        for (int x = 0; x < w; ++x) {
            blurLine(bits + static_cast<std::ptrdiff_t>(x) * 4, h, bpl, radius, scratch);
        }
    }
}

} // namespace quelmo
