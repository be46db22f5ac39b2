#include "commands/executor.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "commands/aliases.h"
#include "commands/command_state.h"
#include "commands/macro_call.h"
#include "core/file_load.h"
#include "core/line.h"
#include "core/task.h"
#include "services/var_pool.h"
#include "support/editor_test.h"

namespace kiv {
namespace {

using ::testing::ElementsAre;

class ExecutorTest : public ::testing::Test {
 protected:
  ExecutorTest() {
    installCommandExecutor(s());
    defineDefaultAliases(s(), commandState(s()).commandAliases);
  }
  Session& s() { return t.session(); }
  void run(std::string_view text) { s().executeCommand(text); }
  // Puts a frame of that kind on top (a task's frame for an edit task).
  void panel(FrameKind kind) { s().frames.push(kind, "test", nullptr); }
  std::string last() { return t.lastMessage().text; }

  test::EditorTest t;
};

TEST_F(ExecutorTest, VerbUpperCasedParametersKeepTheirCase) {
  run("varset zcase1   Hello  World ;nop;varset zcase3");
  EXPECT_EQ(varGet(s(), "ZCASE1"), "Hello  World ");
  EXPECT_EQ(varGet(s(), "ZCASE3"), "");
  EXPECT_TRUE(t.messages().empty());
  run("VARSET");
  EXPECT_EQ(last(), "VARSET requires two parameters:\n\nP1 = variable-name\nP2 = value");
}

TEST_F(ExecutorTest, PanelKindChoosesTheFirstTable) {
  // The idle screen (general table only) is the case
  // task-commands/open-bounds-save-end-then-the-general-table.
  panel(FrameKind::Dialog);
  run("up");  // the dialog table has UP
  EXPECT_NE(t.lastMessage().id, "GPCMD10");
  run("find x");  // the dialog table has no FIND, the general neither
  EXPECT_EQ(t.lastMessage().id, "XMAC10");
  panel(FrameKind::FileList);
  t.clearMessages();
  run("search x");  // the file-list table has SEARCH
  EXPECT_NE(t.lastMessage().id, "XMAC10");
  run("splith");  // general verbs are reached from every panel
  EXPECT_EQ(last(), "SPLITH command is obsolete, use new command SPLIT");
  std::unique_ptr<Task> task = openTask(s(), t.file("e.txt", "x\n"), TaskMode::Edit);
  s().frames.raise(*task);
  run("search x");
  EXPECT_EQ(last(), "Unable to find macro source file:\n\nsearch.c");
  s().frames.removeTask(*task);
}

TEST(MacroSourceName, NameEndsAtPointBlankOrQuote) {
  EXPECT_EQ(macroSourceName("MyMac.C a b"), "mymac.c");
  EXPECT_EQ(macroSourceName("\"Quoted\" a"), "quoted.c");
  EXPECT_EQ(macroSourceName("Dir.d/Sub/MAC.txt"), "Dir.d/Sub/mac.c");
}

// The menu style and unknown jumps are the case executor/jumps-need-legacy-menus.
TEST_F(ExecutorTest, JumpsAndEditAreBlockedInAUserDialog) {
  varSet(s(), "ZMENUSTYLE", "Legacy");
  commandState(s()).userDialogActive = true;
  run("=0.1");
  EXPECT_EQ(t.lastMessage().id, "SESSION75");
  EXPECT_EQ(last(),
            "The following action is blocked when a user dialog is active:\n\n"
            "Not allowed to jump to menu or function (e.g. '=0.x')");
  run("edit a.txt");
  EXPECT_EQ(last(),
            "The following action is blocked when a user dialog is active:\n\n"
            "Not allowed to EDIT a file");
}

// A jump executes "return" and then its target; the inner "return" drains
// what is left of the outer text before the target runs.
TEST_F(ExecutorTest, InnerExecutionRunsFirstAndDrainsTheOuterQueue) {
  varSet(s(), "ZMENUSTYLE", "Legacy");
  t.clearMessages();
  run("=x;zzmac;varset zorder done");
  EXPECT_THAT(t.messageTexts(), ElementsAre("Unable to find macro source file:\n\nzzmac.c"));
  EXPECT_TRUE(s().exitRequested);  // the jump's target ran after the drained outer text
  EXPECT_EQ(varGet(s(), "ZORDER"), "done");
  EXPECT_TRUE(commandState(s()).queue.empty());
}

class LineCommandTest : public ExecutorTest {
 protected:
  void SetUp() override {
    task = openTask(s(), t.file("a.txt", "one\ntwo\n"), TaskMode::Edit);
    ASSERT_TRUE(task);
    task->topLine = task->lines.first->next;  // the first data line
  }
  void TearDown() override { s().frames.removeTask(*task); }
  std::string field() { return std::string(task->topLine->lineCommand()); }

  std::unique_ptr<Task> task;
};

TEST_F(LineCommandTest, NeedsAnEditTask) {
  run(":dd");
  EXPECT_EQ(t.lastMessage().id, "EPCMD10");
  EXPECT_EQ(last(), "Not in EDIT, command ignored.");
  s().frames.raise(*task);
  panel(FrameKind::FileList);  // elsewhere the text is looked up as a verb
  run(":dd");
  EXPECT_EQ(last(), "Unable to find macro source file:\n\n:dd.c");
  EXPECT_EQ(field(), "         ");
}

// The text goes into the top line's field and is processed at once.
TEST_F(LineCommandTest, PlacesTheTextInTheTopLineAndProcessesIt) {
  s().frames.raise(*task);
  run(".lab");
  EXPECT_EQ(task->topLine->label(), ".LAB     ");
  EXPECT_EQ(field(), "         ");
  EXPECT_TRUE(t.messages().empty());
  run(":abcdefghij");
  EXPECT_EQ(t.messages().front().id, "LSLC5");
  EXPECT_EQ(t.messages().front().text,
            "Line command 'abcdefghij' truncated to max width for line command field.");
  EXPECT_EQ(last(), "'ABCDEFG' is not a valid line command.");
  EXPECT_EQ(field(), "ABCDEFG  ") << "a refused command stays in its field";
  run("::d");
  EXPECT_EQ(task->lines.first->next->text(), "two");
}

}  // namespace
}  // namespace kiv
