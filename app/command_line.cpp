#include "app/command_line.h"

#include <filesystem>
#include <ostream>
#include <string_view>

#include "base/messages.h"
#include "base/version.h"

namespace teluri {
namespace {

constexpr std::string_view kProgram = "teluri-explorer";

constexpr std::string_view kHelp =
    "Usage: teluri-explorer [OPTION]... [FOLDER]\n"
    "Browse an archive of message-board pages (NNNN.msg, Shift-JIS) as a tree of\n"
    "threads, with full-text search and bookmarks. The window speaks Japanese.\n"
    "\n"
    "With a FOLDER, the program opens it as its data folder once the window is\n"
    "shown and analyses its pages, as the menu's open command does; a path that\n"
    "is not a folder is reported in an error box. When a copy already runs, the\n"
    "FOLDER is handed to it: that copy opens it and comes to the front.\n"
    "\n"
    "Options:\n"
    "      --help     display this help and exit\n"
    "      --version  output version information and exit\n"
    "\n"
    "The toolkit's own options (-platform, -style, ...) are accepted as well.\n"
    "\n"
    "Files:\n"
    "The program keeps its files (Teluri.ini, Tree.dat, Bookmark.dat, finddata.txt,\n"
    "Find*.dat, Read.dat, Window.ini and, while it runs, Teluri.lock) in the folder\n"
    "named by the environment variable TELURI_HOME when it is set. Otherwise an\n"
    "installed copy keeps them in $XDG_DATA_HOME/teluri-explorer/\n"
    "(~/.local/share/teluri-explorer/ by default), made at its first start, and\n"
    "reads its tutorial page from the installed share/teluri-explorer/; any other\n"
    "copy uses the folder of its executable. One copy runs per folder: a second\n"
    "start brings the running window to the front.\n"
    "\n"
    "Signals:\n"
    "SIGTERM, SIGINT and SIGHUP, and the end of the display's connection, end the\n"
    "program as its Exit command does: read marks and the window's shape saved,\n"
    "the lock released.\n";

}  // namespace

std::optional<int> AnswerInformationOption(const std::vector<std::string>& args, std::ostream& out,
                                           std::ostream& err) {
    for (const std::string& arg : args) {
        if (arg == "--") {
            break;
        }
        if (arg == "--help" || arg == "--version") {
            out << (arg == "--help" ? std::string(kHelp) : VersionText(kProgram));
            out.flush();
            if (!out) {
                err << msg::kCannotWriteOutput << '\n';
                return 1;
            }
            return 0;
        }
    }
    return std::nullopt;
}

std::optional<std::string> FolderArgument(const std::vector<std::string>& args,
                                          const std::string& currentFolder) {
    bool optionsEnded = false;
    for (const std::string& arg : args) {
        if (!optionsEnded && arg == "--") {
            optionsEnded = true;
            continue;
        }
        if (arg.empty() || (!optionsEnded && arg.front() == '-')) {
            continue;
        }
        // Not normalised: ".." after a symbolic link leads elsewhere than the
        // text says.
        return (std::filesystem::path(currentFolder) / arg).string();
    }
    return std::nullopt;
}

}  // namespace teluri
