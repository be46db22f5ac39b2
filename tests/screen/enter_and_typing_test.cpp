// The Enter action, typing into the data rows, scrolling by command and by
// key, and the messages shown, as a user meets them.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "commands/command_state.h"
#include "commands/program_command_line.h"
#include "core/file_profile.h"
#include "core/line.h"
#include "core/line_ops.h"
#include "screen/cursor_moves.h"
#include "screen/scroll.h"
#include "screen_fixture.h"
#include "services/messages.h"

namespace kiv::test {
namespace {

using platform::Key;

// The command field taken, recorded and kept with "&", the line commands run
// before or after the command by its verb (alone for PASTE on a data row)
// and CANCEL at once are the cases screen/an-ampersand-*, screen/retrieve-*,
// executor/line-commands-run-before-* and executor/cancel-runs-at-once-*;
// here where the cursor goes.
TEST(EnterAction, EmptyEnterMovesTheCursorOn) {
  ScreenTest t;
  t.open("b.txt", numberedLines(30));
  EditPanel& p = t.panel();
  t.command("");
  EXPECT_EQ(p.cursorRow, p.firstDataRow);  // from the command row to the first data row
  setCursor(p, p.firstDataRow + p.dataRows - 1, 20);
  t.press({Key::Enter});  // on the last data row: the data moves up by one
  EXPECT_EQ(p.cursorRow, p.firstDataRow + p.dataRows - 1);
  EXPECT_EQ(p.cursorCol, 1);
  EXPECT_EQ(std::string(p.lineAtRow(p.firstDataRow)->text()), "line 1");
}

TEST(DataTyping, OvertypesDataAndPrefixAndRefusesWhatCannotChange) {
  ScreenTest t;
  Task* task = t.open("a.txt", "abc\n");
  EditPanel& p = t.panel();
  Line* line = p.lineAtRow(p.firstDataRow + 1);
  setCursor(p, p.firstDataRow + 1, p.prefixWidth() + 2);
  t.draw();
  handleEvent(t.session(), platform::KeyEvent{Key::Char, U'X'});
  for (int r = 1; r <= p.rows; ++r) EXPECT_EQ(p.dirty(r), r == p.firstDataRow + 1) << "row " << r;
  t.draw();
  setCursor(p, p.firstDataRow + 1, p.prefixWidth() + 6);
  t.type("Z");
  EXPECT_EQ(line->text(), "aXc  Z");
  EXPECT_TRUE(task->modified);
  setCursor(p, p.firstDataRow + 1, 1);
  t.type("dd");
  EXPECT_EQ(line->lineCommand(), "dd       ");
  EXPECT_NE(p.informationLine().find("LcmdPending"), std::string::npos);
  setCursor(p, p.firstDataRow, p.prefixWidth() + 2);  // the top-of-data row
  t.type("q");
  EXPECT_EQ(t.lastMessage().text, "PROTECTED");
  t.open("b.txt", "abc\n", TaskMode::Browse);
  setCursor(t.panel(), t.panel().firstDataRow + 1, 2);
  t.type("q");
  EXPECT_EQ(t.lastMessage().text, "In BROWSE, no modify allowed");
  EXPECT_EQ(t.lastMessage().id, "CHAR10");
}

TEST(EnterAction, EnterMovesOnWhenNoLineCommandWasCarriedOut) {
  ScreenTest t;
  Task* task = t.open("a.txt", numberedLines(30));
  setLineCommand(*task, task->lines.first->next, "C");  // a copy awaiting its destination
  EditPanel& p = t.panel();
  setCursor(p, p.firstDataRow + 3, 12);
  t.press({Key::Enter});
  EXPECT_EQ(p.cursorRow, p.firstDataRow + 4);
  EXPECT_EQ(p.cursorCol, 1);
}

TEST(Keys, AltKeysByNameAndWhatARebuildKeeps) {
  ScreenTest t;
  t.open("a.txt", numberedLines(30));
  varSet(t.session(), "ZALT.COMMA", "DOWN 3");
  t.press({.key = Key::Char, .ch = U',', .alt = true});
  EXPECT_EQ(std::string(t.panel().lineAtRow(t.panel().firstDataRow)->text()), "line 3");
  t.press({.key = Key::Char, .ch = U'\u00e9', .alt = true});  // no variable names it
  EXPECT_EQ(
      t.lastMessage().text,
      "ALT+\u00e9  has no mapping value.\n\nInvoke OPTIONS, item KEYS, to assign a mapping value.");
  t.press({.key = Key::Char, .ch = U'q', .shift = true, .ctrl = true});
  EXPECT_EQ(t.lastMessage().id, "DLM96");
  EXPECT_TRUE(t.lastMessage().text.starts_with("CTRLSHIFT+Q  has no mapping value."));

  t.session().messageActions.push_back({"ZZ2", "ShowShortMsg"});
  homeCursor(t.session());
  t.type("dow");
  message(t.session(), "ZZ2", "still here");
  t.platform().resize(14, 50);
  handleEvent(t.session(), t.platform().nextEvent());
  t.draw();
  EXPECT_EQ(commandFieldText(t.session()), "dow");  // the half-typed command survives
  EXPECT_NE(t.screen().find("ZZ2: still here"), std::string::npos) << t.screen();
}

TEST(DataTyping, TinyAndHugeTerminalsAndResizing) {
  ScreenTest t(1, 1);
  t.open("a.txt", numberedLines(5));
  t.type("x");
  t.press({Key::F8});
  EXPECT_EQ(t.panel().dataRows, 0);
  EXPECT_EQ(t.panel().rows, 1);
  t.platform().resize(300, 500);
  t.press({Key::Down});
  handleEvent(t.session(), t.platform().nextEvent());  // the resize
  t.draw();
  EXPECT_EQ(t.platform().screen().rows(), 200);
  EXPECT_EQ(t.platform().screen().cols(), 399);
  EXPECT_EQ(t.panel().dataRows, 198);
}

// Short messages reach the message row and stay there until the next key,
// whichever way the command came and wherever the row stands.
TEST(MessagesShown, ShortMessagesStayOnTheMessageRowUntilTheNextKey) {
  for (const char* row : {"2 Above PF Keys", "1 Below Primary Command"}) {
    ScreenTest t(8, 60);
    varSet(t.session(), "ZMSGROW", row);
    varSet(t.session(), "ZCTRL.S.MAP", "SAVE");
    t.session().messageActions.push_back({"FILE91", "ShowShortMsg"});
    t.open("a.txt", "one\n");
    const std::string shown = "FILE91: File not modified, SAVE command ignored.";
    t.command("save");
    EXPECT_NE(t.screen().find(shown), std::string::npos) << row << "\n" << t.screen();
    t.press({.key = Key::Char, .ch = U'x'});  // the next key takes it away
    EXPECT_EQ(t.screen().find(shown), std::string::npos) << row << "\n" << t.screen();
    t.press({.key = Key::Char, .ch = U's', .ctrl = true});
    EXPECT_NE(t.screen().find(shown), std::string::npos) << row << "\n" << t.screen();
  }
}

TEST(MessagesShown, TheViewNoticeOfTheCommandLineShowsOnTheFirstScreen) {
  ScreenTest t(8, 70);
  t.session().messageActions.push_back({"VIEW05", "ShowShortMsg"});
  std::string path = t.file("a.txt", "one\n");
  ASSERT_EQ(processCommandLine(t.session(), {"/V", path}), 0);
  t.draw();
  EXPECT_NE(t.screen().find("VIEW05: In VIEW mode, if you modify this file"), std::string::npos)
      << t.screen();

  // A message of the load itself, given before the task has a panel.
  t.session().messageActions.push_back({"FILE30", "ShowShortMsg"});
  t.press({.key = Key::Char, .ch = U'x'});
  ASSERT_EQ(processCommandLine(t.session(), {t.file("m.txt", "a\r\nb\n")}), 0);
  t.draw();
  EXPECT_NE(t.screen().find("FILE30: File: "), std::string::npos) << t.screen();
}

TEST(IdleScreen, EditFromTheIdleScreenThenEndReturnsToIt) {
  ScreenTest t(8, 70);
  std::string path = t.file("a.txt", "one\n");
  t.draw();
  t.type("e " + path);
  t.press({Key::Enter});
  ASSERT_EQ(t.session().tasks.size(), 1u) << t.screen();
  t.type("end");
  EXPECT_EQ(commandFieldText(t.session()), "end") << t.screen();
  t.press({Key::Enter});
  EXPECT_TRUE(t.session().tasks.empty()) << t.screen();
}

// The text of the line on the first data row.
std::string topText(ScreenTest& t) {
  Line* l = t.panel().lineAtRow(t.panel().firstDataRow);
  return l ? std::string(l->text()) : "<none>";
}

// Amounts by number and word, the default mode, the top and the bottom, and
// a page under the ruler are the cases of tests/cases/screen (scroll-*).
TEST(Scroll, CursorAmountMovesTheCursorLineToTheTopOrBottom) {
  ScreenTest t(12, 40);
  t.open("a.txt", numberedLines(50));
  EditPanel& p = t.panel();
  varSet(t.session(), "ZEDIT.SCROLL.V.MODE", "CSR");
  setCursor(p, p.firstDataRow + 4, 10);  // on "line 4"
  t.press({platform::Key::F8});
  EXPECT_EQ(topText(t), "line 4");
  EXPECT_EQ(p.cursorRow, p.firstDataRow + 4);  // the cursor keeps its place on the screen
  t.command("down 16");
  setCursor(p, p.firstDataRow + 2, 10);  // on "line 22"
  t.press({platform::Key::F7});
  EXPECT_EQ(p.lineAtRow(p.firstDataRow + p.dataRows - 1)->text(), "line 22");
  homeCursor(t.session());
  t.press({platform::Key::F7});  // the cursor outside the data: a page, from line 13
  EXPECT_EQ(topText(t), "line 3");
}

// RIGHT and LEFT by page, number and MAX: the cases screen/right-* and
// screen/left-*; here the arrow keys at the edges.
TEST(Scroll, ArrowKeysAtTheEdges) {
  ScreenTest t(12, 40);  // 29 data columns
  t.open("a.txt", std::string(200, 'x') + "\n" + numberedLines(30));
  EditPanel& p = t.panel();
  setCursor(p, p.firstDataRow + p.dataRows - 1, p.prefixWidth() + 1);
  t.press({platform::Key::Down});  // at the bottom row: the data moves, not the cursor
  EXPECT_EQ(topText(t), std::string(200, 'x'));
  EXPECT_EQ(p.cursorRow, p.firstDataRow + p.dataRows - 1);
  t.press({platform::Key::Left});  // at the first data column with nothing to the left
  EXPECT_EQ(p.cursorCol, p.prefixWidth());
}

TEST(Scroll, BottomOfAFileStillLoadingShowsItsLastLines) {
  ScreenTest t(12, 40);
  varSet(t.session(), "ZEDIT.VIRTUALLOAD", "TRUE");
  t.open("big.txt", numberedLines(5000));
  t.command("bottom");
  EXPECT_EQ(t.panel().lineAtRow(t.panel().firstDataRow + 8)->text(), "line 5000");
  EXPECT_NE(t.panel().informationLine().find("Line -"), std::string::npos);
  setCursor(t.panel(), t.panel().firstDataRow, 12);  // the prefix area is 7 cells
  t.draw();
  EXPECT_NE(t.panel().informationLine().find("Line 4992  Col 5"), std::string::npos)
      << t.panel().informationLine();
}

TEST(Scroll, CtrlArrowsFollowTheArrowKeyMode) {
  ScreenTest t(12, 40);
  t.open("a.txt", numberedLines(50));
  t.press({.key = platform::Key::Up, .ctrl = true});
  EXPECT_EQ(t.lastMessage().text, "CTRL+UpArrow has no meaning in ArrowKeyMode=KIV.");
  EXPECT_EQ(t.lastMessage().id, "DLM45");
  varSet(t.session(), "ZEDIT.ARROWKEYMODE", "WINDOWS");
  t.press({.key = platform::Key::Down, .shift = true, .ctrl = true});
  EXPECT_EQ(t.lastMessage().text, "CTRL+Shift+DownArrow has no meaning in ArrowKeyMode=WINDOWS.");
  t.press({.key = platform::Key::Down, .ctrl = true});
  EXPECT_EQ(topText(t), "line 1");
}

}  // namespace
}  // namespace kiv::test

