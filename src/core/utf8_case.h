// Letters of UTF-8 text: in one case, beyond ASCII too (a code point at a
// time, by the Unicode simple case mappings), and what makes a word.
#pragma once

#include <string>
#include <string_view>

namespace kiv {

// The text with its letters upper (or lower) case. With `sameLength` a
// letter whose other case takes a different number of bytes stays as it is,
// so the text keeps its length. Bytes that are not UTF-8 stay as they are.
std::string utf8Case(std::string_view text, bool upper, bool sameLength);
// A character of a word: a letter, digit, combining mark or '_'.
bool wordCharacter(char32_t code);

}  // namespace kiv
