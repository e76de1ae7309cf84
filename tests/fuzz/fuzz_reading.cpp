// The readers of the reading aids on arbitrary bytes: Read.dat reads back
// as it was written, the page markup only gains its rule ends, the preview
// stays within its lines and a link's target is one of its kinds.
#include <algorithm>
#include <cstdint>
#include <string_view>

#include "htmlview/page_markup.h"
#include "reading/link_target.h"
#include "reading/page_preview.h"
#include "reading/read_marks.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);

    const std::string marks = teluri::ReadMarks::Parse(input).Format();
    if (teluri::ReadMarks::Parse(marks).Format() != marks) {
        __builtin_trap();
    }

    const std::string markup = teluri::NormalisePageMarkup(input);
    if (markup.size() < input.size() || (markup.size() - input.size()) % 11 != 0) {
        __builtin_trap();
    }

    const std::string preview = teluri::PagePreview("1234", input);
    if (std::count(preview.begin(), preview.end(), '\n') > 10 || !preview.starts_with("1234 ")) {
        __builtin_trap();
    }

    const teluri::LinkTarget target = teluri::LinkTargetOf(input);
    if (target.kind == teluri::LinkTarget::Kind::kBoardPage &&
        (target.value.size() != 4 || target.value.find('/') != std::string::npos)) {
        __builtin_trap();
    }
    teluri::PageNumberOfPath(input);
    teluri::PageNumberValue(input);
    return 0;
}
