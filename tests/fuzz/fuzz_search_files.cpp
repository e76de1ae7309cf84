// The search's readers and names on arbitrary bytes: the history and log
// readers take any content, the page matcher agrees with the plain rule
// (upper-cased whole text contains the upper-cased text), and a log name
// never leaves the program folder.
#include <cstdint>

#include "base/bytes.h"
#include "base/lines.h"
#include "search/hit_rows.h"
#include "search/page_search.h"
#include "search/search_logs.h"
#include "tests/fuzz/fuzz_input.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // content \0 search text
    const auto parts = teluri::fuzz::Parts(data, size, 2);
    const std::string& content = parts[0];
    const std::string& text = parts[1];

    const auto history = teluri::ParseHistory(content);
    if (teluri::ParseHistory(teluri::FormatHistory(history)) != history) {
        __builtin_trap();
    }
    if (const auto rows = teluri::HitRows::FromLog(content)) {
        for (std::size_t row = 0; row < rows->Count(); ++row) {
            rows->Title(row);
            rows->Number(row);
            rows->Kind(row);
        }
    }

    teluri::PageMatcher matcher(text);
    const std::string whole = teluri::UpperCaseCp932(teluri::WholeText(content));
    const std::string upperText = teluri::UpperCaseCp932(text);
    const bool expected = !upperText.empty() && whole.find(upperText) != std::string::npos;
    if (matcher.Matches(content) != expected) {
        __builtin_trap();
    }

    const std::string name = teluri::SearchLogName(text);
    if (name.rfind("Find", 0) != 0 || name.size() < 8 || name.substr(name.size() - 4) != ".dat" ||
        name.find('/') != std::string::npos || name.find('\\') != std::string::npos) {
        __builtin_trap();
    }
    for (const char c : name) {
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) {
            __builtin_trap();
        }
    }
    return 0;
}
