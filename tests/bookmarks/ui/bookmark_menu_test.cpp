// The bookmarks in the main window: the start-up load, the Bookmark menu's
// entries, the add command, the editor and the jump.
#include <QAction>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QRegularExpression>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include <fcntl.h>
#include <sys/stat.h>

#include <filesystem>

#include "app/ui/main_window.h"
#include "base/paths.h"
#include "base/ui/dialogs.h"
#include "base/ui/qtext.h"
#include "bookmarks/ui/add_bookmark_dialog.h"
#include "bookmarks/ui/bookmark_editor.h"
#include "bookmarks/ui/bookmark_pictures.h"
#include "htmlview/ui/page_display.h"
#include "tests/support/pages.h"
#include "tests/ui/main_window_fixture.h"

namespace teluri {
namespace {

using test::Page;
using test::ReadFile;
using test::Sjis;
using test::WriteFile;

QString UrlOf(const std::string& path) {
    return QString::fromStdString(PageUrl(path));
}

}  // namespace

class BookmarkMenuTest : public test::MainWindowTestBase {
    Q_OBJECT

  private:
    std::string bookmarkFile() { return fixture().HomeFile("Bookmark.dat"); }
    QList<QAction*> entries() { return window().findChild<QMenu*>("Bookmark1")->actions().mid(2); }
    QStringList captions() {
        QStringList texts;
        for (const QAction* entry : entries()) {
            texts.append(entry->text());
        }
        return texts;
    }
    BookmarkEditor& editor() { return *window().findChild<BookmarkEditor*>("frmBookmark"); }
    void click(const char* button) { editor().findChild<QToolButton*>(button)->click(); }
    void enter(const QString& title) {
        editor().titleField().setText(title);
        QTest::keyClick(&editor().titleField(), Qt::Key_Return);
    }

    // Shows the page file, then runs the add command, the dialog answered by
    // `answer`.
    void addPage(const std::string& file, const std::function<int(AddBookmarkDialog&)>& answer) {
        window().Page().LoadUrl(UrlOf(file));
        fixture().onDialog = [answer](QDialog& dialog) {
            return answer(static_cast<AddBookmarkDialog&>(dialog));
        };
        action("BMAdd1").trigger();
    }

    QStringList messageTexts(const QString& caption) {
        QStringList texts;
        for (const auto& message : fixture().messages) {
            if (message.caption == caption && message.icon == QMessageBox::Critical) {
                texts.append(message.text);
            }
        }
        return texts;
    }

  private slots:

    void firstStartShowsOnlyTheAddItem() {
        createWindow();
        QVERIFY(entries().isEmpty());
        QVERIFY(action("BMAdd1").isVisible());
        QVERIFY(!action("BMEdit1").isVisible());
        QVERIFY(!std::filesystem::exists(bookmarkFile()));
        QVERIFY(fixture().messages.empty());
    }

    void addsThePageOnShowUnderItsTitleAndJumpsBack() {
        // Not the current folder, and no analysis run yet.
        const std::string folder = fixture().Data() + "表示データ/";
        std::filesystem::create_directory(folder);
        WriteFile(folder + "1234.msg", Page("1234", Sjis("Re: 質問")));
        WriteFile(fixture().HomeFile("Teluri.ini"), "[Option]\r\nPath=" + folder + "\r\n");
        createWindow();
        QString proposed;
        addPage(folder + "1234.msg", [&](AddBookmarkDialog& dialog) {
            proposed = dialog.nameField().text();
            return QDialog::Accepted;
        });
        QCOMPARE(fixture().dialogsShown, QStringList({Text("ブックマークに追加")}));
        QCOMPARE(proposed, Text("Re: 質問"));
        QCOMPARE(ReadFile(bookmarkFile()), Sjis("1234 Re: 質問\r\n"));
        QVERIFY(action("BMEdit1").isVisible());
        QCOMPARE(captions(), QStringList({Text("1234 Re: 質問")}));
        QAction& entry = *entries().front();
        QCOMPARE(entry.objectName(), QString("BMMenu0"));
        QVERIFY(entry.isChecked());
        QCOMPARE(entry.icon().pixmap(12, 12).toImage(), DelphiMark().toImage());
        // The entry opens its number in the data folder and stays checked.
        action("Tutorial1").trigger();
        entry.trigger();
        QCOMPARE(window().Page().DocumentUrl(), UrlOf(folder + "1234.msg"));
        QVERIFY(entry.isChecked());
        // Typed names, empty names and duplicates are taken as they are.
        addPage(folder + "1234.msg", [](AddBookmarkDialog& dialog) {
            dialog.nameField().setText("");
            return QDialog::Accepted;
        });
        QCOMPARE(captions(), QStringList({Text("1234 Re: 質問"), "1234 "}));
        QVERIFY(fixture().messages.empty());
    }

