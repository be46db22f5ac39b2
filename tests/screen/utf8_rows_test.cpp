// Data rows of a UTF-8 task: the caret over wide characters (arrows, a
// click, a move up or down, the right edge), and the overlays' colours on
// the cells of the characters whose bytes they colour. The rows as drawn,
// at the first column and scrolled right, are cases of tests/cases/screen.
#include <gtest/gtest.h>

#include <string>

#include "core/file_load_fixture.h"
#include "core/line_ops.h"
#include "core/selection.h"
#include "screen/panel.h"
#include "screen_fixture.h"

namespace kiv::test {
namespace {

// "ab", two wide characters (columns 3-4 and 5-6), "c" in column 7.
constexpr std::string_view kWideLine =
    "ab\xE6\xBC\xA2\xE5\xAD\x97"
    "c";

class Utf8Rows : public ::testing::Test, public ScreenTest {
 public:
  Utf8Rows() : ScreenTest(8, 40) {
    file("options/kivfileprof.txt.txt", std::string(kPlainProfile) + "CharsetFile=UTF-8\n");
  }
  // The panel cell of data column `column` on the row of line `n` (1-based).
  int rowOf(int n) { return panel().firstDataRow + n; }
  int cellOf(int column) { return panel().prefixWidth() + column - panel().displayOffset(); }
  int caretColumn() {
    return platform().caret().col + 1 - panel().prefixWidth() + panel().displayOffset();
  }
  void arrow(platform::Key key) { press({key}); }
  void click(int row, int col) {
    handleEvent(session(), platform::MouseEvent{row - 1, col - 1});
    draw();
  }
};

TEST_F(Utf8Rows, ArrowsStepOverTheRightHalfOfAWideCharacter) {
  open("w.txt", std::string(kWideLine) + "\n0123456789\n");
  setCursor(panel(), rowOf(1), cellOf(2));
  const std::pair<platform::Key, int> steps[] = {
      {platform::Key::Right, 3}, {platform::Key::Right, 5}, {platform::Key::Right, 7},
      {platform::Key::Left, 5},  {platform::Key::Left, 3},  {platform::Key::Left, 2}};
  for (auto [key, column] : steps) {
    arrow(key);
    EXPECT_EQ(caretColumn(), column) << screen();
  }
  // From column 4 of the line below, Up lands on the first wide character.
  setCursor(panel(), rowOf(2), cellOf(4));
  arrow(platform::Key::Up);
  EXPECT_EQ(caretColumn(), 3);
  EXPECT_NE(panel().informationLine().find("Col 3 "), std::string::npos)
      << panel().informationLine();
}

TEST_F(Utf8Rows, AClickOnARightHalfPutsTheCaretOnTheLeftHalf) {
  open("w.txt", std::string(kWideLine) + "\n");
  click(rowOf(1), cellOf(6));
  EXPECT_EQ(caretColumn(), 5);
  click(rowOf(1), cellOf(7));
  EXPECT_EQ(caretColumn(), 7);
}

TEST_F(Utf8Rows, RightAtTheEdgeScrollsToTheNextCharacter) {
  open("x.txt", "x\n");
  int D = panel().dataWidth();
  // A wide character in the last two data columns, then "z"; below, one
  // the right edge cuts (its left half in the last column), then "y".
  std::string dots(static_cast<std::size_t>(D - 2), '.');
  open("w.txt", dots + "\xE6\xBC\xA2z\n" + dots + ".\xE6\xBC\xA2y\n");
  setCursor(panel(), rowOf(1), cellOf(D - 1));
  draw();
  arrow(platform::Key::Right);
  EXPECT_EQ(panel().displayOffset(), 1);
  EXPECT_EQ(caretColumn(), D + 1);  // the "z"
  command("left max");
  setCursor(panel(), rowOf(2), cellOf(D));
  draw();
  EXPECT_EQ(caretColumn(), D);  // on the cut character's placeholder
  arrow(platform::Key::Right);
  EXPECT_EQ(panel().displayOffset(), 2);
  EXPECT_EQ(caretColumn(), D + 2);  // the "y"
}

TEST_F(Utf8Rows, FoundTextAndSelectionColourTheCellsOfTheirCharacters) {
  open("w.txt", std::string(kWideLine) + "\n");
  command("find \xE5\xAD\x97");  // the second wide character
  EXPECT_EQ(caretColumn(), 5);
  press({platform::Key::Home});
  EXPECT_SCREEN(platform(), R"(
 {A:COMMAND ===>} ^                     <-  |
******* Top of Data                  █  |
000001 {E:ab漢}{F:字}{E:c}                       │  |
******* Bottom of Data               │  |
                                     │  |*3
 Cols 01 29  Line -  Col -  Bounds 1... |
)");
  // A rectangle over columns 4-5 takes the character that begins in it.
  Line* line = panel().task.lines.first->next;
  setSelection(panel().task, line, line, SelectionMode::Rectangle, 4, 5);
  draw();
  EXPECT_SCREEN(platform(), R"(
 {A:COMMAND ===>} ^                     <-  |
******* Top of Data                  █  |
000001 {E:ab漢}{Z:字}{E:c}                       │  |
******* Bottom of Data               │  |
                                     │  |*3
 Cols 01 29  Line -  Col -  Bounds 1... |
)");
}

// A file with bytes that are not UTF-8 is not loaded as UTF-8, but a line can
// come to hold some (bytes the user puts there); each shows U+FFFD in a
// column of its own, and a cut sequence does too.
TEST_F(Utf8Rows, InvalidBytesShowTheReplacementCharacterEach) {
  open("w.txt", "x\n");
  Line* line = panel().task.lines.first->next;
  setLineText(panel().task, line, "x\xFF\xE6\xBC\xA2y\xE6\xBC");
  panel().refreshData();
  draw();
  EXPECT_NE(screen().find("\n000001 x\uFFFD\u6F22y\uFFFD\uFFFD "), std::string::npos) << screen();
  setCursor(panel(), rowOf(1), cellOf(2));
  arrow(platform::Key::Right);
  EXPECT_EQ(caretColumn(), 3);
  arrow(platform::Key::Right);
  EXPECT_EQ(caretColumn(), 5);
}

}  // namespace
}  // namespace kiv::test
