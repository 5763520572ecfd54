// SPDX-License-Identifier: MIT
#pragma once

#include "ui/overlay/frost_coverage.h"

#include <QObject>
#include <QString>

namespace quelmo {

// FrostCoverage in QML: what the settings header says when this session
// offers no way to cover the screen (empty otherwise). Decided at launch,
// before any window opens.
class FrostCoverageObject : public QObject {
    Q_OBJECT
    Q_PROPERTY(QString problem READ problem CONSTANT)

  public:
    QString problem() const { return frostCoverageProblem(); }
};

} // namespace quelmo
