#include "platform/headless_platform.h"

#include <gtest/gtest.h>

namespace kiv::platform {
namespace {

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

TEST(HeadlessPlatform, ScriptedKeysComeInOrderThenQuit) {
  HeadlessPlatform p;
  p.scriptKeys({KeyEvent{Key::F5, 0, true}, KeyEvent{Key::Char, U'a'}});
  p.scriptInput("\x13\x1b[24;5~xy\x1b[99~\x1b");  // Ctrl+S, Ctrl+F12, x, y, junk, Escape
  p.scriptEvent(MouseEvent{3, 4, MouseButton::Left});
  std::vector<Event> got;
  for (Event e = p.nextEvent(); !std::holds_alternative<QuitEvent>(e); e = p.nextEvent()) {
    got.push_back(e);
    ASSERT_LT(got.size(), 20u);
  }
  std::vector<Event> want = {KeyEvent{Key::F5, 0, true},
                             KeyEvent{Key::Char, U'a'},
                             KeyEvent{Key::Char, U's', false, true},
                             KeyEvent{Key::F12, 0, false, true},
                             KeyEvent{Key::Char, U'x'},
                             KeyEvent{Key::Char, U'y'},
                             KeyEvent{Key::Escape},
                             MouseEvent{3, 4, MouseButton::Left}};
  EXPECT_EQ(got, want);
  EXPECT_TRUE(std::holds_alternative<QuitEvent>(p.nextEvent()));  // and stays so
}

TEST(HeadlessPlatform, EscapePendingTakesOnlyTheEscape) {
  HeadlessPlatform p;
  EXPECT_FALSE(p.escapePending());
  p.scriptInput("ab");
  EXPECT_FALSE(p.escapePending());
  EXPECT_EQ(p.pendingEvents(), 2u);
  p.scriptKeys({KeyEvent{Key::Escape, 0, false, false, true}});  // Alt+Escape is not it
  p.scriptInput(
      "\x1b"
      "c");  // ESC c is Alt+C, not Escape
  EXPECT_FALSE(p.escapePending());
  p.scriptKeys({KeyEvent{Key::Escape}});
  p.scriptInput("d");
  EXPECT_TRUE(p.escapePending());
  EXPECT_FALSE(p.escapePending());
  EXPECT_EQ(p.pendingEvents(), 5u);
  p.nextEvent();
  p.nextEvent();
  p.nextEvent();
  p.nextEvent();
  EXPECT_EQ(std::get<KeyEvent>(p.nextEvent()), (KeyEvent{Key::Char, U'd'}));
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
