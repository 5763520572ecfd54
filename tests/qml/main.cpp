// SPDX-License-Identifier: MIT
#include "ui/qml/qml_setup.h"

#include <QQmlEngine>
#include <QtQuickTest>

// Gives each test's engine the views' modules and C++ helpers.
class Setup : public QObject {
    Q_OBJECT
  public slots:
    void qmlEngineAvailable(QQmlEngine* engine) { quelmo::prepareQmlEngine(*engine); }
};

QUICK_TEST_MAIN_WITH_SETUP(quelmo_qml, Setup)

#include "main.moc"
