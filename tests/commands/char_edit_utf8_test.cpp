// Character editing in a UTF-8 task: columns are what the user sees, the
// operations take whole characters (a wide one, a base with its marks),
// MaxRecLen counts bytes, and only the bytes of the characters typed or
// deleted change.
#include <gtest/gtest.h>

#include <memory>
#include <random>
#include <string>

#include "commands/char_edit.h"
#include "core/file_profile.h"
#include "core/hex_view.h"
#include "core/line_ops.h"
#include "core/task.h"
#include "core/text_columns.h"
#include "core/utf8_case.h"
#include "support/editor_test.h"

namespace kiv {
namespace {

// "é" two bytes, "漢" and "字" three bytes and two columns each, "e" +
// U+0301 a base with a combining mark (one column, three bytes).
constexpr std::string_view kE = "\xC3\xA9";
constexpr std::string_view kKan = "\xE6\xBC\xA2";
constexpr std::string_view kJi = "\xE5\xAD\x97";
constexpr std::string_view kAcute = "\xCC\x81";

std::string cat(std::initializer_list<std::string_view> parts) {
  std::string out;
  for (std::string_view p : parts) out += p;
  return out;
}

class CharEditUtf8 : public ::testing::Test {
 protected:
  CharEditUtf8() : task(t.session()) {
    initLineStore(task);
    task.profile = std::make_unique<FileProfile>();
    task.profile->maxRecLen = 12;
    task.profile->charset = Charset::Utf8;
  }
  Line* add(std::string_view text) {
    Line* line = createLine(task, text, LineKind::Text);
    linkLineBefore(task, task.lines.last && task.lines.last->is(LineKind::Bof) ? task.lines.last : nullptr, line);
    return line;
  }
  std::string id() { return t.lastMessage().id; }

