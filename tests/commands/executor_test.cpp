// The command executor, with the aliases it reads verbs through and the
// history it records commands in.
#include "commands/executor.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <initializer_list>
#include <memory>
#include <string>

#include "commands/aliases.h"
#include "commands/command_history.h"
#include "commands/command_state.h"
#include "commands/macro_call.h"
#include "core/file_load.h"
#include "core/line.h"
#include "core/task.h"
#include "services/option_group.h"
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
  // In the task a label goes into its own field (truncation, refusals and
  // processing: the case executor/line-commands-typed-on-the-command-row).
  s().frames.pop();
  run(".lab");
  EXPECT_EQ(task->topLine->label(), ".LAB     ");
  EXPECT_EQ(field(), "         ");
}

class AliasTest : public ExecutorTest {
 protected:
  std::vector<Alias>& commandAliases() { return commandState(s()).commandAliases; }
  std::string groupPath(std::string_view group) {
    return t.optionsDir() + "/" + optionGroupFileName(group);
  }
};

TEST_F(AliasTest, DefaultsWhenTheFileIsMissing) {
  loadCommandAliases(s());
  ASSERT_EQ(commandAliases().size(), 42u);
  // X for EXCLUDE and no EXCL: the case executor/alias-replaces-only-the-verb.
  EXPECT_EQ(findAlias(commandAliases(), "ENTER")->command, "3270ENTER");
  EXPECT_EQ(findAlias(commandAliases(), "enter"), nullptr);
  // No default names a primary command, so all pass the check.
  std::vector<Alias> checked;
  for (const Alias& a : commandAliases())
    EXPECT_EQ(defineAlias(s(), checked, a.name + "  " + a.command, true), 0) << a.name;
  EXPECT_FALSE(t.exists(groupPath("AliasCmds")));
}

TEST_F(AliasTest, DefineChecksPrimaryCommandsAndSizes) {
  std::vector<Alias> list;
  EXPECT_EQ(defineAlias(s(), list, "find   LOCATE", true), -1);
  EXPECT_EQ(t.lastMessage().id, "");
  EXPECT_EQ(t.lastMessage().text,
            "'find' is an existing KIV primary command, it can not be used as an alias.");
  EXPECT_EQ(defineAlias(s(), list, "FIND LOCATE", false), 0);  // profile aliases: no check
  EXPECT_EQ(defineAlias(s(), list, "LONGALIASNAME15 FIND", true), -1);
  EXPECT_EQ(defineAlias(s(), list, "LONGALIASNAME4 SEVENTEENCHARSXXX", true), -1);
  EXPECT_EQ(defineAlias(s(), list, "LONGALIASNAME4 SIXTEENCHARSXXXX", true), 0);
  EXPECT_EQ(defineAlias(s(), list, "LONELY", true), -1);
  ASSERT_EQ(list.size(), 2u);
  EXPECT_EQ(list[1].name, "LONGALIASNAME4");
  EXPECT_EQ(list[1].command, "SIXTEENCHARSXXXX");
}

// A good file is left alone; one with a refused line is written again
// without it.
TEST_F(AliasTest, ARefusedLineRewritesTheFile) {
  t.file("options/" + optionGroupFileName("AliasCmds"), "FF   FIND\n");
  loadCommandAliases(s());
  ASSERT_EQ(commandAliases().size(), 1u);
  EXPECT_EQ(t.read(groupPath("AliasCmds")), "FF   FIND\n");
  EXPECT_TRUE(t.messages().empty());

  t.file("options/" + optionGroupFileName("AliasCmds"), "FF FIND\r\nSAVE QUIT\n\nQQ   QUIT\n");
  loadCommandAliases(s());
  ASSERT_EQ(commandAliases().size(), 2u);
  EXPECT_EQ(commandAliases()[1].command, "QUIT");
  EXPECT_EQ(t.read(groupPath("AliasCmds")), "FF FIND\nQQ QUIT\n");
}

TEST_F(AliasTest, ProfileAliasesLoadWithoutCheck) {
  t.file("options/" + optionGroupFileName("AliasProfs"), "PRN TXT\nFIND COBOL\n");
  loadProfileAliases(s());
  ASSERT_EQ(s().profileAliases.size(), 2u);
  EXPECT_EQ(s().profileAliases[1].name, "FIND");
  EXPECT_EQ(s().profileAliases[1].command, "COBOL");
}

TEST_F(AliasTest, SaveFailureIsReported) {
  commandAliases() = {{"FF", "FIND"}};
  ASSERT_EQ(saveCommandAliases(s()), 0);
  EXPECT_EQ(t.read(groupPath("AliasCmds")), "FF FIND\n");
  s().dirs.options = t.path("no/such/dir");
  EXPECT_EQ(saveCommandAliases(s()), -1);
  EXPECT_EQ(t.lastMessage().id, "OPTIONS5");
}

class HistoryTest : public ExecutorTest {
 protected:
  CommandHistory& history() { return commandState(s()).history; }
  std::string field() { return commandState(s()).commandField; }
};

