#include "commands/search_picture.h"

#include <utf8proc.h>

#include <cctype>

#include "core/text_columns.h"

namespace kiv {

namespace {

bool digit(char32_t c) {
  return c >= '0' && c <= '9';
}

utf8proc_category_t category(char32_t c) {
  return utf8proc_category(static_cast<utf8proc_int32_t>(c));
}

bool letter(char32_t c) {
  switch (category(c)) {
    case UTF8PROC_CATEGORY_LU: case UTF8PROC_CATEGORY_LL: case UTF8PROC_CATEGORY_LT:
    case UTF8PROC_CATEGORY_LM: case UTF8PROC_CATEGORY_LO: return true;
    default: return false;
  }
}

// A class of a code point of UTF-8 text.
bool utf8Holds(char cls, char32_t c, bool invalid) {
  bool control = invalid || c < 0x20 || (c >= 0x7F && c < 0xA0);
  switch (cls) {
    case '#': return !invalid && digit(c);
    case '@': return !invalid && letter(c);
    case '<': return !invalid && category(c) == UTF8PROC_CATEGORY_LL;
    case '>': return !invalid && category(c) == UTF8PROC_CATEGORY_LU;
    case '$': return invalid || (c != ' ' && !letter(c) && category(c) != UTF8PROC_CATEGORY_ND);
    case '-': return invalid || !digit(c);
    case '.': return control;
    case '=': return true;
    case '^': return invalid || c != ' ';
    default: return false;
  }
}

// A class of a byte as the display shows it.
bool byteHolds(char cls, unsigned char b) {
  switch (cls) {
    case '#': return std::isdigit(b);
    case '@': return b < 128 && std::isalpha(b);
    case '<': return b < 128 && std::islower(b);
    case '>': return b < 128 && std::isupper(b);
    case '$': return b != ' ' && !(b < 128 && std::isalnum(b));
    case '-': return !std::isdigit(b);
    case '.': return b < 32 || b >= 127;
    case '=': return true;
    case '^': return b != ' ';
    default: return false;
  }
}

}  // namespace

bool isPictureClass(char c) {
  return std::string_view("#@<>$-.=^").find(c) != std::string_view::npos;
}

bool pictureHolds(char cls, char32_t code, bool utf8, bool invalid) {
  return utf8 ? utf8Holds(cls, code, invalid) : byteHolds(cls, static_cast<unsigned char>(code));
}

int utf8PictureAt(std::string_view picture, std::string_view text, int at, int end) {
  std::size_t i = static_cast<std::size_t>(at), stop = static_cast<std::size_t>(end);
  for (std::size_t p = 0; p < picture.size();) {
    if (i >= stop) return -1;
    Glyph want = glyphAt(picture, p), have = glyphAt(text, i);
    if (i + static_cast<std::size_t>(have.bytes) > stop) return -1;
    bool cls = want.bytes == 1 && isPictureClass(picture[p]);
    bool holds = cls ? utf8Holds(picture[p], have.code, have.invalid)
                     : want.code == have.code && want.invalid == have.invalid;
    if (!holds) return -1;
    p += static_cast<std::size_t>(want.bytes);
    i += static_cast<std::size_t>(have.bytes);
  }
  return static_cast<int>(i) - at;
}

std::string utf8PictureChange(std::string_view matched, std::string_view picture) {
  std::string out;
  std::size_t i = 0, p = 0;
  for (; i < matched.size() && p < picture.size();) {
    Glyph have = glyphAt(matched, i), want = glyphAt(picture, p);
    std::string_view keep = matched.substr(i, static_cast<std::size_t>(have.bytes));
    char cls = want.bytes == 1 ? picture[p] : 0;
    auto code = static_cast<utf8proc_int32_t>(have.code);
    if ((cls == '<' || cls == '>') && !have.invalid)
      appendUtf8(out, static_cast<char32_t>(cls == '<' ? utf8proc_tolower(code) : utf8proc_toupper(code)));
    else if (cls == '#' || cls == '=' || cls == '<' || cls == '>')
      out.append(keep);
    else
      out.append(picture.substr(p, static_cast<std::size_t>(want.bytes)));
    i += static_cast<std::size_t>(have.bytes);
    p += static_cast<std::size_t>(want.bytes);
  }
  out.append(matched.substr(i));
  return out;
}

int utf8Count(std::string_view text) {
  int n = 0;
  for (std::size_t i = 0; i < text.size(); i += static_cast<std::size_t>(glyphAt(text, i).bytes)) ++n;
  return n;
}

}  // namespace kiv
