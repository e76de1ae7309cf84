// The main window's hidden file list: the page files of the folder that the
// last analysis run or draft open gave it, read by the search. At creation
// it lists the process's current folder.
#pragma once

#include <QWidget>

#include <string>
#include <vector>

namespace teluri {

class TFileListBox : public QWidget {
  public:
    explicit TFileListBox(QWidget* parent);

    // Reads the folder's names afresh, also when it showed the same folder
    // before. A folder that cannot be read throws IoError; the list keeps
    // what it showed.
    void SetDirectory(const std::string& folder);

    // The folder whose names the list holds, without a closing delimiter
    // (except for the root folder).
    const std::string& Directory() const { return directory_; }
    const std::vector<std::string>& Names() const { return names_; }

  private:
    std::string directory_;
    std::vector<std::string> names_;
};

}  // namespace teluri
