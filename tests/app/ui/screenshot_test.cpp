// Renders the main window with the sample archive to a PNG in the build
// folder, for looking at (no pixel comparison).
#include <QTest>
#include <QTreeView>

#include "app/ui/about_box.h"
#include "app/ui/main_window.h"
#include "app/ui/version_box.h"
#include "base/ui/fonts.h"
#include "htmlview/ui/page_display.h"
#include "settings/ui/options_dialog.h"
#include "settings/ui/spin_field.h"
#include "tests/ui/main_window_fixture.h"
#include "tests/ui/tree_nodes.h"

namespace teluri {

class ScreenshotTest : public test::MainWindowTestBase {
    Q_OBJECT

  private slots:
    void mainWindowWithSample() {
        test::WriteFile(fixture().HomeFile("Teluri.ini"),
                        "[Option]\r\nPath=" TELURI_SOURCE_DIR "/sample/\r\n");
        MainWindow& window = makeWindow();
        window.resize(1000, 640);
        window.setWindowState(Qt::WindowNoState);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        fixture().folderAnswers.push_back(QString(TELURI_SOURCE_DIR "/sample"));
        action("Open1").trigger();
        QTRY_VERIFY(test::ThreadCount(tree()) > 0);
        tree().expandAll();
        const QModelIndex node = test::Child(test::Thread(tree(), 0), 0);
        tree().setCurrentIndex(node);
        // The node's page is shown, and what its showing posted has run.
        QTRY_VERIFY(window.Page().DocumentUrl().endsWith(
            "/" + test::TextOf(node).section(':', 0, 0) + ".msg"));
        QVERIFY(test::WaitForPostedCalls());
        const QString path = QCoreApplication::applicationDirPath() + "/main-window.png";
        QVERIFY(window.grab().save(path));
        qInfo("screenshot: %s", qPrintable(path));
    }

    void optionsAndAboutDialogs() {
        OptionsDialog options(nullptr);
        options.proportionalSize()->SetText("24");
        options.fixedSize()->SetText("10");
        options.show();
        QVERIFY(options.grab().save(QCoreApplication::applicationDirPath() + "/options.png"));
        AboutBox about(nullptr);
        about.show();
        QVERIFY(about.grab().save(QCoreApplication::applicationDirPath() + "/about.png"));
        VersionBox logo(nullptr);
        logo.show();
        QVERIFY(logo.grab().save(QCoreApplication::applicationDirPath() + "/logo.png"));
    }
};

}  // namespace teluri

QTEST_MAIN(teluri::ScreenshotTest)
#include "screenshot_test.moc"
