// Where a line's bytes stand in columns: the one place that maps record
// bytes to what the user sees. In a task of a single-byte character set
// every byte is one column. In a UTF-8 task a character takes the cells it
// is drawn in: two for a wide one (East Asian, emoji), none for a combining
// mark (it joins the character before it; at the start of a line it takes
// one), one for any other; each byte of an invalid sequence is a character
// of its own, one column, drawn as a substitute. Columns past the end of
// the text count one a byte, as blanks would. Lines of plain ASCII take a
// fast path: there a byte is a column in either kind of task.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

#include "platform/utf8.h"

namespace kiv {

class Task;

// One character of UTF-8 text.
struct Glyph {
  char32_t code = 0;     // the code point; for an invalid byte, the byte
  int bytes = 1;         // its length in the text
  int cells = 1;         // columns it takes (0: joins the character before)
  bool invalid = false;  // a byte that begins no valid sequence
};

// The character at byte `at` of UTF-8 `text` (at < text.size()); a
// character beginning the text takes at least one cell.
Glyph glyphAt(std::string_view text, std::size_t at);
// The cells a valid code point takes: 0, 1 or 2 (a control character 1,
// shown as a substitute).
int codeCells(char32_t code);
// How many bytes at the start of `text` are below 0x80.
std::size_t asciiPrefix(std::string_view text);
// The UTF-8 bytes of a code point (U+FFFD for one that has none).
using platform::appendUtf8;
// True when every byte of `text` belongs to a valid, shortest-form UTF-8
// sequence of a scalar value (no surrogates, nothing above U+10FFFF).
bool validUtf8(std::string_view text);

// Checks a stream of records as UTF-8: records of a FIXED file may cut a
// character, which the next record goes on with.
class Utf8Stream {
 public:
  // The bytes of a record; `continued`: the next record goes on with them.
  // Plain ASCII records, most of most files, are checked here inline.
  void feed(std::string_view bytes, bool continued) {
    if (need_ > 0 || !plainAscii(bytes)) feedBytes(bytes, continued);
  }
  bool valid() const { return valid_; }

 private:
  // No byte has its high bit set: checked without a branch a word.
  static bool plainAscii(std::string_view bytes) {
    std::uint64_t any = 0, w;
    std::size_t i = 0;
    for (; i + 8 <= bytes.size(); i += 8) {
      std::memcpy(&w, bytes.data() + i, 8);
      any |= w;
    }
    for (; i < bytes.size(); ++i) any |= static_cast<unsigned char>(bytes[i]);
    return (any & 0x8080808080808080ULL) == 0;
  }
  void feedBytes(std::string_view bytes, bool continued);

  bool valid_ = true;
  int need_ = 0;           // continuation bytes still to come
  unsigned char low_ = 0x80, high_ = 0xBF;  // range of the next one
};

// Bytes [first, end) of a text.
struct ByteRange {
  std::size_t first = 0;
  std::size_t end = 0;
};

// Before bytes `field` of UTF-8 `text` are overwritten: a character that
// the field's edges cut becomes `pad` bytes outside the field (its bytes
// before the field, or after it), so that whole characters remain.
void padCutCharacters(std::string& text, ByteRange field, char pad);

class TextColumns {
 public:
  explicit TextColumns(bool utf8) : utf8_(utf8) {}
  explicit TextColumns(const Task& task);
  bool utf8() const { return utf8_; }

  // The 1-based column of byte `at` (its character's first column).
  int columnOf(std::string_view text, std::size_t at) const;
  // The byte where the character covering 1-based `column` begins; past
  // the text, text.size() and one byte a column beyond it.
  std::size_t byteOf(std::string_view text, int column) const;
  // The byte where the text from 1-based `column` on begins: a wide
  // character that begins left of the column stays left of it, with its
  // combining marks; text.size() past the text.
  std::size_t startOf(std::string_view text, int column) const;
  // The columns the text takes.
  int width(std::string_view text) const;
  // The bytes of the characters that begin in columns [from, to].
  ByteRange bytesOf(std::string_view text, int from, int to) const;

 private:
  bool utf8_;
};

// The task's columns are UTF-8 characters: its file character set is UTF-8
// and no hex view is shown (the hex rows show a byte a column, and the text
// above them then does too).
bool utf8Task(const Task& task);
// The task's file character set is UTF-8: what is typed goes in as UTF-8,
// whether or not the hex view is shown.
bool utf8File(const Task& task);

}  // namespace kiv
