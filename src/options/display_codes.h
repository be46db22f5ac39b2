// Display codes: per display font, a table that maps each character code to
// the code drawn on the screen, kept in the option group
// "DisplayCodes.<face name without blanks>" as lines "<char> <display>".
#pragma once

#include <array>
#include <string>
#include <string_view>

namespace kiv {

class Services;

struct DisplayCodes {
  DisplayCodes();  // every code drawn as itself
  std::array<unsigned char, 256> code;
};

// "DisplayCodes.CourierNew" for "Courier New".
std::string displayCodesGroupName(std::string_view face);

// The font's table: the codes its file names, the others drawn as
// themselves. Lines that are not two numbers 0..255 are skipped.
DisplayCodes readDisplayCodes(Services& s, std::string_view face);
// Writes all 256 entries. 0, or -1 after "Unable to write option file '%s'"
// (the old file is kept).
int writeDisplayCodes(Services& s, std::string_view face, const DisplayCodes& codes);

}  // namespace kiv
