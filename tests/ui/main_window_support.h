// Drives the main window's open-folder command in window tests.
#pragma once

#include <QAction>
#include <QTest>
#include <QTimer>

#include "app/ui/frmmain.h"
#include "tests/ui/ui_support.h"

namespace teluri::test {

// Chooses the fixture's data folder with the open command and waits until
// the analysis run has ended.
inline void OpenDataFolder(TfrmMain& window, UiFixture& fixture) {
    fixture.folderAnswers.push_back(QString::fromStdString(fixture.Data()));
    window.findChild<QAction*>("Open1")->trigger();
    QVERIFY(WaitFor([&window] { return !window.findChild<QTimer*>("tmrAnalyze")->isActive(); }));
    QTest::qWait(20);
}

}  // namespace teluri::test
