// The clipboard's text as a copy leaves it, and a stream pasted at the
// cursor, over the session's platform clipboard.
#include <gtest/gtest.h>

#include <string>

#include "core/line.h"
#include "core/line_ops.h"
#include "core/task.h"
#include "screen_fixture.h"

namespace kiv::test {
namespace {

std::string allText(Task& task) {
  std::string out;
  for (Line* p = task.lines.first; p; p = p->next)
    if (p->is(LineKind::Text)) out += std::string(p->text()) + "|";
  return out;
}

TEST(Clipboard, StreamCopyFormatAndStreamPasteAtTheCursor) {
  ScreenTest t(8, 40);
  Task* task = t.open("c.txt", "abcdefgh\n12345678\nxyz\n");
  t.command("select stream 1 5 2 3");
  t.command("copy");
  EXPECT_EQ(t.platform().clipboard(), "efgh\r\n123") << "no line end after a last line taken in part";
  t.command("select rectangle 1 2 3 3");
  t.command("copy");
  EXPECT_EQ(t.platform().clipboard(), "bc\r\n23\r\nyz\r\n");
  t.command("colscopy");
  EXPECT_EQ(t.platform().clipboard(), "bc\r\n23\r\nyz\r\n") << "one clipboard line per line";

  t.command("reset selection");
  t.platform().setClipboard("QQ\r\nRR");
  EditPanel& p = t.panel();
  setCursor(p, p.firstDataRow + 3, p.prefixWidth() + 2);  // line 3, column 2
  t.session().executeCommand("PASTE");
  EXPECT_EQ(allText(*task), "abcdefgh|12345678|xQQ|RRyz|");
  t.platform().setClipboard("L1\r\nL2\r\n");
  setCursor(p, p.firstDataRow + 1, p.prefixWidth() + 1);
  t.session().executeCommand("PASTE");
  EXPECT_EQ(allText(*task), "L1|L2|abcdefgh|12345678|xQQ|RRyz|") << "lines go above the cursor line";
  t.command("paste stream");
  EXPECT_EQ(t.lastMessage().id, "SELECT145") << "the cursor is on the command line";

  t.command("select stream 3 2 4 1");  // "bcdefgh" and "1" of the next line
  setCursor(p, p.firstDataRow + 3, p.prefixWidth() + 4);
  t.type("Z");
  EXPECT_EQ(allText(*task), "L1|L2|aZ2345678|xQQ|RRyz|") << "typing replaces the selection it stands in";
  EXPECT_FALSE(task->selection.active());
}

// Shift and the arrows stretch a stream selection from where they began; a
// waiting line command refuses it.
TEST(Clipboard, ShiftArrowsSelectAStream) {
  ScreenTest t(8, 40);
  Task* task = t.open("k.txt", "abcdefgh\n12345678\n");
  EditPanel& p = t.panel();
  setCursor(p, p.firstDataRow + 1, p.prefixWidth() + 3);  // on "c"
  platform::KeyEvent right{platform::Key::Right, 0, true, false, false};
  platform::KeyEvent down{platform::Key::Down, 0, true, false, false};
  t.press(right);
  t.press(right);
  t.command("copy");
  EXPECT_EQ(t.platform().clipboard(), "cd");
  setCursor(p, p.firstDataRow + 1, p.prefixWidth() + 3);
  t.command("reset selection");
  setCursor(p, p.firstDataRow + 1, p.prefixWidth() + 3);
  t.press(down);
  t.press(right);
  ASSERT_TRUE(task->selection.active());
  EXPECT_EQ(task->selection.startCol, 3);
  EXPECT_EQ(task->selection.endCol, 3) << "to the character before the cursor on the second line";
  setLineCommand(*task, task->lines.first->next, "d");
  t.press(right);
  EXPECT_EQ(t.lastMessage().text, "Selection is not allowed when unprocessed line commands are present.");
}

platform::KeyEvent arrow(platform::Key key, bool shift, bool ctrl, bool alt) {
  return {key, 0, shift, ctrl, alt};
}

// Shift+Alt with the arrows, and in ArrowKeyMode KIV Ctrl+Shift, stretch a
// rectangle from the anchor through the cursor's cell, its columns in
// either order; going from rectangle keys to stream keys and back keeps the
// anchor.
TEST(Clipboard, ShiftAltAndCtrlShiftArrowsSelectARectangle) {
  using platform::Key;
  ScreenTest t(8, 40);
  Task* task = t.open("r.txt", "abcdefgh\n12345678\nxyzXYZxy\n");
  EditPanel& p = t.panel();
  auto copied = [&] {
    t.session().executeCommand("COPY");
    return t.platform().clipboard();
  };
  setCursor(p, p.firstDataRow + 1, p.prefixWidth() + 4);  // line 1, on "d"
  t.press(arrow(Key::Down, true, false, true));
  t.press(arrow(Key::Left, true, false, true));
  t.press(arrow(Key::Left, true, false, true));
  ASSERT_EQ(task->selection.mode, SelectionMode::Rectangle);
  EXPECT_EQ(task->selection.startCol, 2);
  EXPECT_EQ(task->selection.endCol, 4) << "the anchor's column is the rectangle's right edge";
  EXPECT_EQ(copied(), "bcd\r\n234\r\n");
  t.press(arrow(Key::Down, true, true, false));
  EXPECT_EQ(copied(), "bcd\r\n234\r\nyzX\r\n") << "Ctrl+Shift stretches the same rectangle";
  t.press(arrow(Key::Right, true, false, false));
  EXPECT_EQ(task->selection.mode, SelectionMode::Stream);
  EXPECT_EQ(copied(), "defgh\r\n12345678\r\nxy") << "the stream keeps the rectangle's anchor";
  t.press(arrow(Key::Up, true, false, true));
  EXPECT_EQ(copied(), "cd\r\n34\r\n") << "and the rectangle the stream's";

  t.press(arrow(Key::Right, false, true, false));
  EXPECT_EQ(t.lastMessage().id, "DLM92") << "Ctrl without Shift keeps its message";
  setLineCommand(*task, task->lines.first->next, "d");
  t.press(arrow(Key::Right, true, true, false));
  EXPECT_EQ(t.lastMessage().text, "Selection is not allowed when unprocessed line commands are present.");
}

// In ArrowKeyMode WINDOWS Ctrl+Shift is no rectangle key: Up and Down keep
// their messages, Left and Right move; Shift+Alt still selects.
TEST(Clipboard, CtrlShiftArrowsInWindowsModeSelectNothing) {
  using platform::Key;
  ScreenTest t(8, 40);
  Task* task = t.open("w.txt", "abcdefgh\n12345678\n");
  varSet(t.session(), "ZEDIT.ARROWKEYMODE", "WINDOWS");
  EditPanel& p = t.panel();
  setCursor(p, p.firstDataRow + 1, p.prefixWidth() + 2);
  t.press(arrow(Key::Down, true, true, false));
  EXPECT_EQ(t.lastMessage().id, "DLM60");
  t.press(arrow(Key::Right, true, true, false));
  EXPECT_FALSE(task->selection.active());
  EXPECT_EQ(p.cursorCol, p.prefixWidth() + 3);
  t.press(arrow(Key::Down, true, false, true));
  ASSERT_TRUE(task->selection.active());
  EXPECT_EQ(task->selection.mode, SelectionMode::Rectangle);
  EXPECT_EQ(task->selection.startCol, 3);
  EXPECT_EQ(task->selection.endCol, 3);
}

// A press and a drag with the left button select a stream through the cell
// under the mouse; with Ctrl, the rectangle between the two cells.
TEST(Clipboard, MouseDragsSelect) {
  ScreenTest t(8, 40);
  Task* task = t.open("m.txt", "abcdefgh\n12345678\n");
  EditPanel& p = t.panel();
  int row = p.firstDataRow;  // the 0-based screen row of the first line
  int col = p.prefixWidth() + 1;  // 0-based cell of data column 2
  handleEvent(t.session(), platform::MouseEvent{row, col, platform::MouseButton::Left});
  handleEvent(t.session(), platform::MouseEvent{row + 1, col + 2, platform::MouseButton::Left, false, true});
  t.draw();
  EXPECT_SCREEN(t.platform(), R"(
 COMMAND ===>                       <-  |
******* Top of Data                  █  |
000001 a{Z:bcdefgh                     } │  |
000002 {Z:123^}5678                      │  |
******* Bottom of Data               │  |
                                     │  |
                                     │  |
 Cols 01 29  Line 2  Col 4  Bounds 1... |
)");
  t.command("copy");
  EXPECT_EQ(t.platform().clipboard(), "bcdefgh\r\n1234");
  handleEvent(t.session(), platform::MouseEvent{row, col, platform::MouseButton::Left});
  handleEvent(t.session(), platform::MouseEvent{row + 1, col + 2, platform::MouseButton::Left, false, true, true});
  ASSERT_EQ(task->selection.mode, SelectionMode::Rectangle);
  t.command("copy");
  EXPECT_EQ(t.platform().clipboard(), "bcd\r\n234\r\n");
}

}  // namespace
}  // namespace kiv::test
