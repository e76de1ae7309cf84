// The page reader on arbitrary bytes: every query either answers or throws
// the conversion error, and the replies are four bytes or the text's end.
#include <cstdint>

#include "analysis/page_reader.h"
#include "base/errors.h"
#include "tests/fuzz/fuzz_input.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const teluri::fuzz::MemoryFile file;
    file.Write(std::string_view(reinterpret_cast<const char*>(data), size));
    teluri::PageReader page;
    if (!page.Load(file.Path())) {
        __builtin_trap();
    }
    try {
        page.Number();
    } catch (const teluri::ConvertError&) {
    }
    try {
        page.ParentNumber();
    } catch (const teluri::ConvertError&) {
    }
    const std::string title = page.Title();
    if (title.size() > size) {
        __builtin_trap();
    }
    for (const std::string& reply : page.Replies()) {
        if (reply.size() > 4) {
            __builtin_trap();
        }
    }
    return 0;
}
