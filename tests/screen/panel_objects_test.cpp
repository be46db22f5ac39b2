// The object operations every panel is built from.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "screen/field_edit.h"
#include "screen/panel.h"
#include "screen_fixture.h"

namespace kiv::test {
namespace {

using ::testing::Contains;

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
