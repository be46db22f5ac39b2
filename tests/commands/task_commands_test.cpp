// Opening, saving, ending and switching tasks through command text, as a
// user types it (aliases included).
#include "commands/task_commands.h"

#include <gtest/gtest.h>

#include "commands/aliases.h"
#include "commands/command_state.h"
#include "core/file_profile.h"
#include "core/task.h"
#include "services/option_group.h"
#include "support/editor_test.h"

namespace kiv {
namespace {

class TaskCommandsTest : public ::testing::Test {
 protected:
  TaskCommandsTest() {
    setSearchPaths(s());
    installCommandExecutor(s());
    defineDefaultAliases(s(), commandState(s()).commandAliases);
  }
  Session& s() { return t.session(); }
  void run(std::string_view text) { s().executeCommand(text); }
  std::string last() { return t.lastMessage().text; }

  test::EditorTest t;
};

TEST_F(TaskCommandsTest, OpenBoundsSaveAndEndThroughCommands) {
  std::string path = t.file("my file.txt", "one\ntwo\n");
  run("e '" + path + "'");
  ASSERT_NE(s().currentTask, nullptr);
  Task& task = *s().currentTask;
  EXPECT_EQ(task.mode, TaskMode::Edit);

  // With a task on top, the edit table is used: BND is the alias of BOUNDS.
  run("bnd 5 10");
  EXPECT_EQ(task.profile->boundLeft, 5);
  EXPECT_EQ(task.profile->boundRight, 10);
  run("bounds 0 10");
  EXPECT_EQ(last(), "BOUNDS: left bound may not be 0");

  run("save");
  EXPECT_EQ(last(), "File not modified, SAVE command ignored.");
  run("end");
  EXPECT_EQ(s().currentTask, nullptr);
  EXPECT_TRUE(s().tasks.empty());
  EXPECT_EQ(t.read(path), "one\ntwo\n");

  // Without a task only the general table is used: SAVE is no verb there and
  // goes to the macro runner; END says it needs a task.
  run("save");
  EXPECT_EQ(t.lastMessage().id, "XMAC10");
  run("end");
  EXPECT_EQ(last(), "END requires an open Edit/Browse/View.");
}

TEST_F(TaskCommandsTest, ModesSwapAndCancel) {
  std::string a = t.file("a.txt", "a\n");
  std::string b = t.file("b.txt", "b\n");
  run("b " + a);
  ASSERT_NE(s().currentTask, nullptr);
  EXPECT_EQ(s().currentTask->mode, TaskMode::Browse);
  run("swap");
  EXPECT_EQ(t.lastMessage().id, "SESSION20");

  run("view " + b);
  EXPECT_EQ(s().currentTask->mode, TaskMode::View);
  run("swap");
  EXPECT_EQ(s().currentTask->path, a);
  run("swapback");
  EXPECT_EQ(s().currentTask->path, b);

  run("can;cancel");
  EXPECT_TRUE(s().tasks.empty());
}

TEST(Unquoted, DropsOnePairOfEnclosingQuotes) {
  EXPECT_EQ(unquoted("'a b'"), "a b");
  EXPECT_EQ(unquoted("\"x\"  "), "x");
  EXPECT_EQ(unquoted("'unclosed"), "'unclosed");
  EXPECT_EQ(unquoted("'"), "'");
  EXPECT_EQ(unquoted("plain"), "plain");
}

}  // namespace
}  // namespace kiv
