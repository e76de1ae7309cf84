// Drives the main window's open-folder command in window tests.
#pragma once

#include <QAction>
#include <QComboBox>
#include <QDialog>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QTreeView>
#include <QTreeWidget>

#include "app/ui/main_window.h"
#include "tests/ui/ui_support.h"

namespace teluri::test {

// Chooses the fixture's data folder with the open command and waits until
// the analysis run has ended.
inline void OpenDataFolder(MainWindow& window, UiFixture& fixture) {
    fixture.folderAnswers.push_back(QString::fromStdString(fixture.Data()));
    window.findChild<QAction*>("Open1")->trigger();
    QVERIFY(WaitFor([&window] { return !window.findChild<QTimer*>("tmrAnalyze")->isActive(); }));
    QTest::qWait(20);
}

// Types a text into the search window, runs the search and double-clicks
// the first row; -1 when there is no row.
inline int SearchAndOpenFirstHit(QDialog& dialog, const QString& text) {
    dialog.show();
    dialog.findChild<QComboBox*>("cmbFind")->setEditText(text);
    dialog.findChild<QPushButton*>("BitBtn1")->click();
    auto* list = dialog.findChild<QTreeView*>("lsvFInd");
    if (list->model()->rowCount() == 0) {
        return -1;
    }
    const QModelIndex row = list->model()->index(0, 0);
    list->setCurrentIndex(row);
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, list->visualRect(row).center());
    return dialog.result();
}

}  // namespace teluri::test
