// Line commands typed into the prefix area and run by Enter, as a user does.
#include <gtest/gtest.h>

#include "core/line.h"
#include "screen_fixture.h"

namespace kiv::test {
namespace {

// Types `text` into the prefix field of data row `row` (0: the first line).
void typePrefix(ScreenTest& t, int row, std::string_view text) {
  setCursor(t.panel(), t.panel().firstDataRow + 1 + row, 1);
  t.type(text);
}

TEST(LineCommandScreen, ABlockWaitsForItsDestinationInItsFieldThenCopies) {
  ScreenTest t(9, 30);
  t.open("c.txt", "one\ntwo\nthree\nfour\n");
  typePrefix(t, 1, "cc");
  typePrefix(t, 2, "cc");
  t.press({platform::Key::Enter});
  EXPECT_SCREEN(t.platform(), R"(
 COMMAND ===>             <-  |
******* Top of Data        █  |
000001 one                 │  |
{C:CC    } two                 │  |
{C:CC    } three               │  |
^00004 four                │  |
******* Bottom of Data     │  |
                           │  |
 Cols 01 19  Line 4  Col -... |
)");
  typePrefix(t, 3, "a");
  t.press({platform::Key::Enter});
  EXPECT_SCREEN(t.platform(), R"(
 COMMAND ===>             <-  |
******* Top of Data        █  |
000001 one                 │  |
000002 two                 │  |
000003 three               │  |
0^0004 four                │  |
000005 two                 │  |
000006 three               │  |
 Cols 01 19  Line 4  Col -... |
)");
}

TEST(LineCommandScreen, DeleteRunsBeforeExcludeInOneEnter) {
  ScreenTest t(9, 30);
  t.open("x.txt", "a\nb\nc\nd\ne\n");
  typePrefix(t, 0, "x2");
  typePrefix(t, 1, "d");  // X comes first in the file, but D runs first: X2 then hides a and c
  t.press({platform::Key::Enter});
  EXPECT_SCREEN(t.platform(), R"(
 COMMAND ===>             <-  |
******* Top of Data        █  |
- - - ------- 2 lines excl │  |
0^0003 d                   │  |
000004 e                   │  |
******* Bottom of Data     │  |
                           │  |
                           │  |
 Cols 01 19  Line 3  Col -... |
)");
}

// TS splits where the cursor stands in the line's data; elsewhere it is refused.
TEST(LineCommandScreen, TextSplitTakesTheCursorColumn) {
  ScreenTest t(9, 30);
  Task* task = t.open("s.txt", "hello world\n");
  typePrefix(t, 0, "ts");
  t.command("");  // the cursor on the command row: not on the line
  EXPECT_EQ(t.lastMessage().id, "TASKLINE30");
  setCursor(t.panel(), t.panel().firstDataRow + 1, t.panel().prefixWidth() + 7);
  t.press({platform::Key::Enter});
  Line* first = task->lines.first->next;
  EXPECT_EQ(first->text().substr(0, 5), "hello");
  EXPECT_EQ(first->next->text(), "world");
  EXPECT_FALSE(first->hasPendingCommand());
}

// I puts the cursor on the new line; typing there and pressing Enter opens
// another line below it.
TEST(LineCommandScreen, TypingIntoAnInsertedLineAndEnterOpensTheNext) {
  ScreenTest t(9, 30);
  Task* task = t.open("i.txt", "a\nb\n");
  typePrefix(t, 0, "i");
  t.press({platform::Key::Enter});
  EditPanel& p = t.panel();
  EXPECT_EQ(p.lineAtRow(p.cursorRow), task->lines.first->next->next);
  setCursor(p, p.cursorRow, p.prefixWidth() + 1);
  t.type("new");
  t.press({platform::Key::Enter});
  Line* typed = task->lines.first->next->next;
  EXPECT_EQ(typed->text(), "new");
  ASSERT_TRUE(typed->next->inserted());
  EXPECT_EQ(p.lineAtRow(p.cursorRow), typed->next);
  EXPECT_EQ(typed->next->next->text(), "b");
}

// S shows one more level of indentation at a time; the lines still hidden
// keep a marker for each stretch.
TEST(LineCommandScreen, ShowByIndentationLevels) {
  ScreenTest t(9, 30);
  t.open("s.txt", "a\n  b\n    c\n  d\n");
  typePrefix(t, 0, "xx");
  typePrefix(t, 3, "xx");
  t.press({platform::Key::Enter});
  typePrefix(t, 0, "s");
  t.press({platform::Key::Enter});
  typePrefix(t, 1, "s");
  t.press({platform::Key::Enter});
  EXPECT_SCREEN(t.platform(), R"(
 COMMAND ===>             <-  |
******* Top of Data        █  |
000001 a                   │  |
0^0002   b                 │  |
- - - ------- 1 lines excl │  |
000004   d                 │  |
******* Bottom of Data     │  |
                           │  |
 Cols 01 19  Line 2  Col -... |
)");
  typePrefix(t, 2, "s");
  t.press({platform::Key::Enter});
  EXPECT_EQ(t.lastMessage().id, "LCMDDISP35");
}

// In one Enter: two blocks of one kind, a keeping destination that leaves
// its source for the next, and an exclude next to a run joining it.
TEST(LineCommandScreen, BlocksOfOneKindKeepingDestinationsAndJoinedRuns) {
  ScreenTest t(12, 30);
  Task* task = t.open("k.txt", "a\nb\nc\nd\ne\nf\ng\n");
  for (int row : {0, 1, 3, 4}) typePrefix(t, row, "dd");
  t.press({platform::Key::Enter});
  auto texts = [&] {
    std::string out;
    for (Line* l = task->lines.first->next; l && l->is(LineKind::Text); l = l->next) out += l->text();
    return out;
  };
  EXPECT_EQ(texts(), "cfg");
  typePrefix(t, 0, "c");
  typePrefix(t, 1, "ak");
  typePrefix(t, 2, "a");
  t.press({platform::Key::Enter});
  EXPECT_EQ(texts(), "cfcgc");
  typePrefix(t, 3, "x2");
  t.press({platform::Key::Enter});
  typePrefix(t, 2, "x");  // just before the run: one marker for the three
  t.press({platform::Key::Enter});
  EXPECT_NE(t.screen().find("3 lines exc"), std::string::npos) << t.screen();
}

// HELP lists what waits, in its own order, in a box of its own.
TEST(LineCommandScreen, HelpListsTheCommandsWaitingForAPartner) {
  ScreenTest t(9, 30);
  t.open("h.txt", "a\nb\nc\nd\ne\n");
  typePrefix(t, 0, "cc");
  typePrefix(t, 1, "xx");
  typePrefix(t, 2, "cc");
  typePrefix(t, 4, "rr");
  t.command("help");
  ASSERT_FALSE(t.platform().boxes().empty());
  EXPECT_EQ(t.platform().boxes().back().title, "Line Command Pending");
  EXPECT_EQ(t.platform().boxes().back().text,
            "'CC' block on line 1 needs 'A' or 'B' destination to complete copy\n"
            "'RR' on line 5 needs sister 'RR' to complete block\n"
            "'XX' on line 2 needs sister 'XX' to complete block\n");
}

}  // namespace
}  // namespace kiv::test

