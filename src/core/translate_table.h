// The display translate tables: six tables of 256 bytes that convert between
// EBCDIC and the two ASCII character sets. Each is read on first use from
// "KivXlateTbl<n>.txt" along ZPATH.XLATETBLS and kept in the session.
#pragma once

#include <cstddef>
#include <cstdio>
#include <string>
#include <string_view>

#include "core/file_profile.h"

namespace kiv {

class Services;
class Session;

inline constexpr int kTranslateTableCount = 6;
inline constexpr int kTranslateTableSize = 256;
inline constexpr std::string_view kTranslateTablePrefix = "KivXlateTbl";
// A table whose first byte is this value counts as not loaded.
inline constexpr unsigned char kTableNotLoaded = 0xFF;

// The table numbers by what they convert.
inline constexpr int kEbcdicToIso8859 = 1;
inline constexpr int kIso8859ToEbcdic = 2;
inline constexpr int kEbcdicToIbmPc = 3;
inline constexpr int kIbmPcToEbcdic = 4;
inline constexpr int kIbmPcToIso8859 = 5;
inline constexpr int kIso8859ToIbmPc = 6;

// "KivXlateTbl1.txt" for table 1.
std::string translateTableFileName(int table);

// The table between two character sets, 0 when they are the same.
int conversionTable(Charset from, Charset to);
// The table that shows EBCDIC text in the display character set (1 or 3).
inline int displayTable(Charset display) {
  return conversionTable(Charset::Ebcdic, display);
}
// The table that turns characters typed in the display character set into
// EBCDIC (2 or 4).
inline int typedTable(Charset display) {
  return conversionTable(display, Charset::Ebcdic);
}

// Reads a table file into `out` and returns the number of entries it holds
// (entries past 256 are counted, not stored). Each syntax error is reported
// with its record and offset.
int parseTranslateTable(Services& s, std::FILE* in, unsigned char* out);

// The 256 bytes of a table, read from its file when not loaded yet; nullptr
// when the number is not 1..6 or the table cannot be loaded (reported).
const unsigned char* translateTable(Session& s, int table);

// Byte-wise lookup of n bytes (src and dst may be the same buffer). When the
// table cannot be loaded the bytes are copied unchanged and false returned.
bool translate(Session& s, int table, const unsigned char* src, unsigned char* dst, std::size_t n);

// A typed character, translated through table 6 when it is 0x80 or above
// and the profile read last has Charset ASCII-IBMPC; otherwise unchanged.
unsigned char translateTypedCharacter(Session& s, unsigned char c);

// Marks a table to be read again from its file at its next use (after the
// file was edited or restored).
void forgetTranslateTable(Session& s, int table);

}  // namespace kiv
