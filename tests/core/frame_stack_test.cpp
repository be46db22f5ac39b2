// The frame stack: task frames raised and removed, frames owned by the task
// they were opened over, the top's kind.
#include <gtest/gtest.h>

#include "core/frame_stack.h"
#include "core/task.h"
#include "support/editor_test.h"

namespace kiv {
namespace {

TEST(FrameStack, FramesOpenedOverATaskGoWithItAndTasksLeaveOnlyByRemoval) {
  test::EditorTest t;
  Task a(t.session()), b(t.session());
  FrameStack stack;
  EXPECT_EQ(stack.topKind(), FrameKind::Idle);
  stack.raise(a);
  stack.push(FrameKind::Dialog, "SORTACTION", nullptr);
  stack.raise(b);
  stack.raise(a);  // raised again: still one frame for the task
  EXPECT_EQ(stack.size(), 3u);
  EXPECT_EQ(stack.topTask(), &a);
  stack.pop();  // a task's frame is not popped
  EXPECT_EQ(stack.topTask(), &a);
  stack.push(FrameKind::FileList, "flist", nullptr);
  EXPECT_EQ(stack.at(3).owner, &a);
  EXPECT_EQ(frameKindName(stack.topKind()), "filelist");
  EXPECT_EQ(stack.topTask(), &a) << "the current task is the topmost task frame";
  stack.removeTask(a);
  ASSERT_EQ(stack.size(), 1u) << "the dialog and the file list opened over a went with it";
  EXPECT_EQ(stack.topTask(), &b);
  stack.removeTask(b);
  EXPECT_EQ(stack.top(), nullptr);
}

}  // namespace
}  // namespace kiv
