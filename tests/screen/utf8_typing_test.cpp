// Keys and commands in a UTF-8 file: characters typed onto the command row
// go in as UTF-8 (a FIND typed with them finds their bytes), and the
// clipboard and the selection commands keep the bytes and work in the
// columns the user sees. Typing into the data: tests/e2e/utf8_typing_e2e.sh.
#include <gtest/gtest.h>

#include <string>

#include "core/file_load_fixture.h"
#include "core/line.h"
#include "core/task.h"
#include "platform/utf8.h"
#include "screen/cursor_moves.h"
#include "screen/screen_state.h"
#include "screen_fixture.h"

namespace kiv::test {
namespace {

class Utf8Keys : public ::testing::Test {
 protected:
  // The files of extension "u" are UTF-8; "l" Latin-1.
  Utf8Keys() : t(8, 50) {
    t.file("options/kivfileprof.u.txt", std::string(kPlainProfile) + "CharsetFile=UTF-8\n");
    t.file("options/kivfileprof.l.txt", std::string(kPlainProfile));
  }
  void typeUtf8(std::string_view text) {
    for (char32_t c : platform::decodeText(text)) t.press({platform::Key::Char, c});
  }
  void key(platform::Key k) { t.press({k}); }
  // The cursor to a data row's 0-based data column.
  void at(int row, int column) {
    EditPanel& p = t.panel();
    setCursor(p, p.firstDataRow + row, p.prefixWidth() + column + 1);
  }
  std::string lineText(int n) { return std::string(textLineAt(*task, n - 1)->text()); }
  // Types a command on the command row, key by key, and presses Enter.
  void typedCommand(std::string_view text) {
    homeCursor(t.session());
    typeUtf8(text);
    key(platform::Key::Enter);
  }