    void refusesWhatIsNoPageAndAddsNothingOnCancelOrError() {
        WriteFile(fixture().DataFile("0000.msg"), "");
        WriteFile(fixture().DataFile("1234.msg"), Page("1234", "title"));
        WriteFile(fixture().DataFile("5678.msg"), test::FirstLine("12x4", "bad") + "\r\n");
        createWindow();
        action("BMAdd1").trigger();                          // the tutorial page
        for (const char* name : {"9999.msg", "0000.msg"}) {  // missing, empty
            addPage(fixture().DataFile(name), [](AddBookmarkDialog&) { return QDialog::Accepted; });
        }
        window().Page().LoadUrl("http://example.org/1234.msg");
        action("BMAdd1").trigger();
        QCOMPARE(messageTexts(ErrorCaption()),
                 QStringList(4, Text("このページは追加できません。")));
        QCOMPARE(fixture().dialogsShown, QStringList());
        addPage(fixture().DataFile("1234.msg"),
                [](AddBookmarkDialog&) { return QDialog::Rejected; });
        addPage(fixture().DataFile("5678.msg"),
                [](AddBookmarkDialog&) { return QDialog::Accepted; });
        addPage(fixture().DataFile("1234.msg"), [](AddBookmarkDialog& dialog) {
            dialog.nameField().setText(Text("絵文字 😀"));  // no cp932 form
            return QDialog::Accepted;
        });
        QCOMPARE(messageTexts(kApplicationTitle).size(), 2);
        QCOMPARE(messageTexts(kApplicationTitle)[0], Text("'12x4' は整数ではありません"));
        QVERIFY(entries().isEmpty());
        QVERIFY(!std::filesystem::exists(bookmarkFile()));
    }

    void startUpLoadBuildsEntriesWithFamilyMarks() {
        WriteFile(bookmarkFile(),
                  "1234 C++ talk\n1235 about builder\n1236 [b]x\n1237 Delphi\n"
                  "\n1238 R&D\n42 small");
        createWindow();
        const QList<QAction*> all = entries();
        QCOMPARE(all.size(), 7);
        for (int i = 0; i < all.size(); ++i) {
            QCOMPARE(all[i]->objectName(), "BMMenu" + QString::number(i));
            QVERIFY(all[i]->isChecked());
            const QPixmap mark = i < 3 ? BuilderMark() : DelphiMark();
            QCOMPARE(all[i]->icon().pixmap(12, 12).toImage(), mark.toImage());
        }
        QCOMPARE(all[5]->text(), QString("1238 R&D"));
        QCOMPARE(ReadFile(bookmarkFile()),
                 "1234 C++ talk\r\n1235 about builder\r\n1236 [b]x\r\n"
                 "1237 Delphi\r\n\r\n1238 R&D\r\n42 small\r\n");
        // A page below 1000 opens under its four-digit file name.
        all[6]->trigger();
        QCOMPARE(window().Page().DocumentUrl(),
                 UrlOf(window().CurrentArchive().dataFolder + "0042.msg"));
    }

    void hundredBookmarksHaveHundredEntries() {
        std::string content;
        for (int i = 0; i < 100; ++i) {
            content += std::to_string(1000 + i) + " name\r\n";
        }
        WriteFile(bookmarkFile(), content);
        createWindow();
        QCOMPARE(entries().size(), 100);
        QCOMPARE(entries()[99]->objectName(), QString("BMMenu99"));
        QCOMPARE(entries()[99]->text(), QString("1099 name"));
    }

