// Finds the string of a FIND, CHANGE or EXCLUDE in a line's text: text
// strings in either case, C and X strings byte for byte (a first-byte scan
// with memchr, for both cases of a text string), pictures class by class, regular
// expressions through PCRE2; then the position rule and the columns.
// Positions are bytes of the text. In a UTF-8 file a text string holding
// letters beyond ASCII is matched by PCRE2 in UTF and caseless mode, regular
// expressions run in UTF mode, pictures test a character at a time; the
// column range and the delimiters of the position rules are characters.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "commands/search_params.h"
#include "core/text_columns.h"

namespace kiv {

class Session;

struct SearchMatch {
  int at;      // 0-based offset in the text
  int length;  // bytes
};

class Matcher {
 public:
  Matcher();
  ~Matcher();
  Matcher(Matcher&&) noexcept;
  Matcher& operator=(Matcher&&) noexcept;

  // Prepares the search of `params` in `task`'s lines; false after the
  // message (a regular expression that does not compile or can match
  // nothing at all).
  bool compile(Task& task, const SearchParams& params);

  // The first match that starts at or after `from` (0-based).
  std::optional<SearchMatch> first(std::string_view text, int from = 0) const;
  // The last match that starts before `before`.
  std::optional<SearchMatch> last(std::string_view text, int before) const;
  // Groups of the last regular-expression match found on `text`, for a
  // replacement: \0..\9 as offsets, -1 when unset.
  std::string expand(std::string_view text, const SearchMatch& m, std::string_view replacement) const;

  // Typed characters as the file's bytes (EBCDIC files translate them).
  std::string fileBytes(std::string_view typed) const;
  // A byte as the display shows it (EBCDIC files translate it).
  unsigned char shownByte(unsigned char b) const { return shown_[b]; }

  bool regex() const { return kind_ == StringKind::Regex; }
  ColumnRange columns() const { return cols_; }
  // The bytes of `text` that the column range covers.
  ByteRange span(std::string_view text) const;
  // The offset of the character after the one at `at`.
  int next(std::string_view text, int at) const;
  // Whether the file's characters are UTF-8 (the matching, not the columns:
  // a hex view counts a byte a column but the text is still UTF-8).
  bool utf8() const { return utf8_; }

  struct Regex;  // a compiled expression and its match data

 private:
  std::optional<SearchMatch> candidate(std::string_view text, int from, int end) const;
  bool samePlace(std::string_view text, int at) const;
  int pictureAt(std::string_view text, int at, int end) const;
  bool positionHolds(std::string_view text, const SearchMatch& m) const;
  bool delimiterAt(std::string_view text, int at) const;
  bool delimiterBefore(std::string_view text, int at) const;
  bool startsAtColumn(std::string_view text, std::size_t at) const;
  int charStart(std::string_view text, int at, int end) const;
  void setDelimiters(Session& s);

  StringKind kind_ = StringKind::Text;
  Position position_ = Position::Chars;
  bool emptyLine_ = false;
  ColumnRange cols_{1, 1, false};
  std::string needle_;  // folded for text strings, file bytes for text and C strings
  unsigned char first_ = 0;  // the first byte a candidate starts with (a text string's two cases)
  unsigned char other_ = 0;
  std::array<unsigned char, 256> fold_{};
  std::array<unsigned char, 256> shown_{};  // file byte -> display byte (pictures)
  std::array<unsigned char, 256> file_{};   // typed byte -> file byte
  std::array<bool, 256> delimiter_{};
  std::u32string wideDelimiters_;  // UTF-8: delimiters beyond ASCII
  char pad_ = ' ';
  bool utf8_ = false;
  TextColumns columns_{false};
  std::size_t fence_ =
      std::string_view::npos;  // a number field right of the bounds (line_numbering.h)
  std::unique_ptr<Regex> re_;  // R'..', or a caseless UTF-8 text string
};

}  // namespace kiv
