// SPDX-License-Identifier: MIT
#include "ui/overlay/frost_coverage.h"

namespace quelmo {

namespace {
QString& problem() {
    static QString text;
    return text;
}
} // namespace

QString frostCoverageProblem() {
    return problem();
}

void setFrostCoverageProblem(const QString& text) {
    problem() = text;
}

QString noCoverageText() {
    return QStringLiteral("This desktop offers no way to cover the screen: the frost cannot hide "
                          "it here");
}

} // namespace quelmo