    void hundredThousandBookmarksAreAllReachableThroughGroups() {
        constexpr int kCount = 100'000;
        std::string content;
        for (int i = 0; i < kCount; ++i) {
            content += std::to_string(1000 + i % 9000) + " n" + std::to_string(i) + "\r\n";
        }
        WriteFile(bookmarkFile(), content);
        createWindow();
        // 256 entries, then submenus, each made empty.
        const QList<QAction*> items = entries();
        QCOMPARE(items[255]->text(), QString("1255 n255"));
        QCOMPARE(items.mid(256).size(), 2);
        QCOMPARE(items[256]->text(), QString("257～65792"));
        QCOMPARE(items[257]->text(), QString("65793～100000"));
        // Opening each submenu makes its content once: every line in order,
        // no menu longer than the Bookmark menu's 256 entries and 2 items.
        int next = 0;
        int longest = 0;
        std::function<void(const QList<QAction*>&)> walk = [&](const QList<QAction*>& actions) {
            longest = std::max(longest, static_cast<int>(actions.size()));
            for (QAction* item : actions) {
                if (QMenu* group = item->menu<QMenu*>()) {
                    QVERIFY(group->isEmpty());
                    emit group->aboutToShow();
                    emit group->aboutToShow();
                    walk(group->actions());
                    continue;
                }
                QCOMPARE(item->objectName(), "BMMenu" + QString::number(next));
                QVERIFY(item->text().endsWith(" n" + QString::number(next)));
                ++next;
            }
        };
        walk(items);
        QCOMPARE(next, kCount);
        QVERIFY(longest <= 258);
        const QList<QMenu*> last = items.back()->menu<QMenu*>()->findChildren<QMenu*>();
        QCOMPARE(last.back()->title(), QString("99841～100000"));
        last.back()->actions().back()->trigger();
        QCOMPARE(window().Page().DocumentUrl(),
                 UrlOf(window().CurrentArchive().dataFolder + "1999.msg"));
        // Rebuilding replaces the groups; a short list has no group.
        fixture().onDialog = [](QDialog& dialog) {
            static_cast<BookmarkEditor&>(dialog).SetLines({"1234 only"});
            return QDialog::Accepted;
        };
        action("BMEdit1").trigger();
        QCOMPARE(captions(), QStringList({"1234 only"}));
        QVERIFY(window().findChildren<QMenu*>(QRegularExpression("^BMGroup")).isEmpty());
    }

    void unreadableFileStopsTheCreationStepsAndIsKept() {
        // A link to itself cannot be opened, not even by root.
        std::filesystem::create_symlink(bookmarkFile(), bookmarkFile());
        createWindow();
        QCOMPARE(messageTexts(kApplicationTitle),
                 QStringList({Text("ﾌｧｲﾙ %1 は開けません").arg(bookmarkFile().c_str())}));
        QVERIFY(entries().isEmpty());
        // The creation steps after the load do not run: no start-up draft open.
        QVERIFY(!window().findChild<QTimer*>("tmrDefault")->isActive());
        QVERIFY(std::filesystem::is_symlink(bookmarkFile()));
        // The first save sets the unreadable file aside instead of losing it.
        WriteFile(fixture().DataFile("5678.msg"), Page("5678", "second"));
        addPage(fixture().DataFile("5678.msg"),
                [](AddBookmarkDialog&) { return QDialog::Accepted; });
        QVERIFY(std::filesystem::is_symlink(bookmarkFile() + ".unreadable"));
        QCOMPARE(ReadFile(bookmarkFile()), std::string("5678 second\r\n"));
    }

    // The start-up write-back would drop the lines after a NUL byte: the
    // file as it was is kept beside it first.
    void fileWithANulIsKeptBeforeTheStartUpWrite() {
        const std::string original(
            "1234 first\r\n\0"
            "5678 lost\r\n",
            24);
        WriteFile(bookmarkFile(), original);
        createWindow();
        QCOMPARE(captions(), QStringList({"1234 first"}));
        QCOMPARE(ReadFile(bookmarkFile()), std::string("1234 first\r\n"));
        QCOMPARE(ReadFile(bookmarkFile() + ".nul"), original);
        QVERIFY(fixture().messages.empty());
    }