TEST_F(HistoryTest, RecordingRules) {
  using Texts = std::initializer_list<std::string>;
  for (const std::string& c : Texts{"xy", "up 5", "rfind;nop", "UPPER", std::string(1023, 'a')})
    EXPECT_TRUE(isRecordable(c)) << c;
  for (const std::string& c :
       Texts{"x", "encrypt file", "CMDHISTORYSAVE;nop", "rfind", "Up  ", std::string(1024, 'a')})
    EXPECT_FALSE(isRecordable(c)) << c;
}

TEST_F(HistoryTest, RepeatMovesToTopAndOldestFallsOut) {
  recordCommand(s(), "f a");
  recordCommand(s(), "f b");
  recordCommand(s(), "f a");
  EXPECT_EQ(history().count, 2);
  EXPECT_EQ(history().slots[0], "f a");
  EXPECT_EQ(history().slots[1], "f b");
  EXPECT_TRUE(history().changed);
  for (int i = 0; i < 32; ++i) recordCommand(s(), "c" + std::to_string(i));
  EXPECT_EQ(history().count, 32);
  EXPECT_EQ(history().slots[0], "c31");
  EXPECT_EQ(history().slots[31], "c0");  // "f a" and "f b" pushed out
}

TEST_F(HistoryTest, RetrieveCyclesAndBackGoesTheOtherWay) {
  s().executeCommand("RETRIEVE");  // empty history: nothing placed
  EXPECT_EQ(field(), "");
  recordCommand(s(), "older");
  recordCommand(s(), "newer");
  s().executeCommand("retrieve");
  EXPECT_EQ(field(), "newer");
  s().executeCommand("retrieve");
  EXPECT_EQ(field(), "older");
  s().executeCommand("retrieve");
  EXPECT_EQ(field(), "newer");
  recordCommand(s(), "third");  // the cursor returns to 1
  s().executeCommand("retrieve back");
  EXPECT_EQ(field(), "older");
  s().executeCommand("retrieve back");
  EXPECT_EQ(field(), "newer");
  s().executeCommand("retrieve back");
  EXPECT_EQ(field(), "third");
  varSet(s(), "ZRETRIEVEPCMDHISTORY", "TRUE");
  s().executeCommand("retrieve");  // RPCMD: the history dialog's stand-in retrieves
  EXPECT_EQ(field(), "third");
}

TEST_F(HistoryTest, SaveAndRestoreByName) {
  recordCommand(s(), "f one");
  recordCommand(s(), "f two");
  s().executeCommand("CMDHISTORYSAVE Set1");
  EXPECT_EQ(t.read(t.optionsDir() + "/KivPcmdHistory.Set1.txt"), "f two\nf one\n");

  recordCommand(s(), "f three");
  s().executeCommand("cmdhistoryrestore Set1  ");
  EXPECT_EQ(history().count, 2);
  EXPECT_EQ(history().slots[0], "f two");
  EXPECT_EQ(history().slots[2], "");
  EXPECT_EQ(history().cursor, 1);
}

// The messages of saving, restoring, bad names and a missing file are the case
// history/save-restore-names-and-missing-files; here what they leave.
TEST_F(HistoryTest, MissingFileKeepsTheHistoryUnreadableOneEmptiesIt) {
  s().executeCommand("CMDHISTORYSAVE a b");
  EXPECT_FALSE(t.exists(t.optionsDir() + "/KivPcmdHistory.a b.txt"));
  recordCommand(s(), "f kept");
  s().executeCommand("CMDHISTORYRESTORE nothere");
  EXPECT_EQ(history().slots[0], "f kept");

  std::filesystem::create_directory(t.optionsDir() + "/KivPcmdHistory.dir.txt");
  s().executeCommand("CMDHISTORYRESTORE dir");
  EXPECT_EQ(t.lastMessage().id, "CMDHISTORY06");
  EXPECT_EQ(t.lastMessage().text,
            "CMDHISTORY  'dir'  not restored.  Command history buffers are now empty.");
  EXPECT_EQ(history().count, 0);
  EXPECT_EQ(history().slots[0], "");
}

TEST_F(HistoryTest, DefaultFileWrittenOnlyWhenChanged) {
  std::string path = t.optionsDir() + "/KivPcmdHistory.txt";
  EXPECT_EQ(loadDefaultCommandHistory(s()), 0);  // no file yet
  EXPECT_EQ(saveDefaultCommandHistory(s()), 0);
  EXPECT_FALSE(t.exists(path));
  recordCommand(s(), "f a");
  recordCommand(s(), "f b");
  EXPECT_EQ(saveDefaultCommandHistory(s()), 0);
  EXPECT_EQ(t.read(path), "f b\nf a\n");
  EXPECT_FALSE(history().changed);

  t.file("options/KivPcmdHistory.txt", "one\r\n" + std::string(300, 'z') + "\n");
  ASSERT_EQ(loadDefaultCommandHistory(s()), 0);
  EXPECT_EQ(history().slots[0], "one");
  EXPECT_EQ(history().slots[1], std::string(256, 'z'));  // a longer line reads on as a further line
  EXPECT_EQ(history().slots[2], std::string(44, 'z'));
  EXPECT_EQ(history().count, 3);
}

}  // namespace
}  // namespace kiv
