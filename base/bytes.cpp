#include "base/bytes.h"

#include <cstdint>
#include <cstring>

#ifdef _WIN32
#include <windows.h>
#else
#include <langinfo.h>
#endif

namespace teluri {
namespace {

LeadByteSet MakeCp932LeadBytes() {
    LeadByteSet set;
    for (int b = 0x81; b <= 0x9F; ++b) {
        set.set(b);
    }
    for (int b = 0xE0; b <= 0xFC; ++b) {
        set.set(b);
    }
    return set;
}

bool SystemCodePageIs932() {
#ifdef _WIN32
    return GetACP() == 932;
#else
    // Without a locale set by the program the C library reports ASCII; the
    // file names are then plain bytes, as on a UTF-8 system.
    const char* codeset = nl_langinfo(CODESET);
    if (codeset == nullptr) {
        return false;
    }
    return std::strcmp(codeset, "SHIFT_JIS") == 0 || std::strcmp(codeset, "SJIS") == 0 ||
           std::strcmp(codeset, "CP932") == 0 || std::strcmp(codeset, "WINDOWS-31J") == 0;
#endif
}

char UpperAscii(char c) {
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

}  // namespace

const LeadByteSet& Cp932LeadBytes() {
    static const LeadByteSet set = MakeCp932LeadBytes();
    return set;
}

const LeadByteSet& SystemLeadBytes() {
    static const LeadByteSet set = SystemCodePageIs932() ? Cp932LeadBytes() : LeadByteSet();
    return set;
}

std::string ReplaceChar(std::string_view source, char from, char to, const LeadByteSet& leadBytes) {
    std::string result(source);
    for (std::size_t i = 0; i < result.size(); ++i) {
        const auto byte = static_cast<unsigned char>(result[i]);
        if (leadBytes.test(byte)) {
            ++i;  // the trail byte is never compared
        } else if (result[i] == from) {
            result[i] = to;
        }
    }
    return result;
}

std::string BackslashToSlash(std::string_view path, const LeadByteSet& leadBytes) {
    return ReplaceChar(path, '\\', '/', leadBytes);
}

void UpperCaseCp932InPlace(std::string& text) {
    const std::size_t size = text.size();
    constexpr std::uint64_t kHighBits = 0x8080808080808080ULL;
    const LeadByteSet& lead = Cp932LeadBytes();
    std::size_t i = 0;
    while (i < size) {
        // A run of ASCII bytes holds no lead byte: its letters are folded
        // eight at a time, without carries between bytes: bit 7 of
        // `atLeastA` is set from 'a' (0x61) on, bit 7 of `pastZ` from '{'.
        for (; i + 8 <= size; i += 8) {
            std::uint64_t block;
            std::memcpy(&block, text.data() + i, 8);
            if ((block & kHighBits) != 0) {
                break;
            }
            const std::uint64_t atLeastA = block + 0x1F1F1F1F1F1F1F1FULL;
            const std::uint64_t pastZ = block + 0x0505050505050505ULL;
            block ^= (atLeastA & ~pastZ & kHighBits) >> 2;  // 0x20 in each letter's byte
            std::memcpy(text.data() + i, &block, 8);
        }
        if (i >= size) {
            break;
        }
        if (lead.test(static_cast<unsigned char>(text[i]))) {
            i += 2;  // the trail byte stays as it is
        } else {
            text[i] = UpperAscii(text[i]);
            ++i;
        }
    }
}

std::string UpperCaseCp932(std::string_view text) {
    std::string result(text);
    UpperCaseCp932InPlace(result);
    return result;
}

bool IsBuilderTitle(std::string_view title) {
    const std::string upper = UpperCaseCp932(title);
    return upper.find("BUILDER") != std::string::npos || upper.find("C++") != std::string::npos ||
           upper.find("[B") != std::string::npos;
}

std::string AsciiLowerCase(std::string_view text) {
    std::string result(text);
    for (char& c : result) {
        if (c >= 'A' && c <= 'Z') {
            c = static_cast<char>(c - 'A' + 'a');
        }
    }
    return result;
}

bool SameTextCp932(std::string_view a, std::string_view b) {
    return a.size() == b.size() && UpperCaseCp932(a) == UpperCaseCp932(b);
}

}  // namespace teluri
