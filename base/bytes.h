// Byte-string helpers for code page 932 (Shift-JIS) text. Page texts, titles,
// node texts and list lines stay in cp932 bytes throughout the program; these
// helpers never decode them.
#pragma once

#include <bitset>
#include <string>
#include <string_view>

namespace teluri {

// The set of bytes that begin a double-byte character.
using LeadByteSet = std::bitset<256>;

// cp932's lead bytes: 0x81-0x9F and 0xE0-0xFC.
const LeadByteSet& Cp932LeadBytes();

// The lead bytes of the system's code page for file names: cp932's set where
// that code page is 932, the empty set on a UTF-8 system.
const LeadByteSet& SystemLeadBytes();

// A copy of `source` in which every single-byte `from` is replaced by `to`.
// A lead byte makes the scan pass over the byte after it; a lead byte in the
// last position ends the scan.
std::string ReplaceChar(std::string_view source, char from, char to,
                        const LeadByteSet& leadBytes = SystemLeadBytes());

// ReplaceChar of backslash to forward slash.
std::string BackslashToSlash(std::string_view path,
                             const LeadByteSet& leadBytes = SystemLeadBytes());

// Upper-cases cp932 text in place: a-z become A-Z; a lead byte and the byte
// after it stay as they are; a lead byte in the last position ends the scan.
void UpperCaseCp932InPlace(std::string& text);
std::string UpperCaseCp932(std::string_view text);

// True when the upper-cased title contains "BUILDER", "C++" or "[B": the
// title belongs to the C++Builder family of the board.
bool IsBuilderTitle(std::string_view title);

// Lower-cases the ASCII letters A-Z, leaving every other byte alone.
std::string AsciiLowerCase(std::string_view text);

// True when the two texts are equal with the letters a-z folded to A-Z by
// the cp932 upper-casing.
bool SameTextCp932(std::string_view a, std::string_view b);

}  // namespace teluri
