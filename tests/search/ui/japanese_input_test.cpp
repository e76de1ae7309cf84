// Japanese typed through an input method reaches the search field: the
// keys go to the X server and from there through the input method (ibus
// with the Anthy engine) as a person's keys do. Run by
// japanese_input_test.sh, which starts the display and the input method.
#include <QAction>
#include <QComboBox>
#include <QLineEdit>
#include <QProcess>
#include <QTest>

#include "app/ui/main_window.h"
#include "search/ui/search_window.h"
#include "tests/ui/ui_support.h"

namespace teluri {

class JapaneseInputTest : public QObject {
    Q_OBJECT

  private slots:
    void kanjiTypedThroughTheInputMethodArriveInTheSearchField() {
        test::UiFixture fixture;
        MainWindow window;
        // The search window is made at its first use.
        window.findChild<QAction*>("Find1")->trigger();
        auto* search = window.findChild<SearchWindow*>();
        search->show();
        search->activateWindow();
        QLineEdit* field = search->findChild<QComboBox*>("cmbFind")->lineEdit();
        field->setFocus();
        QVERIFY(QTest::qWaitForWindowActive(search));
        QTRY_VERIFY(field->hasFocus());
        // Ctrl+J turns Anthy's kana input on; "nihongo", converted with
        // Space and committed with Enter.
        QProcess keys;
        keys.start("xdotool", {"key", "--delay", "100", "ctrl+j", "n", "i", "h", "o", "n", "g", "o",
                               "space", "Return"});
        QVERIFY(keys.waitForStarted());
        QTRY_COMPARE_WITH_TIMEOUT(field->text(), QString::fromUtf8("日本語"), 15000);
        QVERIFY(keys.waitForFinished());
        // Enter went to the input method: no search ran.
        QCOMPARE(search->StatusText(), QString());
    }
};

}  // namespace teluri

QTEST_MAIN(teluri::JapaneseInputTest)
#include "japanese_input_test.moc"
