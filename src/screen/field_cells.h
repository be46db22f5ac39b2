// A field's content as cells: the field holds UTF-8, and edits and the
// cursor count cells, so a wide character takes two: itself and a tail.
#pragma once

#include <string>
#include <string_view>

namespace kiv {

// The second cell of a wide character (a code point no text holds).
inline constexpr char32_t kWideTail = U'\uFDD0';

// The cells of UTF-8 text, padded with blanks or cut to `width` cells; a
// wide character that would not fit whole at the end becomes a blank.
std::u32string cellsOf(std::string_view text, int width);
// The UTF-8 text of cells, without the tails.
std::string textOfCells(std::u32string_view cells);
// The cells a typed character takes in a field: 2 for a wide one, else 1.
int fieldCells(char32_t c);

}  // namespace kiv