  ScreenTest t;
  Task* task = nullptr;
};

TEST_F(Utf8Keys, CursorMoveEolCountsColumns) {
  task = t.open("m.u", "a\xC3\xA9\xE6\xBC\xA2z  \n");  // a é 漢漢 z: five columns, eight bytes
  at(1, 0);
  t.session().executeCommand("CURSORMOVE EOL");
  EXPECT_EQ(t.panel().cursorCol, t.panel().prefixWidth() + 6);
}

TEST_F(Utf8Keys, TheCommandRowTakesUtf8) {
  task = t.open("f.u", "one\nkanji \xE6\xBC\xA2\xE5\xAD\x97 here\n");
  typedCommand("find \xE6\xBC\xA2\xE5\xAD\x97");
  EXPECT_NE(t.lastMessage().id, "FIND50") << t.lastMessage().text;
  EditPanel& p = t.panel();
  EXPECT_EQ(p.lineAtRow(p.cursorRow), textLineAt(*task, 1)) << "the cursor on the found line";
  EXPECT_EQ(p.cursorCol, p.prefixWidth() + 7);
}

TEST_F(Utf8Keys, WideCharactersTakeTwoCellsOnTheCommandRow) {
  task = t.open("f.u", "one\n");
  homeCursor(t.session());
  int start = t.panel().cursorCol;
  typeUtf8("ab\xE6\xBC\xA2\xE5\xAD\x97" "c");  // a b 漢 字 c: seven cells
  EXPECT_EQ(t.panel().cursorCol, start + 7);
  std::string firstRow = t.screen().substr(0, t.screen().find('\n'));
  EXPECT_NE(firstRow.find("ab\xE6\xBC\xA2\xE5\xAD\x97" "c"), std::string::npos) << firstRow;
  // Backspace from c's cell takes c, then 字 whole (two cells back).
  key(platform::Key::Left);
  key(platform::Key::Backspace);
  EXPECT_EQ(commandFieldText(t.session()), "ab\xE6\xBC\xA2" "c");
  EXPECT_EQ(t.panel().cursorCol, start + 4);
  // Typing over 漢's tail overtypes 漢 whole, and the line keeps its cells.
  key(platform::Key::Left);
  typeUtf8("x");
  EXPECT_EQ(commandFieldText(t.session()), "abx c");
}

TEST_F(Utf8Keys, ASingleByteFileTakesLatin1FromTheCommandRow) {
  task = t.open("f.l", "abc\ncaf\xE9\n");
  typedCommand("find caf\xC3\xA9");  // typed é reaches the command as Latin-1
  EditPanel& p = t.panel();
  EXPECT_EQ(p.lineAtRow(p.cursorRow), textLineAt(*task, 1));
  EXPECT_NE(t.lastMessage().id, "FIND50") << t.lastMessage().text;
  homeCursor(t.session());
  typeUtf8("\xE6\xBC\xA2");
  EXPECT_NE(t.lastMessage().text.find("U+6F22"), std::string::npos) << "not in the file's set";
}

TEST_F(Utf8Keys, CopyAndPasteKeepTheBytes) {
  std::string mixed = "a\xC3\xA9\xE6\xBC\xA2z";  // a é 漢漢 z: columns 1-5
  task = t.open("c.u", mixed + "\nxy\n");
  t.command("select stream 1 2 1 4");  // é and 漢
  t.command("copy");
  EXPECT_EQ(t.platform().clipboard(), "\xC3\xA9\xE6\xBC\xA2");
  t.command("select stream 1 4 2 1");  // from 漢's second half: 漢 begins before it
  t.command("copy");
  EXPECT_EQ(t.platform().clipboard(), "z\r\nx");
  t.command("reset selection");
  t.platform().setClipboard("\xE5\xAD\x97" "b\r\n\xC3\xA9");
  at(2, 1);
  t.session().executeCommand("PASTE");
  EXPECT_EQ(lineText(2), "x\xE5\xAD\x97" "b");
  EXPECT_EQ(lineText(3), "\xC3\xA9y");
  t.command("select rectangle 1 3 1 4");
  t.command("cut");
  EXPECT_EQ(lineText(1), "a\xC3\xA9z") << "the rectangle's columns close up, in bytes";
  EXPECT_EQ(t.platform().clipboard(), "\xE6\xBC\xA2\r\n");

  task->profile->maxRecLen = 4;
  t.command("reset selection");
  t.platform().setClipboard("\xE6\xBC\xA2\xE5\xAD\x97\r\n");  // six bytes
  at(1, 0);
  t.session().executeCommand("PASTE");
  EXPECT_EQ(lineText(1), "\xE6\xBC\xA2") << "folded before the character MaxRecLen would cut";
  EXPECT_EQ(lineText(2), "\xE5\xAD\x97");
}

TEST_F(Utf8Keys, SelectionCommandsInColumns) {
  task = t.open("s.u", "x \xC3\xA9t\xC3\xA9_\xE6\xBC\xA2 y\n\xC4\xB1\xC4\xB1\n");
  at(1, 3);  // on "t"
  t.session().executeCommand("SELECT WORD");
  t.command("stoupper");
  EXPECT_EQ(lineText(1), "x \xC3\x89T\xC3\x89_\xE6\xBC\xA2 y") << "the word runs over é, _ and 漢";
  at(1, 2);
  t.session().executeCommand("SELECT EOL");
  t.command("stolower");
  EXPECT_EQ(lineText(1), "x \xC3\xA9t\xC3\xA9_\xE6\xBC\xA2 y");
  task->profile->recfm = kRecfmFixed;
  t.command("select stream 2 1 2 2");
  t.command("stoupper");
  EXPECT_EQ(lineText(2), "\xC4\xB1\xC4\xB1") << "'I' is shorter than U+0131: a FIXED line keeps it";
  EXPECT_NE(t.lastMessage().text.find("1 line(s) left"), std::string::npos) << t.lastMessage().text;
}

}  // namespace
}  // namespace kiv::test
