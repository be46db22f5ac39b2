// The text line commands in states typed commands cannot reach: split (TS)
// with a NOTE line under the cursor or a right bound past MaxRecLen, flow
// (TF) meeting a hidden line with no marker before it, and the bounds shifts
// and case changes work within without a profile, with bounds unset or past
// MaxRecLen. The line commands themselves are the cases of
// tests/cases/text-flow and tests/cases/line-shift.
#include "commands/text_flow.h"

#include <gtest/gtest.h>

#include <memory>

#include "commands/line_shift.h"
#include "core/file_profile.h"
#include "core/line_ops.h"
#include "support/editor_test.h"

namespace kiv {
namespace {

TEST(TextFlow, SplitRefusesANoteAndBoundsPastTheRecordAndFlowStopsAtAHiddenLine) {
  test::EditorTest t;
  Task task(t.session());
  initLineStore(task);
  for (const char* text : {"aa bb", "cc", "dd"})
    linkLineBefore(task, nullptr, createLine(task, text, LineKind::Text));
  Line* note = createLine(task, "ab cd", LineKind::Note);
  linkLineBefore(task, nullptr, note);
  finishLineStore(task);
  task.profile = std::make_unique<FileProfile>();
  task.profile->maxRecLen = task.profile->boundRight = 80;
  task.profile->boundLeft = 1;
  Line* first = task.lines.first->next;

  EXPECT_EQ(splitLine(task, note, 3), -1);
  EXPECT_EQ(t.lastMessage().id, "TASKLINE50");
  task.profile->boundRight = 90;
  EXPECT_EQ(splitLine(task, first, 3), -1);
  EXPECT_EQ(t.lastMessage().text,
            "Line split not allowed when right bound is greater than MaxRecLen 80.");
  EXPECT_EQ(first->text(), "aa bb");

  task.profile->boundRight = 80;
  setLineFlag(task, first->next->next, LineFlag::Shown, false);
  EXPECT_EQ(flowText(task, first, 20), 0);
  EXPECT_EQ(first->text(), "aa bb cc");
  EXPECT_EQ(first->next->text(), "dd");
}

TEST(LineShift, TextBoundsFallBackToTheRecord) {
  test::EditorTest t;
  Task task(t.session());
  EXPECT_EQ(textBounds(task).right, kDefaultMaxRecLen);  // no profile
  task.profile = std::make_unique<FileProfile>();
  task.profile->maxRecLen = 50;
  task.profile->boundLeft = task.profile->boundRight = 0;
  EXPECT_EQ(textBounds(task).left * 100 + textBounds(task).right, 150);
  task.profile->boundLeft = 4;
  task.profile->boundRight = 90;
  EXPECT_EQ(textBounds(task).left * 100 + textBounds(task).right, 450);
}

}  // namespace
}  // namespace kiv
