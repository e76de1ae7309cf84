#include "app/ui/recent_folders_menu.h"

#include <QMenu>

#include "base/errors.h"
#include "base/files.h"
#include "base/messages.h"
#include "base/ui/guard.h"
#include "base/ui/qtext.h"
#include "reading/recent_folders.h"
#include "reading/window_state.h"
#include "settings/settings_file.h"

namespace teluri {
namespace {

// The entry's caption: its access key, then the folder without its
// trailing delimiter, "&" shown as itself.
QString EntryCaption(std::size_t index, const std::string& folder) {
    QString path = FromLocalPath(folder);
    if (path.size() > 1 && path.endsWith('/')) {
        path.chop(1);
    }
    return QString("&%1 %2").arg(index + 1).arg(path.replace('&', "&&"));
}

}  // namespace

RecentFoldersMenu::RecentFoldersMenu(QWidget& window, QMenu& fileMenu, QAction& before)
    : QObject(&window),
      window_(window),
      menu_(new QMenu(Text("最近使ったフォルダ(&R)"), &fileMenu)) {
    menu_->setObjectName("RecentFolders1");
    menu_->menuAction()->setObjectName("RecentFoldersMenu1");
    fileMenu.insertMenu(&before, menu_);
    folders_ = ReadRecentFolders(SettingsFile(WindowStateFilePath()));
    Fill();
}

void RecentFoldersMenu::Remember(const std::string& folder) {
    Store(WithRecentFolder(folders_, folder));
}

void RecentFoldersMenu::Choose(const std::string& folder) {
    if (!DirectoryExists(folder)) {
        Store(WithoutRecentFolder(folders_, folder));
        throw IoError(msg::Format(msg::kRecentFolderGone, folder));
    }
    emit folderChosen(FromLocalPath(folder));
}

void RecentFoldersMenu::Store(std::vector<std::string> folders) {
    folders_ = std::move(folders);
    Fill();
    SettingsFile ini(WindowStateFilePath());
    WriteRecentFolders(ini, folders_);
}

void RecentFoldersMenu::Fill() {
    menu_->clear();
    for (std::size_t index = 0; index < folders_.size(); ++index) {
        QAction* entry = menu_->addAction(EntryCaption(index, folders_[index]));
        entry->setObjectName(QString("RecentFolder%1").arg(index + 1));
        const std::string folder = folders_[index];
        // Queued: choosing may refill the menu, which deletes this entry.
        connect(
            entry, &QAction::triggered, this,
            [this, folder] { Guarded(&window_, [this, folder] { Choose(folder); }); },
            Qt::QueuedConnection);
    }
    menu_->setEnabled(!folders_.empty());
}

}  // namespace teluri
