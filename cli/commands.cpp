#include "cli/commands.h"

#include <filesystem>
#include <functional>
#include <map>
#include <optional>
#include <ostream>

#include "base/cp932.h"
#include "base/errors.h"
#include "base/files.h"
#include "base/messages.h"
#include "base/paths.h"
#include "base/strtoint.h"
#include "base/version.h"
#include "search/page_search.h"
#include "search/search_logs.h"
#include "settings/settings_file.h"
#include "threads/page_file_list.h"
#include "threads/thread_tree.h"
#include "threads/tree_builder.h"
#include "threads/tree_file.h"

namespace teluri::cli {
namespace {

constexpr std::string_view kUsage =
    "Usage: teluri analyze [--pictures] [-o FILE] DIR\n"
    "  or:  teluri tree FILE\n"
    "  or:  teluri ini FILE get|number|flag SECTION KEY DEFAULT\n"
    "  or:  teluri ini FILE set SECTION KEY VALUE\n"
    "  or:  teluri search DIR TEXT\n"
    "  or:  teluri --help | --version\n"
    "The analysis, settings and search of Teluri Explorer, for scripts. Output\n"
    "bytes are Shift-JIS (code page 932), like the archive's files.\n"
    "\n"
    "Commands:\n"
    "  analyze    write the thread tree of folder DIR in Tree.dat form;\n"
    "             --pictures begins each line with its picture number (0, 1, 2)\n"
    "             and a blank, -o FILE writes to FILE instead of standard output\n"
    "  tree       read a file in Tree.dat form and write it back with one TAB\n"
    "             per level\n"
    "  ini        read a value of a settings file as text (get), integer (number)\n"
    "             or flag (flag: 1 or 0), or write one (set)\n"
    "  search     list the .msg pages of DIR that hold TEXT, letters in any case,\n"
    "             in search-log form: title, number, BCB or DLP, three lines each\n"
    "\n"
    "Options:\n"
    "      --help     display this help and exit\n"
    "      --version  output version information and exit\n"
    "\n"
    "Exit status: 0 on success; 1 on an error, with one line on standard error\n"
    "(the file concerned, then the message); 2 on wrong usage, with this text on\n"
    "standard error.\n";

constexpr std::string_view kOutputIsAPage =
    "ﾌｧｲﾙ %s は解析するフォルダのページなので書き込めません";

class UsageError {};

// Writes and flushes standard output; a failed write (a full disk, a closed
// output) is an error, never a success with the output cut short.
void WriteOutput(std::ostream& out, std::string_view bytes) {
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.flush();
    if (!out) {
        throw IoError(std::string(msg::kCannotWriteOutput));
    }
}

// True when `file` is one of the pages the analysis of `folder` reads: a
// name of the page list's mask directly in that folder, links followed (the
// write replaces the file a link names).
bool IsPageOf(const std::string& file, const std::string& folder) {
    namespace fs = std::filesystem;
    std::error_code error;
    const fs::path target = fs::weakly_canonical(file, error);
    if (error) {
        return false;
    }
    const fs::path pages = fs::weakly_canonical(folder, error);
    return !error && target.parent_path() == pages &&
           MatchesMask(target.filename().string(), kPageFileMask);
}

// The result of a command: the bytes for standard output, or for a file.
struct Output {
    std::string bytes;
    std::optional<std::string> file;
};

Output Analyze(const std::vector<std::string>& args) {
    bool pictures = false;
    std::optional<std::string> outputFile;
    std::optional<std::string> folder;
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--pictures") {
            pictures = true;
        } else if (args[i] == "-o" && i + 1 < args.size() && !outputFile) {
            outputFile = args[++i];
        } else if (!args[i].empty() && args[i][0] != '-' && !folder) {
            folder = args[i];
        } else {
            throw UsageError();
        }
    }
    if (!folder) {
        throw UsageError();
    }
    if (outputFile && IsPageOf(*outputFile, *folder)) {
        throw IoError(msg::Format(kOutputIsAPage, *outputFile));
    }
    ThreadTree tree;
    BuildTree(IncludeTrailingDelimiter(*folder), tree);
    const std::vector<TreeLine> lines = tree.PreOrder();
    if (!pictures) {
        return {FormatTreeDat(lines), outputFile};
    }
    std::string bytes;
    for (const TreeLine& line : lines) {
        bytes += std::to_string(line.picture) + " " + FormatTreeLine(line);
    }
    return {bytes, outputFile};
}

