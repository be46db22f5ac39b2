#include "core/recovery.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "core/file_load_fixture.h"
#include "core/file_save.h"
#include "core/line_ops.h"
#include "core/task_life.h"
#include "services/messages.h"
#include "services/var_pool.h"

namespace kiv {
namespace {

using platform::BoxAnswer;

// A task stopped with unsaved lines: they go to a recovery file, never over
// the file; the next start offers them back as a modified task that SAVE
// writes and that then needs the recovery file no more.
TEST(Recovery, UnsavedLinesAreKeptAndOfferedBack) {
  test::EditorTest t;
  std::string path = t.file("dir/r.txt", "one\ntwo\n");
  Task* task = createTask(t.session(), path, TaskMode::Edit);
  ASSERT_TRUE(task);
  setLineText(*task, task->lines.first->next, "ONE \n edited");
  createTask(t.session(), t.file("clean.txt", "c\n"), TaskMode::Edit);  // unmodified: no file
  EXPECT_EQ(writeRecoveryFiles(t.session()), 1);
  EXPECT_EQ(t.read(path), "one\ntwo\n");
  ASSERT_EQ(findRecoveries(t.session()).size(), 1u);
  EXPECT_EQ(findRecoveries(t.session())[0].original, path);

  // The next start: No keeps the file for later, Yes opens it.
  test::EditorTest next;
  next.session().dirs.options = t.session().dirs.options;
  next.answer(BoxAnswer::No);
  offerRecovery(next.session());
  EXPECT_TRUE(next.session().tasks.empty());
  ASSERT_EQ(findRecoveries(next.session()).size(), 1u);
  next.answer(BoxAnswer::Yes);
  offerRecovery(next.session());
  ASSERT_EQ(next.session().tasks.size(), 1u);
  Task& back = *next.session().tasks[0];
  EXPECT_TRUE(back.modified);
  EXPECT_EQ(back.path, path);
  EXPECT_EQ(saveTask(back, true), 0);
  EXPECT_EQ(t.read(path), "ONE \n edited\ntwo\n");
  EXPECT_TRUE(findRecoveries(next.session()).empty());
}

// The save question closed without an answer (Escape, or a quit signal on
// its way) keeps the task and its changes, whatever an earlier question was
// answered: nothing saved over the file, nothing dropped.
TEST(Recovery, AClosedSaveQuestionKeepsTheTaskWhateverCameBefore) {
  test::EditorTest t;
  varSet(t.session(), "ZEDIT.PROMPTONEXIT", "TRUE");
  std::string path = t.file("q.txt", "q\n");
  Task* task = createTask(t.session(), path, TaskMode::Edit);
  setLineText(*task, task->lines.first->next, "changed");
  for (BoxAnswer earlier : {BoxAnswer::No, BoxAnswer::Yes}) {
    t.answer(earlier);
    askYesNoCancel(t.session(), "an earlier question");
    t.answer(BoxAnswer::Closed);
    EXPECT_EQ(endTask(*task), -1);
    ASSERT_EQ(t.session().tasks.size(), 1u);
    EXPECT_TRUE(task->modified);
    EXPECT_EQ(t.read(path), "q\n");
  }
}

TEST(Recovery, ADamagedRecoveryFileIsReportedAndKept) {
  test::EditorTest t;
  std::string damaged = t.file("options/Recovery/1-1.kivrec", "KIVRECOVERY 1\npath=/x\n99\nshort");
  t.answer(BoxAnswer::Yes);
  offerRecovery(t.session());
  EXPECT_TRUE(t.session().tasks.empty());
  EXPECT_NE(t.lastMessage().text.find("damaged"), std::string::npos);
  EXPECT_TRUE(t.exists(damaged));
}

}  // namespace
}  // namespace kiv
