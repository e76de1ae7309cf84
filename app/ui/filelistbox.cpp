#include "app/ui/filelistbox.h"

#include <filesystem>

#include "app/filelist.h"
#include "base/errors.h"
#include "base/paths.h"

namespace teluri {

TFileListBox::TFileListBox(QWidget* parent) : QWidget(parent) {
    setObjectName("Filelist");
    hide();
    std::error_code error;
    const std::string current = std::filesystem::current_path(error).string();
    if (!error) {
        try {
            SetDirectory(current);
        } catch (const IoError&) {
            // An unreadable start-up folder leaves the list empty.
        }
    }
}

void TFileListBox::SetDirectory(const std::string& folder) {
    names_ = ListFiles(folder);
    directory_ = folder;
    while (directory_.size() > 1 && EndsWithDelimiter(directory_)) {
        directory_.pop_back();
    }
}

}  // namespace teluri
