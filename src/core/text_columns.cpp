#include "core/text_columns.h"

#include <utf8proc.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>
#include <memory>

#include "core/file_profile.h"
#include "core/hex_view.h"
#include "core/task.h"
#include "core/utf8_check.h"

namespace kiv {

namespace {

// The range the second byte of a sequence must lie in, by its lead byte;
// this keeps out overlong forms, surrogates and code points past U+10FFFF.
struct Lead {
  int length;
  unsigned char low, high;
};

Lead leadOf(unsigned char b) {
  if (b < 0x80) return {1, 0, 0};
  if (b < 0xC2) return {0, 0, 0};
  if (b < 0xE0) return {2, 0x80, 0xBF};
  if (b == 0xE0) return {3, 0xA0, 0xBF};
  if (b == 0xED) return {3, 0x80, 0x9F};
  if (b < 0xF0) return {3, 0x80, 0xBF};
  if (b == 0xF0) return {4, 0x90, 0xBF};
  if (b < 0xF4) return {4, 0x80, 0xBF};
  if (b == 0xF4) return {4, 0x80, 0x8F};
  return {0, 0, 0};
}

// The character at `at` without its cells.
Glyph decode(std::string_view text, std::size_t at) {
  auto b = static_cast<unsigned char>(text[at]);
  Lead lead = leadOf(b);
  if (lead.length == 1) return {b, 1, 1, false};
  Glyph bad{b, 1, 1, true};
  if (lead.length == 0 || at + static_cast<std::size_t>(lead.length) > text.size()) return bad;
  auto second = static_cast<unsigned char>(text[at + 1]);
  if (second < lead.low || second > lead.high) return bad;
  char32_t code = b & (0x7F >> lead.length);
  for (int i = 1; i < lead.length; ++i) {
    auto c = static_cast<unsigned char>(text[at + static_cast<std::size_t>(i)]);
    if ((c & 0xC0) != 0x80) return bad;
    code = (code << 6) | (c & 0x3F);
  }
  return {code, lead.length, 1, false};
}

constexpr std::uint64_t kHighBits = 0x8080808080808080ULL;

int propertyCells(char32_t code) {
  return std::clamp(utf8proc_charwidth(static_cast<utf8proc_int32_t>(code)), 0, 2);
}

// The widths of the basic plane, 256 code points a page, each page looked
// up in utf8proc when a character of it is first drawn: a table lookup
// instead of a property search for every character of every row.
int planeCells(char32_t code) {
  using Page = std::array<std::int8_t, 256>;
  static std::array<std::unique_ptr<Page>, 256> pages;
  std::unique_ptr<Page>& page = pages[code >> 8];
  if (!page) {
    page = std::make_unique<Page>();
    char32_t base = code & ~char32_t{0xFF};
    for (char32_t c = 0; c < 256; ++c)
      (*page)[c] = static_cast<std::int8_t>(propertyCells(base + c));
  }
  return (*page)[code & 0xFF];
}

}  // namespace

int codeCells(char32_t code) {
  if (code < 0x20 || (code >= 0x7F && code < 0xA0)) return 1;
  if (code < 0x300) return 1;
  return code < 0x10000 ? planeCells(code) : propertyCells(code);
}

Glyph glyphAt(std::string_view text, std::size_t at) {
  Glyph g = decode(text, at);
  if (!g.invalid && g.code >= 0x300) g.cells = codeCells(g.code);
  if (g.cells == 0 && at == 0) g.cells = 1;
  return g;
}

std::size_t asciiPrefix(std::string_view text) {
  std::size_t i = 0, n = text.size();
  for (; i + 8 <= n; i += 8) {
    std::uint64_t w;
    std::memcpy(&w, text.data() + i, 8);
    if (w & kHighBits) break;
  }
  while (i < n && static_cast<unsigned char>(text[i]) < 0x80) ++i;
  return i;
}

bool validUtf8(std::string_view text) {
  Utf8Stream s;
  s.feed(text, false);
  return s.valid();
}

void padCutCharacters(std::string& text, ByteRange field, char pad) {
  std::size_t first = std::min(field.first, text.size()), end = std::min(field.end, text.size());
  auto padTo = [&](std::size_t from, std::size_t to) {
    std::fill(text.begin() + static_cast<std::ptrdiff_t>(from),
              text.begin() + static_cast<std::ptrdiff_t>(to), pad);
  };
  // A character is at most four bytes: one that begins three bytes before
  // an edge or nearer may go past it.
  for (std::size_t k = first >= 3 ? first - 3 : 0; k < first; ++k) {
    Glyph g = decode(text, k);
    if (!g.invalid && k + static_cast<std::size_t>(g.bytes) > first) padTo(k, first);
  }
  for (std::size_t k = std::max(first, end >= 3 ? end - 3 : 0); k < end; ++k) {
    Glyph g = decode(text, k);
    if (!g.invalid && k + static_cast<std::size_t>(g.bytes) > end)
      padTo(end, k + static_cast<std::size_t>(g.bytes));
  }
}

void Utf8Stream::feedBytes(std::string_view bytes, bool continued) {
  // A whole record of some length: 32 bytes a step (core/utf8_check.h).
  if (need_ == 0 && !continued && bytes.size() >= 32 && vectorUtf8Available()) {
    valid_ = valid_ && vectorUtf8Valid(bytes);
    return;
  }
  static const std::array<Lead, 256> kLeads = [] {
    std::array<Lead, 256> t{};
    for (int b = 0; b < 256; ++b) t[static_cast<std::size_t>(b)] = leadOf(static_cast<unsigned char>(b));
    return t;
  }();
  const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
  std::size_t n = bytes.size(), i = 0;
  for (; valid_ && need_ > 0 && i < n; ++i, --need_) {  // the end of a character cut before
    valid_ = p[i] >= low_ && p[i] <= high_;
    low_ = 0x80;
    high_ = 0xBF;
  }
  while (valid_ && i < n) {
    if (p[i] < 0x80) {  // a run of ASCII, four words at a time, then one
      ++i;
      std::uint64_t w[4];
      while (i + 32 <= n && (std::memcpy(w, p + i, 32), ((w[0] | w[1] | w[2] | w[3]) & kHighBits) == 0)) i += 32;
      while (i + 8 <= n && (std::memcpy(w, p + i, 8), (w[0] & kHighBits) == 0)) i += 8;
      continue;
    }
    // The common sequences first: two bytes, and three outside the lead
    // bytes E0 and ED whose second byte has a narrower range.
    auto cont = [&](std::size_t k) { return (p[k] & 0xC0) == 0x80; };
    if (p[i] >= 0xC2 && p[i] <= 0xDF && i + 1 < n && cont(i + 1)) {
      i += 2;
      continue;
    }
    if (p[i] >= 0xE1 && p[i] <= 0xEF && p[i] != 0xED && i + 2 < n && cont(i + 1) && cont(i + 2)) {
      i += 3;
      continue;
    }
    const Lead& lead = kLeads[p[i]];
    auto len = static_cast<std::size_t>(lead.length);
    if (len == 0) {
      valid_ = false;
      break;
    }
    std::size_t have = std::min(len, n - i);
    bool ok = have < 2 || (p[i + 1] >= lead.low && p[i + 1] <= lead.high);
    for (std::size_t k = 2; ok && k < have; ++k) ok = (p[i + k] & 0xC0) == 0x80;
    valid_ = ok;
    if (have < len) {  // cut by the record's end: the next record goes on
      need_ = static_cast<int>(len - have);
      low_ = have < 2 ? lead.low : 0x80;
      high_ = have < 2 ? lead.high : 0xBF;
      break;
    }
    i += len;
  }
  if (!continued && need_ > 0) valid_ = false;
}

TextColumns::TextColumns(const Task& task) : utf8_(utf8Task(task)) {}

bool utf8Task(const Task& task) {
  return utf8File(task) && !hexViewShown(task);
}

bool utf8File(const Task& task) {
  return task.profile && task.profile->charset == Charset::Utf8;
}

int TextColumns::columnOf(std::string_view text, std::size_t at) const {
  std::size_t ascii = utf8_ ? asciiPrefix(text.substr(0, std::min(at, text.size()))) : at;
  if (ascii >= at) return static_cast<int>(at) + 1;
  // A combining mark stands in its base character's column.
  int column = static_cast<int>(ascii) + 1, baseColumn = static_cast<int>(ascii);
  std::size_t i = ascii;
  while (i < text.size()) {
    Glyph g = glyphAt(text, i);
    if (i + static_cast<std::size_t>(g.bytes) > at) return g.cells == 0 ? baseColumn : column;
    if (g.cells > 0) baseColumn = column;
    column += g.cells;
    i += static_cast<std::size_t>(g.bytes);
  }
  return column + static_cast<int>(at - text.size());
}

std::size_t TextColumns::byteOf(std::string_view text, int column) const {
  auto wanted = static_cast<std::size_t>(std::max(column, 1) - 1);
  std::size_t ascii = utf8_ ? asciiPrefix(text.substr(0, std::min(wanted + 1, text.size()))) : wanted;
  if (ascii > wanted || !utf8_) return wanted;
  int col = static_cast<int>(ascii) + 1;
  std::size_t i = ascii;
  while (i < text.size()) {
    Glyph g = glyphAt(text, i);
    std::size_t next = i + static_cast<std::size_t>(g.bytes);
    // A combining mark after the wanted column's character belongs to it.
    if (col + g.cells > column && g.cells > 0) return i;
    col += g.cells;
    i = next;
  }
  return text.size() + static_cast<std::size_t>(column - col);
}

std::size_t TextColumns::startOf(std::string_view text, int column) const {
  std::size_t at = std::min(byteOf(text, column), text.size());
  if (at < text.size() && columnOf(text, at) < column) {
    at += static_cast<std::size_t>(glyphAt(text, at).bytes);
    while (at < text.size() && glyphAt(text, at).cells == 0)
      at += static_cast<std::size_t>(glyphAt(text, at).bytes);
  }
  return at;
}

int TextColumns::width(std::string_view text) const {
  std::size_t ascii = utf8_ ? asciiPrefix(text) : text.size();
  int cells = static_cast<int>(ascii);
  for (std::size_t i = ascii; i < text.size();) {
    Glyph g = glyphAt(text, i);
    cells += g.cells;
    i += static_cast<std::size_t>(g.bytes);
  }
  return cells;
}

ByteRange TextColumns::bytesOf(std::string_view text, int from, int to) const {
  if (to < from) return {0, 0};
  std::size_t first = std::min(byteOf(text, from), text.size());
  // A wide character cut by `from` begins before it: it is not inside.
  if (first < text.size() && columnOf(text, first) < from) first += static_cast<std::size_t>(glyphAt(text, first).bytes);
  std::size_t end = std::min(byteOf(text, to + 1), text.size());
  // A wide character that begins in `to` and runs past it is inside.
  if (end < text.size() && columnOf(text, end) <= to) {
    end += static_cast<std::size_t>(glyphAt(text, end).bytes);
    while (end < text.size() && glyphAt(text, end).cells == 0) end += static_cast<std::size_t>(glyphAt(text, end).bytes);
  }
  end = std::max(end, first);
  return {first, end};
}

}  // namespace kiv
