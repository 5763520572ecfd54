// SPDX-License-Identifier: MIT
#pragma once

#include <QPainterPath>
#include <QString>

namespace quelmo::gauge {

// A painter path as SVG path data ("M x y L x y C ... Z"), for PathSvg.
QString svgPathData(const QPainterPath& path);

} // namespace quelmo::gauge
