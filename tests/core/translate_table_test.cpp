// Display translate tables: the file syntax and its messages, loading on
// first use, the 0xFF rule, and the shipped tables against the code pages.
#include "core/translate_table.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "services/format.h"
#include "services/option_group.h"
#include "services/var_pool.h"
#include "support/editor_test.h"

namespace kiv {
namespace {

using ::testing::ElementsAre;

const char* const kInitError = "Error on initialization of display character Translate Table:  %d";

// `count` entries "XX," of byte (start + i) % 256, 16 to a line.
std::string entries(int count, int start = 0) {
  std::string text;
  for (int i = 0; i < count; ++i) {
    char entry[8];
    std::snprintf(entry, sizeof entry, "%02X,", (start + i) % 256);
    text += entry;
    if (i % 16 == 15) text += '\n';
  }
  return text;
}

class TranslateTableTest : public ::testing::Test {
 protected:
  TranslateTableTest() { varSet(s(), "ZPATH.XLATETBLS", t.dir() + "/tables"); }
  Session& s() { return t.session(); }
  void table(int n, std::string_view text) { t.file("tables/" + translateTableFileName(n), text); }
  std::string initError(int n) { return format(kInitError, n); }

  test::EditorTest t;
};

TEST_F(TranslateTableTest, EntriesBlanksCommentsAndLineEnds) {
  // A comment line, blanks and tabs before entries, CR+LF, a comment straight
  // after an entry, and a table shifted by one so that order shows.
  std::string text = "// shifted by one\r\n  \t" + entries(16, 1) + "\r\n" + entries(239, 17) +
                     "\n" + "12,// the last entry\n";
  table(kEbcdicToIso8859, text);
  const unsigned char* bytes = translateTable(s(), kEbcdicToIso8859);
  ASSERT_NE(bytes, nullptr) << t.lastMessage().text;
  EXPECT_TRUE(t.messages().empty());
  for (int i = 0; i < 255; ++i) EXPECT_EQ(bytes[i], (i + 1) % 256) << i;
  EXPECT_EQ(bytes[255], 0x12);

  unsigned char buf[] = {0x00, 0x41, 0xFE, 0xFF};
  EXPECT_TRUE(translate(s(), kEbcdicToIso8859, buf, buf, sizeof buf));  // in place
  EXPECT_THAT(buf, ElementsAre(0x01, 0x42, 0xFF, 0x12));
}

TEST_F(TranslateTableTest, SyntaxErrorsNameRecordAndOffsetAndSkipTheRestOfTheLine) {
  // Record 3 has a bad entry at offset 6: the 99 behind it is not taken, so
  // the file still yields exactly 256 entries and the table loads.
  std::string text = entries(16) + entries(16, 16) + "F0,   4G,99,\n" + entries(16 * 14 - 1, 32) +
                     "\n0a,\n" + "  7\n";
  table(kIso8859ToEbcdic, text);
  const unsigned char* bytes = translateTable(s(), kIso8859ToEbcdic);
  EXPECT_THAT(
      t.messageTexts(),
      ElementsAre(
          "Display character Translate Table definition, syntax error, Record 3, Offset 6",
          "Display character Translate Table definition, syntax error, Record 18, Offset 0",
          "Display character Translate Table definition, syntax error, Record 19, Offset 2"));
  ASSERT_NE(bytes, nullptr);
  EXPECT_EQ(bytes[31], 31);
  EXPECT_EQ(bytes[32], 0xF0);
  EXPECT_EQ(bytes[33], 32);
  EXPECT_EQ(bytes[255], 254);
}

// A wrong count, or a first byte of 0xFF (the mark of a table not loaded).
TEST_F(TranslateTableTest, WrongCountOrFirstByteFfLeavesTheTableUnloadedAndBytesUnchanged) {
  for (auto [count, start] : {std::pair{255, 1}, {257, 1}, {0, 1}, {256, 0xFF}}) {
    SCOPED_TRACE(count);
    forgetTranslateTable(s(), kEbcdicToIbmPc);
    table(kEbcdicToIbmPc, entries(count, start));
    t.clearMessages();
    unsigned char src[] = {1, 2, 3};
    unsigned char dst[3] = {};
    EXPECT_FALSE(translate(s(), kEbcdicToIbmPc, src, dst, sizeof src));
    EXPECT_THAT(dst, ElementsAre(1, 2, 3));
    EXPECT_THAT(t.messageTexts(), ElementsAre(initError(kEbcdicToIbmPc)));
    EXPECT_EQ(translateTable(s(), kEbcdicToIbmPc), nullptr);
  }
}

TEST_F(TranslateTableTest, MissingFileIsReportedOnceUntilForgotten) {
  EXPECT_EQ(translateTable(s(), kIbmPcToEbcdic), nullptr);
  EXPECT_THAT(t.messageTexts(),
              ElementsAre("Unable to open Translate Table Definition:\n\nKivXlateTbl4.txt",
                          initError(kIbmPcToEbcdic)));
  t.clearMessages();
  EXPECT_EQ(translateTable(s(), kIbmPcToEbcdic), nullptr);
  EXPECT_TRUE(t.messages().empty());

  table(kIbmPcToEbcdic, entries(256, 5));
  EXPECT_EQ(translateTable(s(), kIbmPcToEbcdic), nullptr);  // not read again by itself
  forgetTranslateTable(s(), kIbmPcToEbcdic);
  const unsigned char* bytes = translateTable(s(), kIbmPcToEbcdic);
  ASSERT_NE(bytes, nullptr);
  EXPECT_EQ(bytes[0], 5);
  EXPECT_TRUE(t.messages().empty());

  EXPECT_EQ(translateTable(s(), 0), nullptr);
  EXPECT_EQ(translateTable(s(), 7), nullptr);
}

TEST_F(TranslateTableTest, TypedCharactersGoThroughTableSixOnlyForIbmPcProfiles) {
  table(kIso8859ToIbmPc, entries(256, 1));
  EXPECT_EQ(translateTypedCharacter(s(), 0xE9), 0xE9);
  s().lastProfileIbmPc = true;
  EXPECT_EQ(translateTypedCharacter(s(), 0x41), 0x41);
  EXPECT_EQ(translateTypedCharacter(s(), 0x80), 0x81);
  EXPECT_EQ(translateTypedCharacter(s(), 0xFF), 0x00);
}

// The tables shipped in the installation directory, found through the pair
// of character sets each converts between.
class ShippedTableTest : public TranslateTableTest {
 protected:
  ShippedTableTest() { setSearchPaths(s()); }
  const unsigned char* load(int n) { return translateTable(s(), n); }
  // Where both code pages have the character, `back` undoes `there`; '?'
  // stands for a character the target lacks. Returns the bytes checked.
  static int inverseWhereShared(const unsigned char* there, const unsigned char* back,
                                unsigned char questionFrom, unsigned char questionTo) {
    int checked = 0;
    for (int b = 0; b < 256; ++b) {
      if (there[b] == questionTo && b != questionFrom) continue;
      EXPECT_EQ(back[there[b]], b) << "byte " << b;
      ++checked;
    }
    return checked;
  }
};

TEST_F(ShippedTableTest, EbcdicAndIso8859AreExactInverses) {
  const unsigned char* toIso = load(displayTable(Charset::AsciiIso8859));
  const unsigned char* toEbcdic = load(typedTable(Charset::AsciiIso8859));
  ASSERT_TRUE(toIso && toEbcdic) << t.lastMessage().text;
  for (int b = 0; b < 256; ++b) {
    EXPECT_EQ(toEbcdic[toIso[b]], b) << b;
    EXPECT_EQ(toIso[toEbcdic[b]], b) << b;
  }
  // Landmarks of code page 1047: blank, 'A', 'a', '0', line feed, '[' and ']'.
  const std::pair<int, int> known[] = {{0x40, ' '},  {0xC1, 'A'}, {0x81, 'a'}, {0xF0, '0'},
                                       {0x25, 0x0A}, {0xAD, '['}, {0xBD, ']'}, {0x15, 0x85}};
  for (auto [ebcdic, iso] : known) EXPECT_EQ(toIso[ebcdic], iso) << ebcdic;
}

TEST_F(ShippedTableTest, IbmPcTablesAreInverseWhereTheCodePagesShareACharacter) {
  const unsigned char* e2p = load(displayTable(Charset::AsciiIbmPc));
  const unsigned char* p2e = load(typedTable(Charset::AsciiIbmPc));
  const unsigned char* p2i = load(conversionTable(Charset::AsciiIbmPc, Charset::AsciiIso8859));
  const unsigned char* i2p = load(conversionTable(Charset::AsciiIso8859, Charset::AsciiIbmPc));
  ASSERT_TRUE(e2p && p2e && p2i && i2p) << t.lastMessage().text;
  // 181 characters are common to both pairs: 256 less the 75 each lacks.
  EXPECT_EQ(inverseWhereShared(e2p, p2e, 0x6F, '?'), 181);
  EXPECT_EQ(inverseWhereShared(p2e, e2p, '?', 0x6F), 181);
  EXPECT_EQ(inverseWhereShared(p2i, i2p, '?', '?'), 181);
  EXPECT_EQ(inverseWhereShared(i2p, p2i, '?', '?'), 181);
  // Landmarks of code page 437: e acute, the pound sign, a box corner.
  EXPECT_EQ(p2i[0x82], 0xE9);
  EXPECT_EQ(i2p[0xA3], 0x9C);
  EXPECT_EQ(p2i[0xDA], '?');
  EXPECT_EQ(e2p[0xC1], 'A');
}

}  // namespace
}  // namespace kiv
