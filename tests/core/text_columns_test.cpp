// Columns of UTF-8 text: characters and their cells, invalid sequences, and
// the mapping between columns and bytes that display and commands share.
#include <gtest/gtest.h>

#include <string>

#include "core/text_columns.h"
#include "core/utf8_case.h"

namespace kiv {
namespace {

TEST(TextColumnsTest, SequencesAreDecodedOrRejectedByte) {
  struct Case {
    std::string text;
    char32_t code;
    int bytes;
    bool invalid;
  };
  const Case cases[] = {
      {"\xC3\xA9", U'\u00E9', 2, false},      {"\xE6\xBC\xA2", U'\u6F22', 3, false},
      {"\xF0\x9F\x98\x80", U'\U0001F600', 4, false},
      {"\xC0\x80", 0xC0, 1, true},            // overlong NUL
      {"\xE0\x80\xAF", 0xE0, 1, true},        // overlong '/'
      {"\xED\xA0\x80", 0xED, 1, true},        // a surrogate
      {"\xF4\x90\x80\x80", 0xF4, 1, true},    // past U+10FFFF
      {"\xE6\xBC", 0xE6, 1, true},            // cut at the end
      {"\xE6" "a\xA2", 0xE6, 1, true},        // a continuation missing
      {"\x80", 0x80, 1, true},
  };
  for (const Case& c : cases) {
    Glyph g = glyphAt(c.text, 0);
    EXPECT_EQ(g.code, c.code) << c.text;
    EXPECT_EQ(g.bytes, c.bytes) << c.text;
    EXPECT_EQ(g.invalid, c.invalid) << c.text;
    EXPECT_EQ(validUtf8(c.text), !c.invalid && static_cast<std::size_t>(c.bytes) == c.text.size());
  }
}

TEST(TextColumnsTest, WideAndCombiningCharactersTakeTheirCells) {
  // "a", a wide character (columns 2-3), "e" with a combining acute (4),
  // an invalid byte (5), "z" (6).
  std::string text = "a\xE6\xBC\xA2" "e\xCC\x81" "\xFFz";
  TextColumns utf8(true);
  EXPECT_EQ(utf8.width(text), 6);
  const int columnOfByte[] = {1, 2, 2, 2, 4, 4, 4, 5, 6};
  for (std::size_t b = 0; b < text.size(); ++b) EXPECT_EQ(utf8.columnOf(text, b), columnOfByte[b]) << b;
  const std::size_t byteOfColumn[] = {0, 1, 1, 4, 7, 8, 9, 10};
  for (int c = 1; c <= 8; ++c) EXPECT_EQ(utf8.byteOf(text, c), byteOfColumn[c - 1]) << c;
  EXPECT_EQ(utf8.columnOf(text, text.size() + 2), 9);

  // A range takes the characters that begin in it: the wide one cut by the
  // start stays out, one that begins at the end comes in whole.
  ByteRange r = utf8.bytesOf(text, 3, 4);
  EXPECT_EQ(text.substr(r.first, r.end - r.first), "e\xCC\x81");
  r = utf8.bytesOf(text, 1, 2);
  EXPECT_EQ(text.substr(r.first, r.end - r.first), "a\xE6\xBC\xA2");

  // A mark at the start of a line takes a cell of its own.
  EXPECT_EQ(utf8.width("\xCC\x81x"), 2);
  // Bytes are columns in a single-byte task and on plain ASCII.
  TextColumns bytes(false);
  EXPECT_EQ(bytes.width(text), static_cast<int>(text.size()));
  EXPECT_EQ(bytes.byteOf(text, 4), 3u);
  EXPECT_EQ(utf8.byteOf("plain ascii", 7), 6u);
}

TEST(TextColumnsTest, FixedRecordsMayCutACharacterTheNextOneEnds) {
  Utf8Stream fixed;
  fixed.feed("ab\xE6", true);
  fixed.feed("\xBC\xA2z", true);
  EXPECT_TRUE(fixed.valid());
  Utf8Stream variable;
  variable.feed("ab\xE6", false);
  EXPECT_FALSE(variable.valid());
  Utf8Stream wrongContinuation;
  wrongContinuation.feed("\xE0", true);
  wrongContinuation.feed("\x80\x80", true);  // overlong across the cut
  EXPECT_FALSE(wrongContinuation.valid());
  Utf8Stream cutLater;  // an emoji cut after its second byte
  cutLater.feed("x\xF0\x9F", true);
  cutLater.feed("\x98\x80", true);
  EXPECT_TRUE(cutLater.valid());
  cutLater.feed("\xF0\x9F\x98", true);
  cutLater.feed("y", false);  // a letter where the fourth byte belongs
  EXPECT_FALSE(cutLater.valid());
}

TEST(TextColumnsTest, EncodingRoundTripsAndReplacesWhatHasNoBytes) {
  std::string out;
  for (char32_t c : {U'A', U'\u00E9', U'\u6F22', U'\U0001F600'}) appendUtf8(out, c);
  EXPECT_EQ(out, "A\xC3\xA9\xE6\xBC\xA2\xF0\x9F\x98\x80");
  std::string bad;
  appendUtf8(bad, 0xD800);
  EXPECT_EQ(bad, "\xEF\xBF\xBD");
}

TEST(TextColumnsTest, TextFromAColumnLeavesACutWideCharacterLeft) {
  // "a", a wide character with a combining mark (columns 2-3), "b" (4).
  std::string text =
      "a\xE6\xBC\xA2\xCC\x81"
      "b";
  TextColumns utf8(true);
  const std::size_t startOfColumn[] = {0, 1, 6, 6, 7, 7};
  for (int c = 1; c <= 6; ++c) EXPECT_EQ(utf8.startOf(text, c), startOfColumn[c - 1]) << c;
  EXPECT_EQ(TextColumns(false).startOf(text, 3), 2u);
  EXPECT_EQ(TextColumns(false).startOf("ab", 9), 2u);
}

TEST(TextColumnsTest, UpperCaseReachesBeyondAsciiAndKeepsInvalidBytes) {
  // é -> É, ÿ -> Ÿ (two bytes to two), ı -> I (two bytes to one), a CJK
  // character and a digit stay, an invalid byte stays as it is.
  std::string out = utf8Case(
      "a\xC3\xA9\xC3\xBF\xC4\xB1\xE6\xBC\xA2"
      "7\xFF",
      true, false);
  EXPECT_EQ(out,
            "A\xC3\x89\xC5\xB8I\xE6\xBC\xA2"
            "7\xFF");
}

}  // namespace
}  // namespace kiv