  test::EditorTest t;
  Task task;
};

TEST_F(CharEditUtf8, TypingPutsTheBytesInAtTheColumn) {
  Line* a = add(cat({"a", kKan, "b"}));  // columns: a 0, 漢 1-2, b 3
  EditResult r = typeChar(task, a, 3, U'é', true);
  EXPECT_EQ(a->text(), cat({"a", kKan, kE, "b"}));
  EXPECT_EQ(r.column, 4) << "the cursor after the new character, in columns";
  r = typeChar(task, a, 2, U'字', true);  // on 漢's second half: before 漢
  EXPECT_EQ(a->text(), cat({"a", kJi, kKan, kE, "b"}));
  EXPECT_EQ(r.column, 3);
  r = typeChar(task, add(kE), 4, U'字', false);  // past the end: blanks first
  EXPECT_EQ(r.line->text(), cat({kE, "   ", kJi}));
  EXPECT_EQ(r.column, 6);
}

TEST_F(CharEditUtf8, OvertypeTakesTheWholeCharacter) {
  Line* a = add(cat({"x", kKan, "y"}));
  EditResult r = typeChar(task, a, 2, U'z', false);  // the second half of 漢
  EXPECT_EQ(a->text(), "xzy") << "a wide character overtyped by a narrow one: a column shorter";
  EXPECT_EQ(r.column, 2);
  Line* m = add(cat({"e", kAcute, "f"}));
  typeChar(task, m, 0, U'é', false);
  EXPECT_EQ(m->text(), cat({kE, "f"})) << "the base goes with its mark";
  typeChar(task, m, 1, U'\u0301', false);  // a mark joins the character before
  EXPECT_EQ(m->text(), cat({kE, kAcute, "f"}));
}

TEST_F(CharEditUtf8, MaxRecLenCountsBytes) {
  Line* a = add(cat({kKan, kKan, kKan, "ab"}));  // 11 bytes, 8 columns
  EXPECT_FALSE(typeChar(task, a, 8, U'é', false).ok);
  EXPECT_EQ(id(), "CHAR100");
  EXPECT_FALSE(typeChar(task, a, 6, U'字', false).ok) << "'a' (1 byte) to '字' (3) would make 13";
  EXPECT_TRUE(typeChar(task, a, 8, U'c', false).ok);
  EXPECT_EQ(a->length(), 12);
  Line* b = add(cat({kKan, kKan, kKan, "   "}));  // 12 bytes, the last 3 blanks
  EXPECT_TRUE(typeChar(task, b, 0, U'字', true).ok) << "three trailing blanks make room";
  EXPECT_EQ(b->text(), cat({kJi, kKan, kKan, kKan}));
  EXPECT_FALSE(typeChar(task, b, 0, U'x', true).ok);
  EXPECT_EQ(id(), "CHAR85");
  EXPECT_EQ(b->text(), cat({kJi, kKan, kKan, kKan})) << "a refusal changes nothing";
}

// In a numbered file (or a FIXED record) the number columns stay where
// they are in bytes: a character of more or fewer bytes than the one it
// overtypes takes or gives blanks at the data field's end.
TEST_F(CharEditUtf8, TheNumberFieldStaysInItsBytes) {
  task.profile->maxRecLen = 16;
  task.profile->numberType = NumberType::Other;
  task.profile->numberColStart = 9;  // data bytes 0..7, number 8..11
  task.profile->numberColEnd = 12;
  Line* a = add("abc     0100");
  EXPECT_TRUE(typeChar(task, a, 1, U'漢', false).ok);
  EXPECT_EQ(a->text(), cat({"a", kKan, "c   0100"}));
  EXPECT_TRUE(typeChar(task, a, 1, U'x', false).ok);  // three bytes back to one
  EXPECT_EQ(a->text(), "axc     0100");
  Line* full = add("abcdefgh0100");
  EXPECT_FALSE(typeChar(task, full, 0, U'é', false).ok) << "no blank to give up";
  EXPECT_EQ(full->text(), "abcdefgh0100");
  Line* wide = add(cat({"ab", kE, "    ", "0100"}));
  EXPECT_TRUE(deleteChar(task, wide, 2).ok);
  EXPECT_EQ(wide->text(), "ab      0100");
  EXPECT_FALSE(typeChar(task, wide, 9, U'é', false).ok) << "a digit's byte cannot hold it";
  EXPECT_EQ(wide->text(), "ab      0100");
  Line* cut =
      add(cat({kE, "aaaa", kKan, "00"}));  // 漢 runs from the data over the field's first byte
  EXPECT_TRUE(typeChar(task, cut, 0, U'x', false).ok);
  EXPECT_EQ(cut->text(), cat({"xaaaa ", kKan, "00"})) << "the blank goes in before 漢, not into it";
  EXPECT_TRUE(deleteChar(task, cut, 0).ok);
  EXPECT_EQ(cut->text(), cat({"aaaa  ", kKan, "00"}));
  task.profile->recfm = kRecfmFixed;  // a FIXED record keeps its length as well
  task.profile->numberType = NumberType::None;
  Line* rec = add(cat({"a", kE, "bcd"}));
  EXPECT_TRUE(typeChar(task, rec, 1, U'z', false).ok);
  EXPECT_EQ(rec->text(), "azbcd ");
}

// Random typing and deleting in the data of numbered UTF-8 lines: the text
// stays UTF-8 and the number keeps its bytes, whatever is typed where.
TEST_F(CharEditUtf8, RandomEditsKeepTheNumberAndWholeCharacters) {
  task.profile->maxRecLen = 24;
  task.profile->numberType = NumberType::Other;
  task.profile->numberColStart = 17;  // data bytes 0..15, number 16..19
  task.profile->numberColEnd = 20;
  const char32_t kTyped[] = {U'a', U'é', U'漢', U'\u0301', U'😀', U' '};
  std::mt19937 rng(5);
  int refused = 0, done = 0;
  for (int round = 0; round < 300; ++round) {
    Line* line = add(cat({"ab", kE, "c", kKan, "        ", "0042"}));  // 16 data bytes
    for (int step = 0; step < 20; ++step) {
      int data = TextColumns(task).columnOf(line->text(), 16) - 1;  // columns before the number
      int column = static_cast<int>(rng() % static_cast<unsigned>(data));
      std::string before(line->text());
      unsigned op = rng() % 4;
      EditResult r;
      switch (op) {
        case 0: r = typeChar(task, line, column, kTyped[rng() % 6], false); break;
        case 1: r = typeChar(task, line, column, kTyped[rng() % 6], true); break;
        case 2: r = deleteChar(task, line, column); break;
        default: r = backspace(task, line, column, true); break;
      }
      (r.ok ? done : refused) += 1;
      std::string_view text = line->text();
      ASSERT_TRUE(validUtf8(text)) << ::testing::PrintToString(std::string(text));
      ASSERT_GE(text.size(), 20u);
      ASSERT_EQ(text.substr(16, 4), "0042")
          << ::testing::PrintToString(before) << " op " << op << " column " << column << " -> "
          << ::testing::PrintToString(std::string(text));
    }
  }
  EXPECT_GT(done, 1000);  // both outcomes were met often
  EXPECT_GT(refused, 100);
}

TEST_F(CharEditUtf8, DeletesTakeWholeCharacters) {
  Line* a = add(cat({"a", kKan, "e", kAcute, "b"}));  // a 0, 漢 1-2, e+mark 3, b 4
  EditResult r = backspace(task, a, 4, true);
  EXPECT_EQ(a->text(), cat({"a", kKan, "b"})) << "Backspace over a base and its mark";
  EXPECT_EQ(r.column, 3);
  r = deleteChar(task, a, 2);
  EXPECT_EQ(a->text(), "ab") << "Delete on the second half of a wide character";
  EXPECT_EQ(r.column, 1);
  Line* w = add(cat({"x ", kKan, kJi, " y"}));
  r = deleteWord(task, w, 4);
  EXPECT_EQ(w->text(), "x y") << "DELWORD over CJK text and the blank after it";
  EXPECT_EQ(r.column, 2);
  Line* e = add(cat({kKan, "ab", kE}));
  r = deleteToEnd(task, e, 1);
  EXPECT_EQ(e->text(), "") << "DELEOL from the second half takes the whole character";
  task.profile->recfm = kRecfmFixed;
  Line* f = add(cat({kKan, "ab      "}));
  deleteChar(task, f, 0);
  EXPECT_EQ(f->text(), "ab" + std::string(9, ' ')) << "a FIXED record keeps its length in bytes";
}

TEST_F(CharEditUtf8, SplitAndJoinAtCharacters) {
  Line* a = add(cat({kE, kKan, "z"}));
  EditResult r = splitAt(task, a, 2);  // 漢's second half
  EXPECT_EQ(a->text(), kE);
  EXPECT_EQ(r.line->text(), cat({kKan, "z"}));
  r = joinNext(task, a);
  EXPECT_EQ(a->text(), cat({kE, kKan, "z"}));
  EXPECT_EQ(r.column, 1) << "the cursor at the column where the joined text begins";
}

TEST_F(CharEditUtf8, CapsWrapAndText) {
  task.capsOn = true;
  Line* a = add("x");
  typeChar(task, a, 1, U'é', true);
  EXPECT_EQ(a->text(), "X\xC3\x89") << "caps upper-cases beyond ASCII";
  task.capsOn = false;
  task.wrapColumn = 4;
  Line* w = add(cat({"ab ", kKan}));  // 漢 in columns 3-4
  EditResult r = typeChar(task, w, 5, U'字', true);
  EXPECT_EQ(w->text(), "ab ");
  EXPECT_EQ(r.line->text(), cat({kKan, kJi}));
  EXPECT_EQ(r.column, 4);
  Line* d = add("");
  r = typeText(task, d, 0, cat({kKan, "\xFF", "q"}), true);
  EXPECT_EQ(d->text(), cat({kKan, "\xFF", "q"})) << "DATA text keeps its bytes, even those that are not UTF-8";
  EXPECT_EQ(r.column, 4);
}

// With the hex view shown a byte is a column, but what is typed is UTF-8.
TEST_F(CharEditUtf8, HexViewCountsBytesAndTypesUtf8) {
  insertHexLinesAfter(task, task.lines.first);
  Line* a = add(cat({kKan, "b"}));
  insertHexLinesAfter(task, a);
  ASSERT_TRUE(hexViewShown(task));
  EXPECT_TRUE(utf8File(task));
  EXPECT_FALSE(utf8Task(task));
  EditResult r = typeChar(task, a, 3, U'é', true);
  EXPECT_EQ(a->text(), cat({kKan, kE, "b"}));
  EXPECT_EQ(r.column, 5);
  deleteChar(task, a, 0);
  EXPECT_EQ(a->text(), cat({"\xBC\xA2", kE, "b"})) << "a byte at a time";
}

TEST_F(CharEditUtf8, ASingleByteTaskRefusesWhatItsSetLacks) {
  task.profile->charset = Charset::AsciiIso8859;
  Line* a = add("ab");
  EXPECT_FALSE(typeChar(task, a, 0, U'漢', true).ok);
  EXPECT_NE(t.lastMessage().text.find("U+6F22"), std::string::npos);
  EXPECT_TRUE(typeChar(task, a, 0, U'é', true).ok);
  EXPECT_EQ(a->text(), "\xE9" "ab") << "Latin-1 as before";
}

TEST(Utf8Case, LettersBeyondAsciiAndTheirLength) {
  EXPECT_EQ(utf8Case("\xC3\xA9t\xC3\xA9 \xD0\xB4", true, false), "\xC3\x89T\xC3\x89 \xD0\x94");
  EXPECT_EQ(utf8Case("\xC3\x89T\xFF", false, false), "\xC3\xA9t\xFF") << "a byte that is not UTF-8 stays";
  // U+0131 (two bytes) upper-cases to 'I' (one byte): kept with sameLength.
  EXPECT_EQ(utf8Case("\xC4\xB1", true, false), "I");
  EXPECT_EQ(utf8Case("\xC4\xB1", true, true), "\xC4\xB1");
  EXPECT_TRUE(wordCharacter(U'漢'));
  EXPECT_TRUE(wordCharacter(U'\u0301'));
  EXPECT_FALSE(wordCharacter(U'\u3001'));  // ideographic comma
  EXPECT_FALSE(wordCharacter(U'-'));
}

}  // namespace
}  // namespace kiv
