// The session started (its directories, the variables kept from the last
// run), tasks made, ended and swapped, the frame stack they live on, and the
// recovery of a task stopped with unsaved lines.
#include "core/task_life.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

#include "core/file_load_fixture.h"
#include "core/file_profile.h"
#include "core/file_save.h"
#include "core/frame_stack.h"
#include "core/line.h"
#include "core/line_ops.h"
#include "core/recovery.h"
#include "core/session.h"
#include "core/startup.h"
#include "services/global_profile.h"
#include "services/messages.h"
#include "services/var_pool.h"
#include "support/editor_test.h"

namespace fs = std::filesystem;

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

// END's questions and saves, CANCEL, VIEW, new files left empty and the
// command-line mark cleared are checked by the case directories of tests/cases/tasks.
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

// SWAP, SWAPBACK and SWAPDIRECT round three tasks, two on one file, and the
// task below coming back on top after END: the cases of tests/cases/task-commands.

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

// The frame stack: frames opened over a task are owned by it; a task's frame
// is raised, never popped, and leaves only by removal.
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

class StartupTest : public ::testing::Test {
 protected:
  StartupTest() {
    // An installation of its own: <prefix>/bin/kiv beside <prefix>/share/kiv.
    t.file("prefix/bin/kiv", "");
    t.file("prefix/share/kiv/System/kivoptions.misc.txt", "ACTIONKEYENTER 3270Enter\n");
    t.file("prefix/share/kiv/System/Profiles/kivfileprof.txt.txt", "Recfm=VARIABLE\n");
    env.programPath = t.path("prefix/bin/kiv");
    env.home = t.path("home");
    env.userName = "tester";
  }

  Session& s() { return t.session(); }
  std::string install() const { return t.path("prefix/share/kiv"); }

  test::EditorTest t;
  StartupEnvironment env;
};

TEST_F(StartupTest, InstallDirectoryFollowsTheProgram) {
  EXPECT_EQ(installDirFor(t.path("prefix/bin/kiv")), install());
  EXPECT_EQ(installDirFor(t.path("other/bin/kiv")), KIV_SOURCE_SHARE) << "no share/kiv there";
  EXPECT_EQ(installDirFor(""), KIV_SOURCE_SHARE);
}

TEST_F(StartupTest, NewUserDirectoryIsCreatedAndFilledFromSystem) {
  t.clearMessages();
  ASSERT_EQ(startDirectories(s(), env), 0);
  std::string options = t.path("home/.config/kiv");
  EXPECT_EQ(s().dirs.options, options);
  EXPECT_EQ(s().dirs.install, install());
  EXPECT_EQ(s().dirs.allUsers, install() + "/System");
  EXPECT_EQ(varGet(s(), "ZKIVEXE"), env.programPath);
  EXPECT_EQ(t.read(options + "/kivoptions.misc.txt"), "ACTIONKEYENTER 3270Enter\n");
  EXPECT_EQ(t.read(options + "/Profiles/kivfileprof.txt.txt"), "Recfm=VARIABLE\n");
  ASSERT_EQ(t.messages().size(), 1u);
  EXPECT_EQ(t.lastMessage().text,
            "Created KIV options directory for user:  tester\n\n" + options + "\n\n");

  // The second start finds it and leaves the user's changes alone.
  t.file(options + "/kivoptions.misc.txt", "mine\n");
  t.clearMessages();
  ASSERT_EQ(startDirectories(s(), env), 0);
  EXPECT_TRUE(t.messages().empty());
  EXPECT_EQ(t.read(options + "/kivoptions.misc.txt"), "mine\n");
}

TEST_F(StartupTest, XdgConfigHomeWinsWhenAbsolute) {
  env.xdgConfigHome = t.path("xdg");
  ASSERT_EQ(startDirectories(s(), env), 0);
  EXPECT_EQ(s().dirs.options, t.path("xdg/kiv"));
  EXPECT_TRUE(fs::is_directory(t.path("xdg/kiv")));

  env.xdgConfigHome = "relative/xdg";
  ASSERT_EQ(startDirectories(s(), env), 0);
  EXPECT_EQ(s().dirs.options, t.path("home/.config/kiv")) << "a relative XDG_CONFIG_HOME is ignored";
}

TEST_F(StartupTest, FatalErrorsReturnMinusOne) {
  env.home.reset();
  EXPECT_EQ(startDirectories(s(), env), -1);
  EXPECT_EQ(t.lastMessage().text,
            "Unable to obtain KIV options path for specific user from system variable:\n\nHOME");

  t.file("home", "a file where the directory should be");
  env.home = t.path("home");
  EXPECT_EQ(startDirectories(s(), env), -1);
  EXPECT_EQ(t.lastMessage().text, "Unable to create KIV options path:\n\n" + t.path("home/.config/kiv"));
}

TEST_F(StartupTest, KivorwMustExistAndDifferFromTheInstallation) {
  env.kivorw = t.path("mine");
  EXPECT_EQ(startDirectories(s(), env), -1);
  EXPECT_EQ(t.lastMessage().text, "KIV options path from environment variable:\n\nKIVORW  =  " +
                                      t.path("mine") +
                                      "\n\nError, this path does not exist.  Can not continue.");
  EXPECT_FALSE(fs::exists(t.path("mine"))) << "KIVORW is never created";

  env.kivorw = t.path("prefix/share/kiv/../kiv/");
  EXPECT_EQ(startDirectories(s(), env), -1);
  EXPECT_EQ(t.lastMessage().text,
            "KIV options path from environment variable:\n\nKIVORW  =  " + *env.kivorw +
                "\n\nError, not allowed to have KIV options path same as KIV install directory.  "
                "Can not continue.");

  fs::create_directories(t.path("mine"));
  env.kivorw = t.path("mine");
  t.clearMessages();
  ASSERT_EQ(startDirectories(s(), env), 0);
  EXPECT_EQ(s().dirs.options, t.path("mine"));
  EXPECT_FALSE(fs::exists(t.path("mine/kivoptions.misc.txt"))) << "KIVORW is used as it is";
  EXPECT_FALSE(fs::exists(t.path("home"))) << "no XDG directory is made";
  EXPECT_TRUE(t.messages().empty());
}

TEST_F(StartupTest, PersistentVariablesSurviveARestart) {
  ASSERT_EQ(startSession(s(), env), 0);
  varSet(s(), "ZTEST.KEPT", "value");
  varMakePersistent(s(), "ZTEST.KEPT");
  ASSERT_EQ(shutdownSession(s()), 0);
  EXPECT_TRUE(fs::exists(t.path("home/.config/kiv/") + kGlobalProfileName));

  test::EditorTest again;
  ASSERT_EQ(startSession(again.session(), env), 0);
  EXPECT_EQ(varGet(again.session(), "ZTEST.KEPT"), "value");
}

}  // namespace
}  // namespace kiv
