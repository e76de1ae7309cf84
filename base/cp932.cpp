#include "base/cp932.h"

#include <unicode/ucnv.h>
#include <unicode/ucnv_cb.h>
#include <unicode/ustring.h>

#include <cstdio>
#include <memory>

#include "base/errors.h"
#include "base/messages.h"

namespace teluri {
namespace {

constexpr std::string_view kNotConvertible = "'%s' に Shift_JIS (cp932) にできない文字があります";

// ICU's windows-31j table keeps IBM's swap of three control codes (0x1A is
// U+001C, 0x1C is U+007F, 0x7F is U+001A); Windows maps every byte below 0x80
// to the same code point. These undo the swap on either side of ICU.
char16_t WindowsControlFromIcu(char16_t unit) {
    switch (unit) {
        case 0x001C:
            return 0x001A;
        case 0x007F:
            return 0x001C;
        case 0x001A:
            return 0x007F;
        default:
            return unit;
    }
}

char16_t IcuControlFromWindows(char16_t unit) {
    switch (unit) {
        case 0x001A:
            return 0x001C;
        case 0x001C:
            return 0x007F;
        case 0x007F:
            return 0x001A;
        default:
            return unit;
    }
}

struct ConverterCloser {
    void operator()(UConverter* converter) const { ucnv_close(converter); }
};
using ConverterPtr = std::unique_ptr<UConverter, ConverterCloser>;

// ICU's own substitute for undecodable bytes is a control character; the
// program shows U+FFFD instead, which every font draws as a visible mark.
void SubstituteReplacementCharacter(const void*, UConverterToUnicodeArgs* args, const char*,
                                    int32_t, UConverterCallbackReason reason, UErrorCode* error) {
    if (reason > UCNV_IRREGULAR) {
        return;  // reset, close or clone: nothing to write
    }
    static const UChar kReplacement = 0xFFFD;
    *error = U_ZERO_ERROR;
    ucnv_cbToUWriteUChars(args, &kReplacement, 1, 0, error);
}

ConverterPtr OpenConverter(bool lossyToUnicode) {
    UErrorCode error = U_ZERO_ERROR;
    ConverterPtr converter(ucnv_open("windows-31j", &error));
    if (U_FAILURE(error)) {
        throw EncodingError(std::string("ICU の windows-31j 変換器を開けません: ") +
                            u_errorName(error));
    }
    if (lossyToUnicode) {
        ucnv_setToUCallBack(converter.get(), SubstituteReplacementCharacter, nullptr, nullptr,
                            nullptr, &error);
    } else {
        ucnv_setToUCallBack(converter.get(), UCNV_TO_U_CALLBACK_STOP, nullptr, nullptr, nullptr,
                            &error);
    }
    ucnv_setFromUCallBack(converter.get(), UCNV_FROM_U_CALLBACK_STOP, nullptr, nullptr, nullptr,
                          &error);
    return converter;
}

// One converter per thread, reset before each use.
UConverter* DisplayConverter() {
    thread_local ConverterPtr converter = OpenConverter(true);
    ucnv_reset(converter.get());
    return converter.get();
}

UConverter* ExactConverter() {
    thread_local ConverterPtr converter = OpenConverter(false);
    ucnv_reset(converter.get());
    return converter.get();
}

std::u16string Utf8ToUtf16(std::string_view text) {
    std::u16string result(text.size(), u'\0');
    int32_t length = 0;
    UErrorCode error = U_ZERO_ERROR;
    u_strFromUTF8(reinterpret_cast<UChar*>(result.data()), static_cast<int32_t>(result.size()),
                  &length, text.data(), static_cast<int32_t>(text.size()), &error);
    if (U_FAILURE(error)) {
        throw EncodingError(msg::Format(kNotConvertible, text));
    }
    result.resize(static_cast<std::size_t>(length));
    return result;
}

std::string Utf16ToUtf8(std::u16string_view text) {
    std::string result(text.size() * 3, '\0');
    int32_t length = 0;
    UErrorCode error = U_ZERO_ERROR;
    u_strToUTF8WithSub(result.data(), static_cast<int32_t>(result.size()), &length,
                       reinterpret_cast<const UChar*>(text.data()),
                       static_cast<int32_t>(text.size()), 0xFFFD, nullptr, &error);
    result.resize(static_cast<std::size_t>(length));
    return result;
}

}  // namespace

std::u16string Cp932ToUtf16(std::string_view bytes) {
    std::u16string result(bytes.size(), u'\0');
    for (;;) {
        UErrorCode error = U_ZERO_ERROR;
        const int32_t length =
            ucnv_toUChars(DisplayConverter(), reinterpret_cast<UChar*>(result.data()),
                          static_cast<int32_t>(result.size()), bytes.data(),
                          static_cast<int32_t>(bytes.size()), &error);
        if (error == U_BUFFER_OVERFLOW_ERROR) {
            result.resize(static_cast<std::size_t>(length));
            continue;
        }
        if (U_FAILURE(error)) {
            throw EncodingError(std::string("cp932 の変換に失敗しました: ") + u_errorName(error));
        }
        result.resize(static_cast<std::size_t>(length));
        for (char16_t& unit : result) {
            unit = WindowsControlFromIcu(unit);
        }
        return result;
    }
}

std::string Cp932ToUtf8(std::string_view bytes) {
    return Utf16ToUtf8(Cp932ToUtf16(bytes));
}

std::string Utf16ToCp932(std::u16string_view text) {
    std::u16string units(text);
    for (char16_t& unit : units) {
        unit = IcuControlFromWindows(unit);
    }
    // Every UTF-16 unit gives at most two cp932 bytes.
    std::string result(units.size() * 2, '\0');
    UErrorCode error = U_ZERO_ERROR;
    const int32_t length = ucnv_fromUChars(
        ExactConverter(), result.data(), static_cast<int32_t>(result.size()),
        reinterpret_cast<const UChar*>(units.data()), static_cast<int32_t>(units.size()), &error);
    if (U_FAILURE(error)) {
        throw EncodingError(msg::Format(kNotConvertible, Utf16ToUtf8(text)));
    }
    result.resize(static_cast<std::size_t>(length));
    return result;
}

std::string Utf8ToCp932(std::string_view text) {
    return Utf16ToCp932(Utf8ToUtf16(text));
}

bool IsUtf8(std::string_view text) {
    int32_t length = 0;
    UErrorCode error = U_ZERO_ERROR;
    // Measured only: nothing is written, and a full buffer is no failure.
    u_strFromUTF8(nullptr, 0, &length, text.data(), static_cast<int32_t>(text.size()), &error);
    return error == U_BUFFER_OVERFLOW_ERROR || U_SUCCESS(error);
}

std::string Cp932ForDisplay(std::string_view bytes) {
    // Escaped after the conversion, so that an escape never pairs up with a
    // lead byte before it.
    const std::string text = Cp932ToUtf8(bytes);
    std::string escaped;
    escaped.reserve(text.size());
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte >= 0x20 && byte != 0x7F) {
            escaped += c;
        } else if (c == '\r') {
            escaped += "\\r";
        } else if (c == '\n') {
            escaped += "\\n";
        } else if (c == '\t') {
            escaped += "\\t";
        } else {
            char hex[5];
            std::snprintf(hex, sizeof hex, "\\x%02X", byte);
            escaped += hex;
        }
    }
    return escaped;
}

}  // namespace teluri
