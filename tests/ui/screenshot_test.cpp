// Renders the main window with the sample archive to a PNG in the build
// folder, for looking at (no pixel comparison).
#include <QTest>
#include <QTreeWidget>

#include "app/ui/about_box.h"
#include "app/ui/main_window.h"
#include "app/ui/version_box.h"
#include "base/ui/fonts.h"
#include "settings/ui/options_dialog.h"
#include "settings/ui/spin_field.h"
#include "tests/ui/ui_support.h"

namespace teluri {

class ScreenshotTest : public QObject {
    Q_OBJECT

  private slots:
    void mainWindowWithSample() {
        test::UiFixture fixture;
        test::WriteFile(fixture.HomeFile("Teluri.ini"),
                        "[Option]\r\nPath=" TELURI_SOURCE_DIR "/sample/\r\n");
        MainWindow window;
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
