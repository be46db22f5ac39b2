#include "core/utf8_case.h"

#include <utf8proc.h>

#include "core/text_columns.h"

namespace kiv {

namespace {

char asciiCase(char c, bool upper) {
  if (upper && c >= 'a' && c <= 'z') return static_cast<char>(c - 32);
  if (!upper && c >= 'A' && c <= 'Z') return static_cast<char>(c + 32);
  return c;
}

}  // namespace

std::string utf8Case(std::string_view text, bool upper, bool sameLength) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size();) {
    if (static_cast<unsigned char>(text[i]) < 0x80) {
      out.push_back(asciiCase(text[i++], upper));
      continue;
    }
    Glyph g = glyphAt(text, i);
    auto bytes = static_cast<std::size_t>(g.bytes);
    auto code = static_cast<utf8proc_int32_t>(g.code);
    auto other = static_cast<char32_t>(upper ? utf8proc_toupper(code) : utf8proc_tolower(code));
    std::string converted;
    if (!g.invalid && other != g.code) appendUtf8(converted, other);
    if (converted.empty() || (sameLength && converted.size() != bytes))
      out.append(text.substr(i, bytes));
    else
      out += converted;
    i += bytes;
  }
  return out;
}

bool wordCharacter(char32_t code) {
  if (code < 0x80) return code == '_' || (code >= '0' && code <= '9') || ((code | 0x20) >= 'a' && (code | 0x20) <= 'z');
  switch (utf8proc_category(static_cast<utf8proc_int32_t>(code))) {
    case UTF8PROC_CATEGORY_LU: case UTF8PROC_CATEGORY_LL: case UTF8PROC_CATEGORY_LT:
    case UTF8PROC_CATEGORY_LM: case UTF8PROC_CATEGORY_LO: case UTF8PROC_CATEGORY_MN:
    case UTF8PROC_CATEGORY_MC: case UTF8PROC_CATEGORY_ME: case UTF8PROC_CATEGORY_ND:
    case UTF8PROC_CATEGORY_NL: case UTF8PROC_CATEGORY_NO:
      return true;
    default:
      return false;
  }
}

}  // namespace kiv