namespace kiv::test {
namespace {

// Insert mode (the Insert key) puts typed characters in; typing on two lines
// is one step, which UNDO takes back with the cursor where typing began;
// REDO does it again. DATA and WORDWRAP act at the cursor.
TEST(DataTyping, InsertModeUndoRedoAndCommandsAtTheCursor) {
  ScreenTest t(8, 40);
  Task* task = t.open("i.txt", "abc\ndef\n");
  EditPanel& p = t.panel();
  Line* a = task->lines.first->next;
  t.press({Key::Insert});
  setCursor(p, p.firstDataRow + 1, p.prefixWidth() + 2);
  t.type("XY");
  setCursor(p, p.firstDataRow + 2, p.prefixWidth() + 1);
  t.press({Key::Delete});
  EXPECT_EQ(a->text(), "aXYbc");
  EXPECT_EQ(a->next->text(), "ef");
  t.press({Key::Enter});
  t.command("undo");
  EXPECT_EQ(a->text(), "abc");
  EXPECT_EQ(a->next->text(), "def");
  EXPECT_EQ(p.cursorRow, p.firstDataRow + 1) << "back on the line typing began on";
  EXPECT_EQ(p.cursorCol, p.prefixWidth() + 2);
  t.command("redo");
  EXPECT_EQ(a->text(), "aXYbc");

  setCursor(p, p.firstDataRow + 2, p.prefixWidth() + 3);
  t.session().executeCommand("DATA 123");  // as a key mapped to it would run it
  EXPECT_EQ(a->next->text(), "ef123");
  t.command("wordwrap 6");
  setCursor(p, p.firstDataRow + 1, p.prefixWidth() + 6);
  t.type(" zz");
  EXPECT_EQ(a->text(), "aXYbc ");
  EXPECT_EQ(a->next->text(), "zz");
  EXPECT_EQ(p.lineAtRow(p.cursorRow), a->next);

  task->profile->tabStops[0] = 10;  // Tab in the data goes to the next stop, then on to the fields
  task->profile->tabStopCount = 1;
  setCursor(p, p.firstDataRow + 1, p.prefixWidth() + 2);
  t.press({Key::Tab});
  EXPECT_EQ(p.cursorCol, p.prefixWidth() + 10);
  t.press({Key::Tab});
  EXPECT_EQ(p.cursorRow, p.firstDataRow + 2) << "past the last stop: the next field";
}

}  // namespace
}  // namespace kiv::test
