#pragma once

#include <string>
#include <string_view>

// Record strings hold one byte per character in Windows-1252, the character
// set of the files the program reads and writes. This is the one conversion
// between those bytes and UTF-16 text; every reader and writer of record text
// goes through it, so a file written today reads the same everywhere.
namespace Windows1252 {

// Each byte becomes one character. The five bytes the set leaves undefined
// (81, 8D, 8F, 90, 9D) become the control characters of the same number, so
// every byte string survives a round trip.
std::u16string decode(std::string_view bytes);

// The same text in UTF-8, as files for other programs carry it.
std::string toUtf8(std::string_view bytes);

// True when `c` has a byte of its own in the set.
bool holds(char16_t c);

// One byte per character; a character the set cannot hold becomes
// `replacement`.
std::string encode(std::u16string_view text, char replacement = '?');

}  // namespace Windows1252
