#include "core/task_life.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "core/file_load_fixture.h"
#include "core/file_profile.h"
#include "core/line.h"
#include "core/line_ops.h"
#include "core/session.h"
#include "services/option_group.h"
#include "services/var_pool.h"
#include "support/editor_test.h"

namespace kiv {
namespace {

using platform::BoxAnswer;

class TaskLifeTest : public test::LoadTest {
 protected:
  TaskLifeTest() {
    profile("txt", "MaxRecLen=200\nTabsOut=0\nBOOLbackup=FALSE\nPromptKeystrokeLimit=10\n");
    t.file("a.txt", "one\n");  // the file of most tests
  }

  Task* open(std::string_view rel, TaskMode mode = TaskMode::Edit) {
    Task* task = createTask(s(), t.path(rel), mode);
    EXPECT_TRUE(task) << rel;
    return task;
  }

  // Replaces the text of the first TEXT line, as a typed change would.
  static void modify(Task& task, std::string_view text) {
    Line* line = task.lines.first->next;
    ASSERT_TRUE(line && line->is(LineKind::Text));
    setLineText(task, line, text);
    ASSERT_TRUE(task.modified);
  }

  std::vector<Task*> taskList() {
    std::vector<Task*> out;
    for (auto& task : s().tasks) out.push_back(task.get());
    return out;
  }
};

TEST_F(TaskLifeTest, CreateAppendsLoadsAndKeepsItsOwnCopyOfTheSettings) {
  t.file("b.txt", "three\n");
  varSet(s(), "ZEDIT.FIND.GLOBAL", "TRUE");
  varSet(s(), "ZFIND.LAST.STR1", "abc");
  Task* a = open("a.txt");
  varSet(s(), "ZFIND.LAST.STR1", "xyz");
  Task* b = open("b.txt");
  ASSERT_TRUE(a && b);
  EXPECT_EQ(taskList(), (std::vector<Task*>{a, b}));
  EXPECT_EQ(s().currentTask(), b) << "the task opened last is on top";
  EXPECT_EQ(a->topLine, a->lines.first);
  EXPECT_EQ(a->settings.findGlobal, "TRUE");
  EXPECT_EQ(a->settings.lastStr1, "abc");
  EXPECT_EQ(b->settings.lastStr1, "xyz");
  EXPECT_FALSE(varExists(s(), "ZFIND.LAST.STR2")) << "copying a setting does not create it";
}

TEST_F(TaskLifeTest, FailedCreateLeavesNoTaskBehind) {
  Task* a = open("a.txt");
  EXPECT_EQ(createTask(s(), t.path("missing.txt"), TaskMode::Browse), nullptr);
  EXPECT_EQ(createTask(s(), t.dir(), TaskMode::Edit), nullptr) << "a directory";
  EXPECT_EQ(taskList(), (std::vector<Task*>{a}));
  EXPECT_EQ(s().currentTask(), a);

  s().outOfRam = true;
  EXPECT_EQ(createTask(s(), t.path("a.txt"), TaskMode::View), nullptr);
  EXPECT_EQ(t.lastMessage().text,
            "Unable to start Edit/Browse of file due to  'Out of RAM'  condition.");
  EXPECT_EQ(s().tasks.size(), 1u);
}

// END's questions and saves, CANCEL, VIEW and new files left empty are
// checked by the case directories of tests/cases/tasks.
TEST_F(TaskLifeTest, EndClearsTheCommandLineMark) {
  varSet(s(), "ZEDITVIACMDLINE", "TRUE");
  EXPECT_EQ(endTask(*open("a.txt")), 0);
  EXPECT_EQ(varGet(s(), "ZEDITVIACMDLINE"), "FALSE");
}

TEST_F(TaskLifeTest, FailedSaveKeepsTheTaskOpen) {
  Task* a = open("a.txt");
  modify(*a, "ONE");
  ASSERT_EQ(::unlink(t.path("a.txt").c_str()), 0);
  t.answer(BoxAnswer::No);  // do not write the file that another program removed
  EXPECT_EQ(endTask(*a), -1);
  EXPECT_EQ(taskList(), (std::vector<Task*>{a}));
  EXPECT_TRUE(a->modified);
  EXPECT_FALSE(t.exists("a.txt"));
}

TEST_F(TaskLifeTest, SwapGoesRoundTheTasks) {
  EXPECT_EQ(swapTask(s(), false), -1);
  EXPECT_EQ(t.lastMessage().id, "SESSION25");
  EXPECT_EQ(t.lastMessage().text, "SWAP only allowed when Edit/Browse is top dialog.");
  t.file("b.txt", "b\n");
  Task* a = open("a.txt");
  EXPECT_EQ(swapTask(s(), false), -1);
  EXPECT_EQ(t.lastMessage().id, "SESSION20");
  EXPECT_EQ(t.lastMessage().text,
            "SWAP only allowed when total Edits >= 2.\n\nTo SWAP between independent KIV sessions "
            "use your terminal or window manager.");
  Task* b = open("b.txt");
  Task* a2 = open("a.txt", TaskMode::Browse);  // a second task on the same file
  // Forward from the last to the first (the second task on a.txt is reached
  // too), then back from the first to the last.
  int step = 0;
  for (auto [back, next] :
       {std::pair{false, a}, {false, b}, {false, a2}, {true, b}, {true, a}, {true, a2}}) {
    EXPECT_EQ(swapTask(s(), back), 0);
    EXPECT_EQ(s().currentTask(), next) << "step " << ++step;
  }

  EXPECT_EQ(endTask(*a2), 0);
  EXPECT_EQ(s().currentTask(), a) << "the frame below (the task shown before) comes back on top";
}

TEST_F(TaskLifeTest, SwapDirectFindsTheFileByName) {
  t.file("d/b.txt", "b\n");
  Task* a = open("a.txt");
  open("d/b.txt");
  EXPECT_EQ(swapDirect(s(), t.dir() + "/d/../a.txt"), 0);
  EXPECT_EQ(s().currentTask(), a);
  EXPECT_EQ(swapDirect(s(), t.path("zz.txt")), -1);
  EXPECT_EQ(t.lastMessage().text, "No Edit/Browse/View is open for file:\n\n" + t.path("zz.txt"));
  EXPECT_EQ(s().currentTask(), a);
}

TEST_F(TaskLifeTest, KeystrokeReminderEveryLimitPlusOne) {
  Task* a = open("a.txt");
  t.clearMessages();
  auto reminders = [&] {
    int n = 0;
    for (const auto& m : t.messages()) n += m.id == "CHAR25";
    return n;
  };
  for (int i = 0; i < 10; ++i) noteKeystroke(*a);
  EXPECT_EQ(reminders(), 0);
  noteKeystroke(*a);
  ASSERT_EQ(reminders(), 1) << "at the 11th character";
  EXPECT_EQ(t.lastMessage().text,
            "You requested to be prompted for a possible SAVE after 11 keystrokes were entered.\n"
            "The keystroke counter is reset to 0 at this time.\nThe precise time you enter the "
            "SAVE command is left up to you.\n");
  for (int i = 0; i < 10; ++i) noteKeystroke(*a);
  EXPECT_EQ(reminders(), 1);
  noteKeystroke(*a);
  EXPECT_EQ(reminders(), 2) << "and again 11 characters later";
  EXPECT_FALSE(a->modified) << "nothing is saved or changed";

  a->profile->promptKeystrokeLimit = 0;
  for (int i = 0; i < 30; ++i) noteKeystroke(*a);
  EXPECT_EQ(reminders(), 2) << "a limit of 0 never reminds";
}

}  // namespace
}  // namespace kiv
