// Edits are never lost to a file changed behind kiv's back, and a save that
// wrote nothing is counted so that a batch run fails.
#include <gtest/gtest.h>

#include <fstream>
#include <memory>
#include <string>

#include "core/file_load.h"
#include "core/file_load_fixture.h"
#include "core/file_save.h"
#include "core/line_ops.h"
#include "core/task_life.h"
#include "services/var_pool.h"

namespace kiv {
namespace {

using platform::BoxAnswer;

class SaveSafetyTest : public test::LoadTest {
 protected:
  std::unique_ptr<Task> edited(const std::string& name, const std::string& text) {
    t.file(name, text);
    std::unique_ptr<Task> task = openTask(s(), t.path(name), TaskMode::Edit);
    Line* first = task->lines.first->next;
    setLineText(*task, first, "mine");
    return task;
  }
};

// Appended to or rewritten in place (the same inode, which the task's own
// write lock is on): the user is asked, and either answer leaves a way on.
TEST_F(SaveSafetyTest, AFileAppendedToUnderTheWriteLockIsAskedAboutNotRefused) {
  varSet(s(), "ZEDIT.WRITELOCK", "TRUE");
  auto task = edited("ip.txt", "one\n");
  ASSERT_TRUE(task->load.lockHeld);
  std::ofstream(t.path("ip.txt"), std::ios::app) << "more\n";

  t.answer(BoxAnswer::No);  // keep theirs
  EXPECT_EQ(saveTask(*task, false), -1);
  EXPECT_NE(t.lastMessage().id, "SAVE15");
  EXPECT_EQ(t.read("ip.txt"), "one\nmore\n");
  EXPECT_TRUE(task->modified);
  EXPECT_EQ(s().savesNotWritten, 1);

  t.answer(BoxAnswer::Yes);  // overwrite
  EXPECT_EQ(saveTask(*task, false), 0) << t.lastMessage().text;
  EXPECT_EQ(t.read("ip.txt"), "mine\n");
  EXPECT_FALSE(task->modified);
  EXPECT_EQ(s().savesNotWritten, 1);
}

TEST_F(SaveSafetyTest, RefusedSavesAndLoadsCutShortAreCounted) {
  t.file("v.txt", "v\n");
  auto view = openTask(s(), t.path("v.txt"), TaskMode::View);
  EXPECT_EQ(saveTask(*view, false), -1);
  EXPECT_EQ(s().savesNotWritten, 1);
  EXPECT_EQ(s().loadsCutShort, 0);
  profile("bad", "Recfm=RDP\nMaxRecLen=10\nRDPReclenByteOrder=Intel\n");
  t.file("r.bad", std::string("\x09\x00" "abc", 5));  // a record longer than the file
  auto cut = openTask(s(), t.path("r.bad"), TaskMode::Edit);
  ASSERT_TRUE(cut);
  loadAll(*cut);
  EXPECT_EQ(s().loadsCutShort, 1);
}

}  // namespace
}  // namespace kiv