    // The start-up write-back of the list just read changes no byte: the
    // file is not touched, so a file (or folder) that cannot be written
    // costs no error, no entries and no start-up draft open.
    void unchangedListIsNotWrittenAtStartUp() {
        WriteFile(fixture().HomeFile("Teluri.ini"), "[Startup]\r\nDraftOpen=1\r\n");
        WriteFile(bookmarkFile(), "1234 first\r\n");
        ::chmod(bookmarkFile().c_str(), 0444);
        const timespec old[2] = {{1'000'000, 0}, {1'000'000, 0}};
        QCOMPARE(::utimensat(AT_FDCWD, bookmarkFile().c_str(), old, 0), 0);
        createWindow();
        QVERIFY(fixture().messages.empty());
        QCOMPARE(captions(), QStringList({"1234 first"}));
        QVERIFY(window().findChild<QTimer*>("tmrDefault")->isActive());
        struct stat info {};
        ::stat(bookmarkFile().c_str(), &info);
        QCOMPARE(info.st_mtim.tv_sec, time_t{1'000'000});
        QCOMPARE(info.st_mode & 0777, mode_t{0444});
    }

    void failedSaveKeepsTheMenuAndTheListForTheNextSave() {
        WriteFile(bookmarkFile(), "1234 first\r\n");
        WriteFile(fixture().DataFile("5678.msg"), Page("5678", "second"));
        createWindow();
        // A folder in the file's place: the replacement fails, also for root.
        std::filesystem::remove(bookmarkFile());
        std::filesystem::create_directories(bookmarkFile() + "/keep");
        addPage(fixture().DataFile("5678.msg"),
                [](AddBookmarkDialog&) { return QDialog::Accepted; });
        QCOMPARE(messageTexts(kApplicationTitle),
                 QStringList({Text("ﾌｧｲﾙ %1 を作成できません").arg(bookmarkFile().c_str())}));
        QCOMPARE(captions(), QStringList({"1234 first"}));
        std::filesystem::remove_all(bookmarkFile());
        action("BMEdit1").trigger();
        QCOMPARE(ReadFile(bookmarkFile()), "1234 first\r\n5678 second\r\n");
        QCOMPARE(captions(), QStringList({"1234 first", "5678 second"}));
    }

    void editorMovesRetitlesAndDeletes() {
        WriteFile(bookmarkFile(), "1111 L1\r\n2222 L2\r\n3333 L3\r\n");
        createWindow();
        editor().titleField().setText("kept");
        fixture().onDialog = [this](QDialog&) {
            // Opened with the list, nothing selected, the title kept.
            if (editor().SelectedIndex() != -1 || editor().titleField().text() != "kept") {
                return QDialog::Rejected;
            }
            editor().list().setCurrentRow(0);
            click("btnUp");  // the first goes to the end
            if (editor().SelectedIndex() != 2 || editor().titleField().text() != "L1") {
                return QDialog::Rejected;
            }
            click("btnDown");  // the last comes to the front
            click("btnDown");
            enter("  New");
            return QDialog::Rejected;
        };
        action("BMEdit1").trigger();
        QCOMPARE(captions(), QStringList({"2222 L2", "1111   New", "3333 L3"}));
        QCOMPARE(ReadFile(bookmarkFile()), "2222 L2\r\n1111   New\r\n3333 L3\r\n");

        fixture().onDialog = [this](QDialog&) {
            enter("x");  // nothing selected
            click("btnUp");
            click("btnDown");
            editor().list().setCurrentRow(1);
            enter("");
            QTest::keyClick(&editor().list(), Qt::Key_Down);  // by keyboard
            click("btnDelete");
            click("btnDelete");  // nothing selected: only the title empties
            return QDialog::Rejected;
        };
        action("BMEdit1").trigger();
        const QString indexError = Text("ﾘｽﾄのｲﾝﾃﾞｯｸｽが範囲を超えています (-1)");
        QCOMPARE(messageTexts(kApplicationTitle), QStringList(3, indexError));
        QCOMPARE(messageTexts(ErrorCaption()), QStringList({Text("タイトルを入力してください。")}));
        QCOMPARE(captions(), QStringList({"2222 L2", "1111   New"}));
        QCOMPARE(editor().titleField().text(), QString());
        QCOMPARE(editor().SelectedIndex(), -1);
    }
};

}  // namespace teluri

QTEST_MAIN(teluri::BookmarkMenuTest)
#include "bookmark_menu_test.moc"
