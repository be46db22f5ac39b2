// How a byte of a record is shown in a cell: the display character set maps
// each of the 256 byte values to a code point. ASCII-ISO8859 shows the
// Latin-1 character, ASCII-IBMPC the code page 437 glyph; a byte with nothing
// to show (a control byte) gets a visible substitute, so that every byte
// takes exactly one cell and no control reaches the terminal.
#pragma once

#include <array>
#include <cstdint>

namespace kiv::platform {

// Numbered as the file profile's CharsetDisplay (1, 2).
enum class DisplayCharset : std::uint8_t { AsciiIso8859 = 1, AsciiIbmPc = 2 };

using DisplayTable = std::array<char32_t, 256>;

const DisplayTable& displayTable(DisplayCharset charset);

inline char32_t displayChar(DisplayCharset charset, unsigned char byte) {
  return displayTable(charset)[byte];
}

// The substitute for a control byte: the control pictures U+2400..U+241F
// for 0x00..0x1F, U+2421 for 0x7F, and U+FFFD for 0x80..0x9F.
char32_t controlSubstitute(unsigned char byte);

}  // namespace kiv::platform
