// SPDX-License-Identifier: MIT
#pragma once

// What the headphone probe prints with: a line, and the range of a value.

#include <QString>

#include <algorithm>
#include <cstdio>

namespace quelmo::probe {

inline void say(const QString& line) {
    std::printf("%s\n", line.toLocal8Bit().constData());
    std::fflush(stdout);
}

struct Range {
    double low = 0, high = 0;
    bool any = false;
    void add(double v) {
        low = any ? std::min(low, v) : v;
        high = any ? std::max(high, v) : v;
        any = true;
    }
    QString text(int decimals, const char* unit) const {
        return any ? QStringLiteral("%1 to %2 %3")
                         .arg(low, 0, 'f', decimals)
                         .arg(high, 0, 'f', decimals)
                         .arg(QLatin1String(unit))
                   : QStringLiteral("none");
    }
};

} // namespace quelmo::probe
