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

}  // namespace
}  // namespace kiv::platform