Output Tree(const std::vector<std::string>& args) {
    if (args.size() != 1) {
        throw UsageError();
    }
    const std::string& file = args[0];
    const std::optional<std::string> content = ReadFileIfExists(file);
    if (!content) {
        throw IoError(msg::Format(msg::kCannotOpenFile, file));
    }
    CheckTreeDatSize(*content, file);
    ThreadTree tree;
    try {
        ReadTreeDat(*content, tree);
    } catch (TreeLevelError& error) {
        error.SetFile(file);
        throw;
    }
    return {FormatTreeDat(tree.PreOrder()), std::nullopt};
}

int NumberArgument(const std::string& text) {
    const auto value = TryStrToInt(text);
    if (!value) {
        throw UsageError();
    }
    return *value;
}

Output Ini(const std::vector<std::string>& args) {
    if (args.size() != 5) {
        throw UsageError();
    }
    SettingsFile ini(args[0]);
    const std::string& operation = args[1];
    const std::string& section = args[2];
    const std::string& key = args[3];
    const std::string& value = args[4];
    if (operation == "get") {
        return {ini.ReadText(section, key, value) + "\n", std::nullopt};
    }
    if (operation == "number") {
        return {std::to_string(ini.ReadNumber(section, key, NumberArgument(value))) + "\n",
                std::nullopt};
    }
    if (operation == "flag") {
        const bool flag = ini.ReadFlag(section, key, NumberArgument(value) != 0);
        return {flag ? "1\n" : "0\n", std::nullopt};
    }
    if (operation == "set") {
        ini.WriteText(section, key, value);
        return {};
    }
    throw UsageError();
}

Output Search(const std::vector<std::string>& args) {
    if (args.size() != 2 || args[0].empty()) {
        throw UsageError();
    }
    const std::string folder = IncludeTrailingDelimiter(args[0]);
    // Typed text is UTF-8 and searched in its cp932 form, as in the window;
    // bytes that are no UTF-8 are searched as they stand (cp932 from a
    // script, a lone lead byte).
    std::string text = args[1];
    if (IsUtf8(text)) {
        try {
            text = Utf8ToCp932(text);
        } catch (const EncodingError&) {
            ListFiles(folder);  // a folder that cannot be read is still an error
            return {};          // no page holds a text without a cp932 form
        }
    }
    text = OneLineSearchText(text);
    SearchSink sink;
    const std::vector<SearchHit> hits = SearchPages(folder, ListFiles(folder), text, sink);
    return {FormatSearchLog(hits), std::nullopt};
}

void Deliver(const Output& output, std::ostream& out) {
    if (!output.file) {
        WriteOutput(out, output.bytes);
        return;
    }
    if (WriteFileAtomically(*output.file, output.bytes)) {
        throw IoError(msg::Format(msg::kCannotCreateFile, *output.file));
    }
}

}  // namespace

int Run(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    using Command = std::function<Output(const std::vector<std::string>&)>;
    static const std::map<std::string, Command> kCommands = {
        {"analyze", Analyze}, {"tree", Tree}, {"ini", Ini}, {"search", Search}};
    const auto command = args.empty() ? kCommands.end() : kCommands.find(args[0]);
    try {
        if (args.size() == 1 && args[0] == "--help") {
            WriteOutput(out, kUsage);
            return kExitOk;
        }
        if (args.size() == 1 && args[0] == "--version") {
            WriteOutput(out, VersionText("teluri"));
            return kExitOk;
        }
        if (command == kCommands.end()) {
            throw UsageError();
        }
        Deliver(command->second({args.begin() + 1, args.end()}), out);
        return kExitOk;
    } catch (const UsageError&) {
        err << kUsage;
        return kExitUsage;
    } catch (const TeluriError& error) {
        if (!error.File().empty()) {
            err << error.File() << ": ";
        }
        err << error.what() << "\n";
        return kExitError;
    } catch (const std::exception& error) {
        err << error.what() << "\n";
        return kExitError;
    }
}

}  // namespace teluri::cli
