#include "tests/ui/main_window_fixture.h"

#include <QAction>
#include <QComboBox>
#include <QDialog>
#include <QPushButton>
#include <QTest>
#include <QTextBrowser>
#include <QTimer>
#include <QTreeView>

#include "threads/ui/tree_file_save.h"

namespace teluri::test {

void OpenDataFolder(MainWindow& window, UiFixture& fixture) {
    fixture.folderAnswers.push_back(QString::fromStdString(fixture.Data()));
    window.findChild<QAction*>("Open1")->trigger();
    // The run starts from the timer and ends before the timer's handler
    // returns; it leaves the progress window's removal and its last
    // repaints to the event loop.
    auto* timer = window.findChild<QTimer*>("tmrAnalyze");
    QVERIFY(QTest::qWaitFor([timer] { return !timer->isActive(); }));
    // Tree.dat is written on a thread of its own: until its end is handled.
    auto* save = window.findChild<TreeFileSave*>();
    QVERIFY(QTest::qWaitFor([save] { return !save->Writing(); }));
    QVERIFY(WaitForPostedCalls());
}

int SearchAndOpenFirstHit(QDialog& dialog, const QString& text) {
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

QTreeView& MainWindowTestBase::tree() {
    return *window_->findChild<QTreeView*>("trvTeluri");
}

QTextBrowser& MainWindowTestBase::html() {
    return *window_->findChild<QTextBrowser*>("HTML1");
}

QAction& MainWindowTestBase::action(const char* name) {
    return *window_->findChild<QAction*>(name);
}

MainWindow& MainWindowTestBase::makeWindow(TutorialLoad tutorial) {
    window_ = std::make_unique<MainWindow>(nullptr, tutorial);
    return *window_;
}

void MainWindowTestBase::createWindow() {
    makeWindow().show();
}

void MainWindowTestBase::writeThread(LinkForm form) {
    WriteFile(fixture().DataFile("1001.msg"),
              Page("1001", Sjis("C++Builderの質問"), {}, {"1002", "1003"}));
    WriteFile(fixture().DataFile("1002.msg"), Page("1002", Sjis("Re: 質問"), "1001"));
    WriteFile(fixture().DataFile("1003.msg"),
              Page("1003", Sjis("Re: 質問"), "1001", {"1004"}, form));
    WriteFile(fixture().DataFile("1004.msg"), Page("1004", "Delphi", "1003"));
    WriteFile(fixture().DataFile("1005.msg"), Page("1005", Sjis("Delphiの話")));
}

void MainWindowTestBase::init() {
    fixture_ = std::make_unique<UiFixture>();
}

void MainWindowTestBase::cleanup() {
    window_.reset();
    fixture_.reset();
}

}  // namespace teluri::test
