// The archive the windows work on: the data folder chosen, analysed or
// draft-opened, and the page files listed from it. The main window owns it;
// the components that read pages get it by const reference.
#pragma once

#include <string>

#include "threads/page_file_list.h"

namespace teluri {

struct Archive {
    // The data folder, ending with the delimiter: where the tree's pages,
    // the bookmarks' pages and the read marks belong.
    std::string dataFolder;
    // The page files of the folder the last analysis run or draft open
    // listed (at start, the process's current folder): what the search
    // reads.
    PageFileList files = ListOfCurrentFolder();
};

}  // namespace teluri
