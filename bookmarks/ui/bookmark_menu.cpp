#include "bookmarks/ui/bookmark_menu.h"

#include <QAction>
#include <QLineEdit>
#include <QMenu>

#include <algorithm>
#include <filesystem>
#include <memory>

#include "analysis/page_reader.h"
#include "base/bytes.h"
#include "base/errors.h"
#include "base/paths.h"
#include "base/ui/dialogs.h"
#include "base/ui/guard.h"
#include "base/ui/qtext.h"
#include "bookmarks/ui/add_bookmark_dialog.h"
#include "bookmarks/ui/bookmark_editor.h"
#include "bookmarks/ui/bookmark_pictures.h"
#include "htmlview/ui/page_display.h"

namespace teluri {
namespace {

// The length of a page file's name, "1234.msg".
constexpr qsizetype kPageNameLength = 8;
// The menu items before the entries: the add and the edit item.
constexpr qsizetype kFixedItems = 2;
// The first lines are entries of the Bookmark menu itself; the lines after
// them go into submenus of at most 256 entries, and those into submenus of
// at most 16 groups, as deep as needed. A list of a hundred thousand
// bookmarks thus makes a few hundred menu items at start-up, not a hundred
// thousand, and every menu fits on the screen, so that each bookmark stays
// reachable.
constexpr std::size_t kDirectEntries = 256;
constexpr std::size_t kEntriesPerGroup = 256;
constexpr std::size_t kGroupsPerMenu = 16;

// The page file a document URL shows: the URL's folder and its last eight
// characters as they stand; empty when the URL names no local folder, so
// that nothing is read from the process's current folder.
std::string PageFileOfUrl(const QString& url) {
    const std::string path = LocalPathOfUrl(url.toStdString());
    const std::size_t delimiter = path.rfind(kPathDelimiter);
    if (delimiter == std::string::npos) {
        return {};
    }
    return path.substr(0, delimiter + 1) + url.right(kPageNameLength).toStdString();
}

// Loads a page; false when its file does not exist or cannot be read.
bool LoadPage(PageReader& page, const std::string& file) {
    try {
        return page.Load(file);
    } catch (const IoError&) {
        return false;
    }
}

// False for a page whose number is below 0: an empty file (-1) or a page that
// names no page file. A number that is no integer counts as present: it is
// reported when the bookmark is made.
bool HasPageNumber(const PageReader& page) {
    try {
        return page.Number() >= 0;
    } catch (const ConvertError&) {
        return true;
    }
}

}  // namespace

BookmarkMenu::BookmarkMenu(QWidget& window, QMenu& menu, QAction& add, QAction& edit,
                           PageDisplay& html, const Archive& archive)
    : QObject(&window),
      window_(window),
      menu_(menu),
      edit_(edit),
      html_(html),
      archive_(archive),
      addDialog_(new AddBookmarkDialog(&window)),
      editor_(new BookmarkEditor(&window)) {
    connect(&add, &QAction::triggered, this,
            [this] { Guarded(&window_, [this] { AddBookmark(); }); });
    connect(&edit, &QAction::triggered, this,
            [this] { Guarded(&window_, [this] { EditBookmarks(); }); });
}

void BookmarkMenu::LoadBookmarks() {
    std::optional<BookmarkList> lines;
    try {
        lines = ReadBookmarkDat(ProgramFile(kBookmarkFileName));
    } catch (const IoError&) {
        setUnreadableAside_ = true;
        throw;
    }
    if (!lines) {
        return;
    }
    bookmarks_ = std::move(*lines);
    SaveAndRebuildMenu();
}

void BookmarkMenu::SaveAndRebuildMenu() {
    const std::string file = ProgramFile(kBookmarkFileName);
    if (setUnreadableAside_ &&
        std::filesystem::symlink_status(file).type() != std::filesystem::file_type::not_found) {
        SetUnreadableFileAside(file);
    }
    setUnreadableAside_ = false;
    WriteBookmarkDat(file, bookmarks_);

    const QList<QAction*> old = menu_.actions();
    for (qsizetype i = kFixedItems; i < old.size(); ++i) {
        if (QMenu* group = old[i]->menu<QMenu*>()) {
            delete group;  // its action and entries with it
        } else {
            menu_.removeAction(old[i]);
            delete old[i];
        }
    }
    edit_.setVisible(true);

    const std::size_t direct = std::min(bookmarks_.size(), kDirectEntries);
    AddEntries(menu_, bookmarks_, 0, direct);
    if (bookmarks_.size() > direct) {
        // The groups make their content when first opened, from the lines as
        // they are now: a failed save later changes bookmarks_, not this menu.
        AddGroups(menu_, std::make_shared<const BookmarkList>(bookmarks_), direct,
                  bookmarks_.size());
    }
}

void BookmarkMenu::AddGroups(QMenu& menu, const std::shared_ptr<const BookmarkList>& lines,
                             std::size_t first, std::size_t end) {
    std::size_t span = kEntriesPerGroup;
    while ((end - first + span - 1) / span > kGroupsPerMenu) {
        span *= kGroupsPerMenu;
    }
    for (std::size_t from = first; from < end; from += span) {
        const std::size_t to = std::min(from + span, end);
        auto* group = new QMenu(QString("%1～%2").arg(from + 1).arg(to), &menu);
        group->setObjectName("BMGroup" + QString::number(from + 1));
        connect(group, &QMenu::aboutToShow, this, [this, group, lines, from, to] {
            if (!group->isEmpty()) {
                return;
            }
            if (to - from <= kEntriesPerGroup) {
                AddEntries(*group, *lines, from, to);
            } else {
                AddGroups(*group, lines, from, to);
            }
        });
        menu.addMenu(group);
    }
}

void BookmarkMenu::AddEntries(QMenu& menu, const BookmarkList& lines, std::size_t first,
                              std::size_t end) {
    QList<QAction*> entries;
    entries.reserve(static_cast<qsizetype>(end - first));
    for (std::size_t i = first; i < end; ++i) {
        const std::string& line = lines[i];
        auto* entry = new QAction(ShownText(line), &menu);
        entry->setObjectName("BMMenu" + QString::number(i));
        // The line's bytes, for the jump: the caption is their display form.
        entry->setData(QByteArray(line.data(), static_cast<qsizetype>(line.size())));
        entry->setCheckable(true);
        entry->setChecked(true);
        connect(entry, &QAction::triggered, this, [this, entry] {
            // A click would uncheck the entry; the mark stays on.
            entry->setChecked(true);
            Guarded(&window_, [this, entry] { JumpToBookmark(*entry); });
        });
        entries.append(entry);
    }
    menu.addActions(entries);
    // The family mark, shown as the checked entry's picture.
    for (QAction* entry : entries) {
        entry->setIcon(QIcon(FamilyMark(entry->data().toByteArray().toStdString())));
    }
}

void BookmarkMenu::Refuse() {
    ShowErrorMessage(&window_, QString::fromUtf8("このページは追加できません。"));
}

void BookmarkMenu::AddBookmark() {
    const QString url = html_.DocumentUrl();
    if (AsciiLowerCase(url.right(kPageNameLength).toStdString()).find(".msg") ==
        std::string::npos) {
        Refuse();
        return;
    }
    const std::string file = PageFileOfUrl(url);
    PageReader page;
    if (file.empty() || !LoadPage(page, file) || !HasPageNumber(page)) {
        Refuse();
        return;
    }
    QLineEdit& name = addDialog_->nameField();
    name.setText(FromCp932(page.Title()));
    if (Dialogs().execDialog(*addDialog_) != QDialog::Accepted) {
        return;
    }
    bookmarks_.push_back(MakeBookmarkLine(page.Number(), ToCp932(name.text())));
    SaveAndRebuildMenu();
}

void BookmarkMenu::EditBookmarks() {
    editor_->SetLines(bookmarks_);
    Dialogs().execDialog(*editor_);
    bookmarks_ = editor_->Lines();
    SaveAndRebuildMenu();
}

void BookmarkMenu::JumpToBookmark(const QAction& entry) {
    const std::string line = entry.data().toByteArray().toStdString();
    const std::string page = PageFile(archive_.dataFolder, PageNumberOf(line));
    html_.LoadUrl(QString::fromStdString(PageUrl(page)));
}

}  // namespace teluri
