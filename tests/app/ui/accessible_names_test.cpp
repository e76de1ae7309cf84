// Every control of the main window, the search window and the dialogs has
// a name for a screen reader: the accessibility tree is walked as a screen
// reader walks it, and each control is asked for its name.
#include <QAccessible>
#include <QTest>
#include <QWidget>

#include "app/ui/about_box.h"
#include "app/ui/main_window.h"
#include "app/ui/progress_window.h"
#include "app/ui/version_box.h"
#include "bookmarks/ui/add_bookmark_dialog.h"
#include "bookmarks/ui/bookmark_editor.h"
#include "search/ui/search_window.h"
#include "settings/ui/options_dialog.h"
#include "tests/ui/ui_support.h"

namespace teluri {
namespace {

// The roles a screen reader announces as controls, which need a name to be
// told apart; static texts, panes and the rows of lists are read by their
// text.
bool IsControl(QAccessible::Role role) {
    switch (role) {
        case QAccessible::PushButton:
        case QAccessible::ButtonMenu:
        case QAccessible::ButtonDropDown:
        case QAccessible::CheckBox:
        case QAccessible::RadioButton:
        case QAccessible::ComboBox:
        case QAccessible::EditableText:
        case QAccessible::SpinBox:
        case QAccessible::Slider:
        case QAccessible::List:
        case QAccessible::Tree:
        case QAccessible::Table:
        case QAccessible::PageTabList:
        case QAccessible::PageTab:
        case QAccessible::StatusBar:
        case QAccessible::ProgressBar:
        case QAccessible::Document:
        case QAccessible::Graphic:
        case QAccessible::ToolBar:
        case QAccessible::Splitter:
            return true;
        default:
            return false;
    }
}

// Walks the accessibility tree under `node` and lists the controls without
// a name, by their object names.
void CollectNameless(QAccessibleInterface* node, QStringList& nameless, int depth = 0) {
    if (node == nullptr || depth > 40) {
        return;
    }
    if (IsControl(node->role()) && node->text(QAccessible::Name).trimmed().isEmpty()) {
        const QObject* object = node->object();
        nameless.append(QString("%1 (%2, role 0x%3)")
                            .arg(object != nullptr ? object->objectName() : QString("?"))
                            .arg(object != nullptr ? object->metaObject()->className() : "")
                            .arg(int(node->role()), 0, 16));
    }
    // The rows of a list or a tree are its content, read by their text.
    if (node->role() == QAccessible::Tree || node->role() == QAccessible::List ||
        node->role() == QAccessible::Table) {
        return;
    }
    for (int index = 0; index < node->childCount(); ++index) {
        CollectNameless(node->child(index), nameless, depth + 1);
    }
}

// The window's controls without a name, "; " between them; empty when
// every control has one.
QString NamelessControls(QWidget& window) {
    QStringList nameless;
    CollectNameless(QAccessible::queryAccessibleInterface(&window), nameless);
    return nameless.join("; ");
}

}  // namespace

class AccessibleNamesTest : public QObject {
    Q_OBJECT

  private:
    std::unique_ptr<test::UiFixture> fixture_;

  private slots:
    void init() { fixture_ = std::make_unique<test::UiFixture>(); }
    void cleanup() { fixture_.reset(); }

    void everyControlOfTheWindowsHasAName() {
        MainWindow window;
        window.show();
        // The find bar and the filter are shown as when they are used.
        for (const char* command : {"FindInPage1", "FilterThreads1"}) {
            if (auto* action = window.findChild<QAction*>(command)) {
                action->trigger();
            }
        }
        QCOMPARE(NamelessControls(window), QString());
        // The search window is made at its first use.
        window.findChild<QAction*>("Find1")->trigger();
        auto* search = window.findChild<SearchWindow*>();
        QVERIFY(search != nullptr);
        QCOMPARE(NamelessControls(*search), QString());
    }

    void everyControlOfTheDialogsHasAName() {
        OptionsDialog options(nullptr);
        QCOMPARE(NamelessControls(options), QString());
        AddBookmarkDialog add;
        QCOMPARE(NamelessControls(add), QString());
        BookmarkEditor editor;
        QCOMPARE(NamelessControls(editor), QString());
        AboutBox about;
        QCOMPARE(NamelessControls(about), QString());
        VersionBox version;
        QCOMPARE(NamelessControls(version), QString());
        QWidget owner;
        ProgressWindow progress(&owner);
        QCOMPARE(NamelessControls(progress), QString());
    }

    // The names are in Japanese, and the tool buttons tell what they do.
    void toolButtonsAreNamedAndDescribedInJapanese() {
        MainWindow window;
        auto* open = QAccessible::queryAccessibleInterface(window.findChild<QWidget*>("btnOpen"));
        QVERIFY(open != nullptr);
        QCOMPARE(open->text(QAccessible::Name), QString::fromUtf8("開く"));
        QVERIFY(!open->text(QAccessible::Description).isEmpty());
        auto* tree = QAccessible::queryAccessibleInterface(window.findChild<QWidget*>("trvTeluri"));
        QCOMPARE(tree->text(QAccessible::Name), QString::fromUtf8("議題"));
    }
};

}  // namespace teluri

QTEST_MAIN(teluri::AccessibleNamesTest)
#include "accessible_names_test.moc"
