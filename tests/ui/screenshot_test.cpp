// Renders the main window with the sample archive to a PNG in the build
// folder, for looking at (no pixel comparison).
#include <QTest>
#include <QTreeWidget>

#include "app/ui/frmabout.h"
#include "app/ui/frmlogo.h"
#include "app/ui/frmmain.h"
#include "base/ui/fonts.h"
#include "settings/ui/optiondlg.h"
#include "settings/ui/tspinedit.h"
#include "tests/ui/ui_support.h"

namespace teluri {

class ScreenshotTest : public QObject {
    Q_OBJECT

  private slots:
    void mainWindowWithSample() {
        test::UiFixture fixture;
        test::WriteFile(fixture.HomeFile("Teluri.ini"),
                        "[Option]\r\nPath=" TELURI_SOURCE_DIR "/sample/\r\n");
        TfrmMain window;
        window.resize(1000, 640);
        window.setWindowState(Qt::WindowNoState);
        window.show();
        fixture.folderAnswers.push_back(QString(TELURI_SOURCE_DIR "/sample"));
        window.findChild<QAction*>("Open1")->trigger();
        auto* tree = window.findChild<QTreeWidget*>("trvTeluri");
        QVERIFY(test::WaitFor([tree] { return tree->topLevelItemCount() > 0; }));
        tree->expandAll();
        tree->setCurrentItem(tree->topLevelItem(0)->child(0));
        QTest::qWait(50);
        const QString path = QCoreApplication::applicationDirPath() + "/main-window.png";
        QVERIFY(window.grab().save(path));
        qInfo("screenshot: %s", qPrintable(path));
    }

    void optionsAndAboutDialogs() {
        test::UiFixture fixture;
        TfrmOption options(nullptr);
        options.spnSize1()->SetText("24");
        options.spnSize2()->SetText("10");
        options.show();
        QVERIFY(options.grab().save(QCoreApplication::applicationDirPath() + "/options.png"));
        TfrmAbout about(nullptr);
        about.show();
        QVERIFY(about.grab().save(QCoreApplication::applicationDirPath() + "/about.png"));
        TfrmLogo logo(nullptr);
        logo.show();
        QVERIFY(logo.grab().save(QCoreApplication::applicationDirPath() + "/logo.png"));
    }
};

}  // namespace teluri

QTEST_MAIN(teluri::ScreenshotTest)
#include "screenshot_test.moc"
