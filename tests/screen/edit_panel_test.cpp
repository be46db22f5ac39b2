// The edit panel as drawn and kept up to date, and the object operations
// every panel is built from.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "core/line.h"
#include "core/line_ops.h"
#include "screen/field_edit.h"
#include "screen/panel.h"
#include "screen_fixture.h"
#include "services/messages.h"

namespace kiv::test {
namespace {

// The panels as drawn (the default one, its variants without buttons and
// with the message row on top, a BROWSE task scrolled right, hex view and
// its scroll thumb) are the cases of tests/cases/screen; here what a screen
// cannot show: the command field's width and a short message cut to its row.
TEST(EditPanel, VariantsWithoutButtonsMessageRowOnTopAndPfKeyRows) {
  ScreenTest t(10, 36);
  for (const char* v : {"ZHISTORYBTN", "ZSCROLLBTN", "ZCLOSEBTN", "ZSCROLLBAR.V"})
    varSet(t.session(), v, "FALSE");
  varSet(t.session(), "ZMSGROW", "1 Below Primary Command");
  varSet(t.session(), "ZPFSHOW.GLOBAL", "TRUE");
  t.open("a.txt", numberedLines(30));
  EXPECT_EQ(findObject(t.panel(), "PCMDINFIELD")->displayWidth, 36 - 12 - 3);  // to column C - 1
  t.session().messageActions.push_back({"ZZ1", "ShowShortMsg"});
  message(t.session(), "ZZ1", "a short message much longer than the row it stands on");
  t.draw();
  EXPECT_EQ(t.screen().substr(t.screen().find('\n') + 1, 37),
            " ZZ1: a short message much longer...|");
}

// SWAP and SWAPDIRECT themselves are the cases of tests/cases/task-commands.
TEST(EditPanel, BrowseTaskLongLinesAndTheInformationLineParts) {
  ScreenTest t(8, 100);
  t.open("c.txt", numberedLines(3));
  t.open("a.txt", numberedLines(3), TaskMode::Browse);
  EditPanel& p = t.panel();
  EXPECT_EQ(p.prefixWidth(), 0);
  std::string info = p.informationLine();
  EXPECT_NE(info.find("Task 2 of 2"), std::string::npos) << info;
  EXPECT_NE(info.find("Mode(Browse)"), std::string::npos) << info;
  EXPECT_THAT(t.screen(), ::testing::HasSubstr("\nline 1"));
  t.open("b.txt", "short\n" + std::string(100, 'x') + "\n");
  std::string wide = t.panel().informationLine();
  EXPECT_TRUE(wide.ends_with(">>>")) << wide;
  EXPECT_EQ(wide.size(), static_cast<std::size_t>(t.panel().msgWidth));
}

TEST(EditPanel, HexViewDigitsFollowTheTypedCharacter) {
  ScreenTest t(8, 30);
  varSet(t.session(), "ZSCROLLBAR.V", "FALSE");
  t.open("h.txt", "AZ\x01\n");
  t.command("hex on");
  EXPECT_NE(t.screen().find("\n       1A1 "), std::string::npos) << t.screen();
  setCursor(t.panel(), 3, 8);
  t.type("B");
  EXPECT_NE(t.screen().find("\n       2A1 "), std::string::npos) << t.screen();
}

TEST(EditPanel, RowsFollowLinesRemovedWithoutTheCommandsTellingThePanel) {
  ScreenTest t(8, 30);
  Task* task = t.open("a.txt", numberedLines(10));
  Line* first = task->lines.first->next;
  ASSERT_EQ(deleteLines(*task, first, first->next->next, true), 3);  // lines 1..3, freed
  t.draw();  // under the sanitizers a stale row would read freed memory here
  EXPECT_EQ(std::string(t.panel().lineAtRow(t.panel().firstDataRow + 1)->text()), "line 4");
  EXPECT_NE(t.screen().find("000001 line 4"), std::string::npos) << t.screen();
}


// Colours every "x" as found text, the way FIND ALL's overlay will.
struct MarkX : RowOverlay {
  std::uint8_t attr = 0;
  void colour(Task&, const Line& line, int from, std::span<std::uint8_t> attrs) override {
    std::string_view text = line.text();
    for (std::size_t i = 0; i < attrs.size() && from + i < text.size(); ++i)
      if (text[static_cast<std::size_t>(from) + i] == 'x') attrs[i] = attr;
  }
};

TEST(EditPanel, OverlaysColourTheVisiblePartOfTextRowsOnly) {
  ScreenTest t(6, 30);
  MarkX mark;
  mark.attr = screenState(t.session()).scheme.attr(Element::FoundText);
  screenState(t.session()).overlays.push_back(&mark);
  t.open("x.txt", "axxbx\nnote x\n");
  t.command("noteline an x marks the note");
  t.command("right 2");
  EXPECT_SCREEN(t.platform(), R"(
 COMMAND ===> ^           <-  |
******* Top of Data        █  |
<NOTE> {O: x marks the note}   │  |
{N:000001 }{F:x}{E:b}{F:x}                 │  |
000002 {E:te }{F:x}                │  |
 <<< Cols 03 21  Line -  C... |
)");
  std::erase(screenState(t.session()).overlays, &mark);
}


// A frame that is not a task's receives the keys while it is on top; the task
// below is untouched until it is popped.
TEST(FrameStackScreen, KeysReachTheFrameOnTop) {
  ScreenTest t(6, 30);
  Task* task = t.open("k.txt", "abc\n");
  auto dialog = std::make_unique<Panel>(t.session(), PanelType::Dialog, 6, 30);
  DLMAddObj(*dialog, "FIELD", "", "", 4, 2, 2, 10, 10, 0, 7);
  setCursor(*dialog, 2, 2);
  Panel* shown = dialog.get();
  t.session().frames.push(FrameKind::Dialog, "TEST", std::move(dialog));
  EXPECT_EQ(&topPanel(t.session()), shown);
  t.type("xy");
  EXPECT_EQ(findObject(*shown, "FIELD")->trimmed(), "xy");
  EXPECT_EQ(task->lines.first->next->text(), "abc");
  t.session().frames.pop();
  EXPECT_EQ(&topPanel(t.session()), &t.panel());
}


struct PanelObjects : ::testing::Test {
  ScreenTest t;
  Panel p{t.session(), PanelType::Dialog, 24, 80};

