// The cp932 helpers on arbitrary bytes: upper-casing keeps the length and is
// idempotent, ReplaceChar keeps the length, the display form stays on one
// line, conversions answer or throw their own error, and the line rules
// agree with each other.
#include <cstdint>

#include "base/bytes.h"
#include "base/cp932.h"
#include "base/errors.h"
#include "base/lines.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    const std::string upper = teluri::UpperCaseCp932(text);
    if (upper.size() != text.size() || teluri::UpperCaseCp932(upper) != upper) {
        __builtin_trap();
    }
    const std::string replaced = teluri::ReplaceChar(text, '\\', '/', teluri::Cp932LeadBytes());
    if (replaced.size() != text.size()) {
        __builtin_trap();
    }
    teluri::IsBuilderTitle(text);
    const std::u16string wide = teluri::Cp932ToUtf16(text);
    const std::string display = teluri::Cp932ForDisplay(text);
    if (display.find_first_of("\r\n") != std::string::npos) {
        __builtin_trap();
    }
    try {
        teluri::Utf16ToCp932(wide);
    } catch (const teluri::EncodingError&) {
    }
    try {
        teluri::Utf8ToCp932(text);
    } catch (const teluri::EncodingError&) {
    }
    if (teluri::WholeText(text) != teluri::JoinLines(teluri::SplitLines(text))) {
        __builtin_trap();
    }
    return 0;
}
