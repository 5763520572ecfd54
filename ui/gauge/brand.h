// SPDX-License-Identifier: MIT
#pragma once

#include <QColor>
#include <QGradientStops>

#include <array>

namespace quelmo::gauge {

// The three colours of the brand gradient, blue to violet to pink, evenly
// spaced from the leading edge to the trailing one. The gauge's frost zones
// and the guide's symbols are painted with it.
struct BrandStop {
    double position;
    double red;
    double green;
    double blue;
};
inline constexpr std::array<BrandStop, 3> kBrandStops{{
    {0.0, 0.23, 0.43, 0.94},
    {0.5, 0.54, 0.36, 0.96},
    {1.0, 0.93, 0.37, 0.66},
}};

inline QGradientStops brandGradientStops() {
    QGradientStops stops;
    for (const auto& s : kBrandStops) {
        stops.append({s.position, QColor::fromRgbF(float(s.red), float(s.green), float(s.blue))});
    }
    return stops;
}

} // namespace quelmo::gauge