namespace kiv::test {
namespace {

// ZZ selects whole lines (coloured to the row's end), drops the commands
// after it with a message, survives the removal of a line inside and lets go
// when an end goes; RESET SELECTION clears it.
TEST(LineCommandScreen, ZzSelectsWholeLinesAndDropsLaterCommands) {
  ScreenTest t(9, 30);
  Task* task = t.open("z.txt", "one\ntwo\nthree\nfour\nfive\n");
  typePrefix(t, 1, "zz");
  typePrefix(t, 3, "zz");
  typePrefix(t, 4, "d");
  t.press({platform::Key::Enter});
  EXPECT_EQ(t.lastMessage().text, "Line commands after active selection will be ignored.");
  EXPECT_SCREEN(t.platform(), R"(
 COMMAND ===>             <-  |
******* Top of Data        █  |
000001 one                 │  |
000002 {Z:two                } │  |
000003 {Z:three              } │  |
000004 {Z:four               } │  |
0^0005 five                │  |
******* Bottom of Data     │  |
 Cols 01 19  Line 5  Col -... |
)");
  typePrefix(t, 2, "d");  // a line inside goes; the ends hold
  t.press({platform::Key::Enter});
  EXPECT_TRUE(task->selection.active());
  typePrefix(t, 2, "d");  // the last end goes: the selection with it
  t.press({platform::Key::Enter});
  EXPECT_FALSE(task->selection.active());
  typePrefix(t, 0, "z2");
  t.press({platform::Key::Enter});
  ASSERT_TRUE(task->selection.active());
  t.command("reset selection");
  EXPECT_FALSE(task->selection.active());
  t.command("noteline a note");
  typePrefix(t, 0, "z");
  t.press({platform::Key::Enter});
  EXPECT_EQ(t.lastMessage().text, "Not allowed to select non-data line.");
}

// IN opens a NOTE line that takes typing; Enter on it once typed opens the
// next.
TEST(LineCommandScreen, InsertNoteLinesTakeTypingWhileNew) {
  ScreenTest t(9, 30);
  Task* task = t.open("n.txt", "one\n");
  typePrefix(t, 0, "in3");
  t.press({platform::Key::Enter});
  EXPECT_EQ(t.lastMessage().text, "IN line command, repeat count not allowed.");
  typePrefix(t, 0, "in ");
  t.press({platform::Key::Enter});
  t.type("hi");
  t.press({platform::Key::Enter});
  t.type("yo");
  Line* first = task->lines.first->next->next;
  ASSERT_TRUE(first->is(LineKind::Note));
  EXPECT_EQ(first->text(), "hi");
  ASSERT_TRUE(first->next->is(LineKind::Note));
  EXPECT_EQ(first->next->text(), "yo");
  EXPECT_FALSE(first->inserted()) << "Enter closed the first note";
}

// TE opens an area under the line at its indentation; typing that fills a
// row goes on at the margin of the next; Enter flows the paragraphs (a word
// cut by the row's end joined again) and removes the rows left empty.
TEST(LineCommandScreen, TextEntryFlowsWhatWasTyped) {
  ScreenTest t(10, 30);
  Task* task = t.open("t.txt", "  head\ntail\n");
  typePrefix(t, 0, "te");
  t.press({platform::Key::Enter});
  ASSERT_TRUE(task->textEntry.lines.held());
  t.type("aaaa bbbb cccc dddd eeee ffff gggg");  // 17 columns a row, from column 3
  t.press({platform::Key::Down});
  t.press({platform::Key::Down});
  setCursor(t.panel(), t.panel().cursorRow, t.panel().prefixWidth() + 3);
  t.type("zz");
  t.press({platform::Key::Enter});
  EXPECT_FALSE(task->textEntry.lines.held());
  std::string all;
  for (Line* p = task->lines.first->next; !p->is(LineKind::Bof); p = p->next) all += std::string(p->text()) + "|";
  EXPECT_EQ(all, "  head|  aaaa bbbb cccc|  dddd eeee ffff|  gggg||  zz|tail|");
  for (auto [field, id] : {std::pair{"te300", "LCMDDISP50"}, {"te2  ", "LCMDDISP55"}, {"te11 ", "LCMDDISP60"}}) {
    typePrefix(t, 0, field);
    t.press({platform::Key::Enter});
    EXPECT_EQ(t.lastMessage().id, id) << field;
  }
}

}  // namespace
}  // namespace kiv::test
