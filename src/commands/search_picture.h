// Pictures (P'..' strings): a class character tests one character of the
// text, any other character stands for itself. In a single-byte task a
// character is a byte as the display shows it; in a UTF-8 task it is a code
// point, and the classes take their Unicode meaning ('@' accepts 'é' and
// 'ж'), '#' and '-' still mean the digits 0-9.
#pragma once

#include <string>
#include <string_view>

namespace kiv {

bool isPictureClass(char c);
// Whether character `code` belongs to class `cls` ('#', '@', '<', '>', '$',
// '-', '.', '=', '^'); `invalid`: a byte that begins no UTF-8 character.
bool pictureHolds(char cls, char32_t code, bool utf8, bool invalid = false);
// The bytes a UTF-8 picture matches at text[at, end), or -1.
int utf8PictureAt(std::string_view picture, std::string_view text, int at, int end);
// The characters of UTF-8 text changed in place by a picture STRING2: '#'
// and '=' keep the character, '<' and '>' make it lower or upper case, any
// other character replaces it.
std::string utf8PictureChange(std::string_view matched, std::string_view picture);
// The characters in a UTF-8 string (a byte of an invalid sequence is one).
int utf8Count(std::string_view text);

}  // namespace kiv
