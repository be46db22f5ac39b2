// Scrolling an edit task by command and by key, as a user reads the screen.
#include "screen/scroll.h"

#include <gtest/gtest.h>

#include "core/line.h"
#include "screen/cursor_moves.h"
#include "screen_fixture.h"

namespace kiv::test {
namespace {

// The text of the line on the first data row.
std::string topText(ScreenTest& t) {
  Line* l = t.panel().lineAtRow(t.panel().firstDataRow);
  return l ? std::string(l->text()) : "<none>";
}

TEST(Scroll, AmountsByNumberWordAndDefaultMode) {
  ScreenTest t(12, 40);  // ten data rows
  t.open("a.txt", numberedLines(100));
  t.command("down");
  EXPECT_EQ(topText(t), "line 10");  // a page: TOF was on the first row
  t.command("down half");
  EXPECT_EQ(topText(t), "line 15");
  t.command("down d");
  EXPECT_EQ(topText(t), "line 24");
  t.command("up 20");
  EXPECT_EQ(topText(t), "line 4");
  t.command("up 5");
  EXPECT_EQ(topText(t), "*** Top of File ***");
  varSet(t.session(), "ZEDIT.SCROLL.V.MODE", "HALF");
  t.press({platform::Key::F8});
  EXPECT_EQ(topText(t), "line 5");
  t.command("down max");
  EXPECT_EQ(t.panel().lineAtRow(t.panel().firstDataRow + 9)->kind(), LineKind::Bof);
  EXPECT_EQ(topText(t), "line 92");
  t.command("down 50");  // the bottom-of-data line goes no higher than the top row
  EXPECT_EQ(t.panel().lineAtRow(t.panel().firstDataRow)->kind(), LineKind::Bof);
  t.command("top");
  EXPECT_EQ(topText(t), "*** Top of File ***");
  t.command("down sideways");
  EXPECT_EQ(t.lastMessage().text,
            "DOWN: scroll amount must be a number, PAGE, HALF, CSR, DATA or MAX:\n\nsideways");
}

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

TEST(Scroll, ColumnsWithinTheRecordAndArrowKeysAtTheEdges) {
  ScreenTest t(12, 40);  // 29 data columns
  t.open("a.txt", std::string(200, 'x') + "\n" + numberedLines(30));
  EditPanel& p = t.panel();
  int max = maxDisplayOffset(p);
  t.command("right");
  EXPECT_EQ(p.task.displayOffset, 29);
  t.command("right max");
  EXPECT_EQ(p.task.displayOffset, max);
  t.command("right 5");
  EXPECT_EQ(p.task.displayOffset, max);
  t.command("left 1000");
  EXPECT_EQ(p.task.displayOffset, max - 1000);
  t.command("left max");
  EXPECT_EQ(p.task.displayOffset, 0);
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

TEST(Scroll, WithTheRulerAPageIsTheRowsThatShowLines) {
  ScreenTest t(12, 40);  // ten data rows, the first of them the ruler
  t.open("a.txt", numberedLines(50));
  t.command("ruler on");
  EditPanel& p = t.panel();
  ASSERT_TRUE(p.rulerShown());
  EXPECT_EQ(p.lineAtRow(p.firstDataRow), nullptr);
  t.command("down");
  EXPECT_EQ(std::string(p.lineAtRow(p.firstDataRow + 1)->text()),
            "line 9");  // TOF and 1..8 were shown
  t.command("bottom");
  EXPECT_EQ(p.lineAtRow(p.firstDataRow + p.dataRows - 1)->kind(), LineKind::Bof);
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
