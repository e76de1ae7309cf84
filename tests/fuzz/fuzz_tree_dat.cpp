// The saved-tree reader on arbitrary bytes: it reads or stops with the
// level error, and what it read is written and read back unchanged.
#include <cstdint>

#include "threads/thread_tree.h"
#include "threads/tree_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    teluri::ThreadTree tree;
    try {
        teluri::ReadTreeDat(std::string_view(reinterpret_cast<const char*>(data), size), tree);
    } catch (const teluri::TreeLevelError&) {
    }
    const std::string saved = teluri::FormatTreeDat(tree.PreOrder());
    teluri::ThreadTree again;
    teluri::ReadTreeDat(saved, again);
    // Node texts that begin with blanks read back as deeper levels; all
    // others must come back as they were.
    const auto first = tree.PreOrder();
    const auto second = again.PreOrder();
    bool blankStart = false;
    for (const auto& line : first) {
        blankStart =
            blankStart || (!line.text.empty() && (line.text[0] == ' ' || line.text[0] == '\t'));
    }
    if (!blankStart && teluri::FormatTreeDat(second) != saved) {
        __builtin_trap();
    }
    return 0;
}