  int add(std::string_view name, int type, int row, int col, int dw, int cw) {
    return DLMAddObj(p, name, "text", "", type, row, col, dw, cw, 1, 2);
  }
};

TEST_F(PanelObjects, AddRefusesEachBadPlacementWithItsMessage) {
  EXPECT_EQ(add("A", 6, 1, 1, 5, 5), -1);
  EXPECT_EQ(t.lastMessage().text, "DLMAddObj: object at row 1, col 1, invalid object type.");
  EXPECT_EQ(add("", 4, 2, 3, 5, 5), -1);
  EXPECT_EQ(t.lastMessage().text, "DLMAddObj: INPUT object at row 2, col 3, requires name.");
  EXPECT_EQ(add(std::string(32, 'N'), 8, 2, 3, 5, 5), -1);
  EXPECT_EQ(t.lastMessage().id, "DLM15");
  EXPECT_EQ(add("A", 1, 201, 1, 5, 5), -1);
  EXPECT_EQ(t.lastMessage().text,
            "DLMAddObj: BUTTON object at row 201, col 1, row must be between 1 and 200.");
  EXPECT_EQ(add("A", 1, 1, 400, 5, 5), -1);
  EXPECT_EQ(t.lastMessage().id, "DLM25");
  EXPECT_EQ(add("A", 4, 1, 1, 5, 400), -1);
  EXPECT_EQ(
      t.lastMessage().text,
      "DLMAddObj: INPUT object, row 1, col 1, content width 400 exceeds max possible width 399.");
  EXPECT_EQ(findObject(p, "A"), nullptr);
}

TEST_F(PanelObjects, BadDisplayWidthAddsAQuestionMarkAndEditRowsKeepTheirWidths) {
  EXPECT_EQ(add("W", 4, 3, 5, 0, 10), 0);
  EXPECT_EQ(t.lastMessage().text,
            "DLMAddObj: Object name W, type INPUT, at row 3, col 5, display width 1, will display "
            "as '?'");
  ScreenObject* w = findObject(p, "W");
  ASSERT_NE(w, nullptr);
  EXPECT_EQ(w->displayWidth, 1);
  EXPECT_EQ(w->content, "?");
  EXPECT_EQ(add("E", 3, 4, 1, 0, 0), 0);  // EDITLINE: widths as given
  EXPECT_EQ(findObject(p, "E")->displayWidth, 0);
  EXPECT_EQ(add("S", 7, 5, 78, 1, 12), 0);  // SCROLLV: the panel's, not a row's
  EXPECT_EQ(p.scroll->contentWidth, 12);
  EXPECT_EQ(findObject(p, "S"), nullptr);
}

TEST_F(PanelObjects, ObjectAtSkipsStaticAndFindTakesTheFirstByRows) {
  ASSERT_EQ(add("L", 8, 2, 1, 10, 10), 0);
  ASSERT_EQ(add("F", 4, 2, 5, 10, 10), 0);
  ASSERT_EQ(add("F", 1, 1, 30, 4, 4), 0);
  EXPECT_EQ(objectAt(p, 2, 5)->name, "F");  // the static label under it is skipped
  EXPECT_EQ(objectAt(p, 2, 3), nullptr);
  EXPECT_EQ(objectAt(p, 2, 15), nullptr);  // one past the field
  EXPECT_EQ(findObject(p, "F")->row, 1);
  EXPECT_EQ(findObject(p, "f"), nullptr);  // names are compared exactly
}

TEST_F(PanelObjects, TypingInsertsOvertypesScrollsAndReportsAFullField) {
  ASSERT_EQ(DLMAddObj(p, "IN", "", "", 4, 1, 10, 5, 8, 1, 2), 0);
  ScreenObject& f = *findObject(p, "IN");
  setCursor(p, 1, 10);
  for (char c : std::string("abcdefgh")) EXPECT_TRUE(typeIntoField(p, f, c, false));
  EXPECT_EQ(f.content, "abcdefgh");
  EXPECT_EQ(f.firstShown, 3);  // the field scrolled under the cursor on its last cell
  EXPECT_EQ(p.cursorCol, 14);
  EXPECT_FALSE(typeIntoField(p, f, 'z', false));  // the last position is taken
  EXPECT_EQ(t.lastMessage().text, "Field is full.");
  EXPECT_EQ(f.content, "abcdefgh");
  EXPECT_EQ(t.lastMessage().id, "DLM130");
  setCursor(p, 1, 10);
  f.firstShown = 0;
  EXPECT_FALSE(typeIntoField(p, f, 'z', true));
  EXPECT_EQ(t.lastMessage().id, "DLM125");
  EXPECT_EQ(f.content, "abcdefgh");
  deleteInField(p, f, false);
  EXPECT_TRUE(typeIntoField(p, f, 'Z', true));
  EXPECT_EQ(f.content, "Zbcdefgh");
  eraseFieldToEnd(p, f);
  EXPECT_EQ(f.content, "Z       ");
}

}  // namespace
}  // namespace kiv::test
