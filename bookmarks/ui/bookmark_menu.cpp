#include "bookmarks/ui/bookmark_menu.h"

#include <QAction>
#include <QLineEdit>
#include <QMenu>

#include <algorithm>
#include <filesystem>
#include <memory>

#include "analysis/htmlanl.h"
#include "base/bytes.h"
#include "base/errors.h"
#include "base/paths.h"
#include "base/ui/dialogs.h"
#include "base/ui/guard.h"
#include "base/ui/qtext.h"
#include "bookmarks/ui/bookmark_pictures.h"
#include "bookmarks/ui/frmbmadd.h"
#include "bookmarks/ui/frmbookmark.h"
#include "htmlview/ihtml.h"

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
bool LoadPage(THtmlAnl& page, const std::string& file) {
    try {
        return page.Load(file);
    } catch (const IoError&) {
        return false;
    }
}

// False for a page whose number is below 0: an empty file (-1) or a page that
// names no page file. A number that is no integer counts as present: it is
// reported when the bookmark is made.
bool HasPageNumber(const THtmlAnl& page) {
    try {
        return page.GetNumber() >= 0;
    } catch (const ConvertError&) {
        return true;
    }
}

}  // namespace

TBookmarkMenu::TBookmarkMenu(QWidget& window, QMenu& menu, QAction& add, QAction& edit, IHTML& html,
                             std::function<std::string()> dataPath)
    : QObject(&window),
      window_(window),
      menu_(menu),
      edit_(edit),
      html_(html),
      dataPath_(std::move(dataPath)),
      frmBMAdd_(new TfrmBMAdd(&window)),
      frmBookmark_(new TfrmBookmark(&window)) {
    connect(&add, &QAction::triggered, this,
            [this] { Guarded(&window_, [this] { BMAdd1Click(); }); });
    connect(&edit, &QAction::triggered, this,
            [this] { Guarded(&window_, [this] { BMEdit1Click(); }); });
}

void TBookmarkMenu::LoadBookmarks() {
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
    BMList_ = std::move(*lines);
    RebuildBMMenu();
}

void TBookmarkMenu::RebuildBMMenu() {
    const std::string file = ProgramFile(kBookmarkFileName);
    if (setUnreadableAside_ &&
        std::filesystem::symlink_status(file).type() != std::filesystem::file_type::not_found) {
        SetUnreadableFileAside(file);
    }
    setUnreadableAside_ = false;
    WriteBookmarkDat(file, BMList_);

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

    const std::size_t direct = std::min(BMList_.size(), kDirectEntries);
    AddEntries(menu_, BMList_, 0, direct);
    if (BMList_.size() > direct) {
        // The groups make their content when first opened, from the lines as
        // they are now: a failed save later changes BMList_, not this menu.
        AddGroups(menu_, std::make_shared<const BookmarkList>(BMList_), direct, BMList_.size());
    }
}

void TBookmarkMenu::AddGroups(QMenu& menu, const std::shared_ptr<const BookmarkList>& lines,
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

void TBookmarkMenu::AddEntries(QMenu& menu, const BookmarkList& lines, std::size_t first,
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
            Guarded(&window_, [this, entry] { Jump1Click(*entry); });
        });
        entries.append(entry);
    }
    menu.addActions(entries);
    // The family mark, shown as the checked entry's picture.
    for (QAction* entry : entries) {
        entry->setIcon(QIcon(FamilyMark(entry->data().toByteArray().toStdString())));
    }
}

void TBookmarkMenu::Refuse() {
    ShowErrorMessage(&window_, QString::fromUtf8("このページは追加できません。"));
}

void TBookmarkMenu::BMAdd1Click() {
    const QString url = html_.DocumentUrl();
    if (AsciiLowerCase(url.right(kPageNameLength).toStdString()).find(".msg") ==
        std::string::npos) {
        Refuse();
        return;
    }
    const std::string file = PageFileOfUrl(url);
    THtmlAnl page;
    if (file.empty() || !LoadPage(page, file) || !HasPageNumber(page)) {
        Refuse();
        return;
    }
    QLineEdit& name = frmBMAdd_->edtName();
    name.setText(FromCp932(page.GetTitle()));
    if (Dialogs().execDialog(*frmBMAdd_) != QDialog::Accepted) {
        return;
    }
    BMList_.push_back(MakeBookmarkLine(page.GetNumber(), ToCp932(name.text())));
    RebuildBMMenu();
}

void TBookmarkMenu::BMEdit1Click() {
    frmBookmark_->SetLines(BMList_);
    Dialogs().execDialog(*frmBookmark_);
    BMList_ = frmBookmark_->Lines();
    RebuildBMMenu();
}

void TBookmarkMenu::Jump1Click(const QAction& entry) {
    const std::string line = entry.data().toByteArray().toStdString();
    const std::string page = PageFile(dataPath_(), PageNumberOf(line));
    html_.LoadUrl(QString::fromStdString(PageUrl(page)));
}

}  // namespace teluri
