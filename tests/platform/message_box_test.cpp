// The message box drawn on the terminal, and the headless platform that
// answers boxes from a script.
#include "platform/message_box.h"

#include <gtest/gtest.h>

#include "platform/headless_platform.h"

namespace kiv::platform {
namespace {

std::string rowText(const Grid& g, int row) {
  std::string s;
  for (int c = 0; c < g.cols(); ++c) {
    char32_t ch = g.at(row, c).ch;
    s.push_back(ch < 0x80 ? static_cast<char>(ch) : '+');
  }
  return s;
}

TEST(DisplayMessageBox, WrapsAtBlanksCutsLongWordsAndKeepsEmptyLines) {
  EXPECT_EQ(wrapText(U"one two three", 7), (std::vector<std::u32string>{U"one two", U"three"}));
  EXPECT_EQ(wrapText(U"abcdefghij", 4), (std::vector<std::u32string>{U"abcd", U"efgh", U"ij"}));
  EXPECT_EQ(wrapText(U"F1  has no mapping value.\n\nInvoke", 40),
            (std::vector<std::u32string>{U"F1  has no mapping value.", U"", U"Invoke"}));
  EXPECT_EQ(wrapText(U"a b", 0), (std::vector<std::u32string>{U"a", U"b"}));
}

TEST(DisplayMessageBox, LaidOutCentredOnAnOrdinaryScreen) {
  MessageBoxLayout box =
      layoutMessageBox(24, 80, "KIV Message", "Do you want to continue?", BoxButtons::YesNoCancel);
  EXPECT_EQ(box.title, U"KIV Message");
  EXPECT_EQ(box.lines, std::vector<std::u32string>{U"Do you want to continue?"});
  EXPECT_EQ(box.height, 5);
  EXPECT_EQ(box.top, (24 - 5) / 2);
  EXPECT_EQ(box.left, (80 - box.width) / 2);
  ASSERT_EQ(box.buttons.size(), 3u);
  for (const auto& b : box.buttons) {
    EXPECT_EQ(b.row, box.top + 3);
    EXPECT_GT(b.col, box.left);
    EXPECT_LT(b.col + b.width, box.left + box.width);
  }
  EXPECT_LT(box.buttons[0].col + box.buttons[0].width, box.buttons[1].col);

  Grid grid(24, 80);
  grid.put(box.top, 0, "under", 0x70);
  paintMessageBox(grid, box);
  EXPECT_NE(rowText(grid, box.top).find(" KIV Message "), std::string::npos);
  EXPECT_NE(rowText(grid, box.top + 1).find("Do you want to continue?"), std::string::npos);
  EXPECT_NE(rowText(grid, box.top + 3).find("[ Yes ]  [ No ]  [ Cancel ]"), std::string::npos);
  EXPECT_EQ(grid.at(box.top, box.left).ch, U'┌');
  EXPECT_EQ(grid.at(box.top + 1, box.left + 2).attr, kBoxAttr);
  EXPECT_EQ(grid.at(box.top + 3, box.buttons[0].col).attr, kBoxButtonAttr);
  EXPECT_EQ(rowText(grid, box.top).substr(0, 5), "under");  // the grid around stays
  EXPECT_EQ(rowText(grid, box.top - 1), std::string(80, ' '));
}

TEST(DisplayMessageBox, LongTextIsWrappedToTheScreenAndCutToItsHeight) {
  std::string text(2000, 'x');
  MessageBoxLayout wide = layoutMessageBox(24, 80, "T", text, BoxButtons::Ok);
  EXPECT_EQ(wide.lines.size(), 20u);  // 24 rows less frame, blank and buttons
  EXPECT_EQ(wide.lines[0].size(), static_cast<std::size_t>(kBoxMaxTextWidth));
  EXPECT_EQ(wide.height, 24);
  MessageBoxLayout narrow =
      layoutMessageBox(10, 20, "A long title for a narrow screen", text, BoxButtons::YesNo);
  EXPECT_EQ(narrow.lines[0].size(), 16u);
  EXPECT_LE(narrow.width, 20);
  EXPECT_LE(narrow.top + narrow.height, 10);
  Grid grid(10, 20);
  paintMessageBox(grid, narrow);  // the title is cut to the frame
  EXPECT_EQ(grid.at(narrow.top, narrow.left + narrow.width - 1).ch, U'┐');
}

TEST(DisplayMessageBox, TinyAndHugeScreensStayInside) {
  for (auto [rows, cols] : {std::pair{1, 1}, {2, 3}, {3, 200}, {200, 399}, {0, -5}}) {
    MessageBoxLayout box =
        layoutMessageBox(rows, cols, "KIV Message", "Save?\nNow", BoxButtons::YesNoCancel);
    SCOPED_TRACE(std::to_string(rows) + "x" + std::to_string(cols));
    EXPECT_GE(box.top, 0);
    EXPECT_GE(box.left, 0);
    EXPECT_LE(box.top + box.height, std::max(rows, 1));
    EXPECT_LE(box.left + box.width, std::max(cols, 1));
    for (const auto& b : box.buttons) EXPECT_LT(b.row, std::max(rows, 1));
    Grid grid(std::max(rows, 0), std::max(cols, 0));
    paintMessageBox(grid, box);  // nothing written outside the grid
  }
}

TEST(DisplayMessageBox, AnsweredByLettersEnterEscapeAndClicks) {
  using B = BoxButtons;
  using A = BoxAnswer;
  auto k = [](Key key) { return KeyEvent{key}; };
  auto c = [](char32_t ch, bool ctrl = false) { return KeyEvent{Key::Char, ch, false, ctrl}; };
  EXPECT_EQ(boxAnswerForKey(c(U'y'), B::YesNoCancel), A::Yes);
  EXPECT_EQ(boxAnswerForKey(c(U'N'), B::YesNoCancel), A::No);
  EXPECT_EQ(boxAnswerForKey(c(U'c'), B::YesNoCancel), A::Cancel);
  EXPECT_EQ(boxAnswerForKey(c(U'c'), B::YesNo), std::nullopt);
  EXPECT_EQ(boxAnswerForKey(c(U'y', true), B::YesNo), std::nullopt);
  EXPECT_EQ(boxAnswerForKey(c(U'o'), B::Ok), A::Ok);
  EXPECT_EQ(boxAnswerForKey(k(Key::Enter), B::YesNo), A::Yes);
  EXPECT_EQ(boxAnswerForKey(k(Key::KeypadEnter), B::Ok), A::Ok);
  EXPECT_EQ(boxAnswerForKey(k(Key::Escape), B::YesNoCancel), A::Closed);
  EXPECT_EQ(boxAnswerForKey(k(Key::Escape), B::Ok), A::Ok);
  EXPECT_EQ(boxAnswerForKey(k(Key::F1), B::YesNo), std::nullopt);

  MessageBoxLayout box = layoutMessageBox(24, 80, "KIV Message", "Go?", B::YesNoCancel);
  for (const auto& b : box.buttons) {
    EXPECT_EQ(boxAnswerAt(box, b.row, b.col), b.answer);
    EXPECT_EQ(boxAnswerAt(box, b.row, b.col + b.width - 1), b.answer);
  }
  const auto& first = box.buttons.front();
  EXPECT_EQ(boxAnswerAt(box, first.row, first.col - 1), std::nullopt);
  EXPECT_EQ(boxAnswerAt(box, first.row - 1, first.col), std::nullopt);
}

TEST(HeadlessPlatform, AnswersQuestionsFromTheScriptInOrder) {
  HeadlessPlatform p;
  p.scriptAnswer(BoxAnswer::No);
  p.scriptAnswer(BoxAnswer::Cancel);
  EXPECT_EQ(p.messageBox("T", "info", BoxButtons::Ok), BoxAnswer::Ok);
  EXPECT_EQ(p.unusedAnswers(), 2u);  // an OK box takes no scripted answer
  EXPECT_EQ(p.messageBox("T", "q1", BoxButtons::YesNo), BoxAnswer::No);
  EXPECT_EQ(p.messageBox("T", "q2", BoxButtons::YesNoCancel), BoxAnswer::Cancel);
  ASSERT_EQ(p.boxes().size(), 3u);
  EXPECT_EQ(p.boxes()[1].text, "q1");
  EXPECT_EQ(p.boxes()[2].answer, BoxAnswer::Cancel);
  EXPECT_EQ(p.unscriptedQuestions(), 0);
}

TEST(HeadlessPlatform, UnscriptedQuestionsAreCountedAndHandled) {
  HeadlessPlatform p;
  EXPECT_EQ(p.messageBox("T", "q", BoxButtons::YesNo), BoxAnswer::Yes);
  std::string seen;
  p.onUnscripted = [&](const HeadlessPlatform::Box& b) {
    seen = b.text;
    return BoxAnswer::Closed;
  };
  EXPECT_EQ(p.messageBox("T", "q2", BoxButtons::YesNoCancel), BoxAnswer::Closed);
  EXPECT_EQ(seen, "q2");
  EXPECT_EQ(p.unscriptedQuestions(), 2);
}

// Scripted keys, input and events come in order, then Quit for good;
// escapePending takes a plain Escape, and only it, from among them.
TEST(HeadlessPlatform, ScriptedEventsComeInOrderAndEscapePendingTakesOnlyAnEscape) {
  HeadlessPlatform p;
  EXPECT_FALSE(p.escapePending());
  p.scriptKeys({KeyEvent{Key::F5, 0, true}, KeyEvent{Key::Escape, 0, false, false, true}});
  p.scriptInput("\x13\x1b[24;5~x\x1b[99~\x1b" "c");  // Ctrl+S, Ctrl+F12, x, junk, ESC c
  EXPECT_FALSE(p.escapePending()) << "Alt+Escape and Alt+C are no Escape";
  p.scriptKeys({KeyEvent{Key::Escape}});
  p.scriptEvent(MouseEvent{3, 4, MouseButton::Left});
  EXPECT_TRUE(p.escapePending());
  EXPECT_FALSE(p.escapePending());
  std::vector<Event> got;
  for (Event e = p.nextEvent(); !std::holds_alternative<QuitEvent>(e); e = p.nextEvent()) {
    got.push_back(e);
    ASSERT_LT(got.size(), 20u);
  }
  std::vector<Event> want = {KeyEvent{Key::F5, 0, true},
                             KeyEvent{Key::Escape, 0, false, false, true},
                             KeyEvent{Key::Char, U's', false, true},
                             KeyEvent{Key::F12, 0, false, true},
                             KeyEvent{Key::Char, U'x'},
                             KeyEvent{Key::Char, U'c', false, false, true},
                             MouseEvent{3, 4, MouseButton::Left}};
  EXPECT_EQ(got, want);
  EXPECT_TRUE(std::holds_alternative<QuitEvent>(p.nextEvent()));  // and stays so
}

// Sizes are clamped to the largest and smallest screen, as the terminal's are.
TEST(HeadlessPlatform, KeepsTheScreenAndClampsItsSize) {
  HeadlessPlatform p(12, 40);
  Grid g(12, 40);
  g.put(0, 1, "COMMAND ===>", 0x1E);
  p.draw(g, Palette{});
  EXPECT_EQ(p.screen().at(0, 1), (Cell{U'C', 0x1E}));
  EXPECT_EQ(p.draws(), 1);

  p.scriptInput("q");
  p.resize(300, 500);  // clamped, and reported behind what was scripted
  EXPECT_EQ(p.rows(), 200);
  EXPECT_EQ(p.cols(), 399);
  p.nextEvent();
  EXPECT_EQ(std::get<ResizeEvent>(p.nextEvent()), (ResizeEvent{200, 399}));
  HeadlessPlatform tiny(0, 0);
  EXPECT_EQ(tiny.rows(), 1);
  EXPECT_EQ(tiny.cols(), 1);
}

}  // namespace
}  // namespace kiv::platform
