// Start-up as the program runs it: option files of the user over the shared
// ones, settings written by one run read by the next, the start-up macro;
// and the program's command line as a user gives it: KIVCMDPREFIX, the
// options, the file names and their limits, and LOCATE, which /L runs.
#include "commands/program_command_line.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>

#include "commands/editor_start.h"
#include "commands/recent_lists.h"
#include "core/file_profile.h"
#include "core/line.h"
#include "core/task_life.h"
#include "screen/edit_panel.h"
#include "screen/screen_state.h"
#include "services/format.h"
#include "services/var_pool.h"
#include "support/editor_test.h"

namespace kiv {
namespace {

using ::testing::Contains;
using ::testing::HasSubstr;

// Lines "L1 abcdefghij..." to "Ln ...": each line says its number.
std::string numbered(int n) {
  std::string text;
  for (int i = 1; i <= n; ++i) text += format("L%d abcdefghijklmnopqrstuvwxyz\n", i);
  return text;
}

class ProgramCommandLineTest : public ::testing::Test {
 protected:
  ProgramCommandLineTest() {
    ::unsetenv("KIVCMDPREFIX");
    startEditor(s());
  }
  ~ProgramCommandLineTest() override { ::unsetenv("KIVCMDPREFIX"); }

  Session& s() { return t.session(); }
  int run(std::vector<std::string> args) { return processCommandLine(s(), args, cmd); }
  std::string last() { return t.lastMessage().text; }
  EditPanel& panel() { return *currentEditPanel(s()); }
  // The text of the line on the first data row and the character under the cursor.
  std::string topText() { return std::string(panel().lineAtRow(panel().firstDataRow)->text()); }
  char atCursor() {
    EditPanel& p = panel();
    Line* line = p.lineAtRow(p.cursorRow);
    std::size_t at = static_cast<std::size_t>(p.displayOffset() + p.cursorCol - 1 - p.prefixWidth());
    return line && at < line->text().size() ? line->text()[at] : '\0';
  }

  test::EditorTest t{24, 80};
  CommandLineRun cmd;
};

TEST_F(ProgramCommandLineTest, PrefixModeAppliesToEveryFileAndQuotedNamesKeepBlanks) {
  std::string a = t.file("a.txt", "a\n");
  std::string spaced = t.file("my file.txt", "b\n");
  ::setenv("KIVCMDPREFIX", ("/V \"" + spaced + "\"  ").c_str(), 1);
  EXPECT_EQ(run({a}), 0);
  ASSERT_EQ(s().tasks.size(), 2u);
  EXPECT_EQ(s().tasks[0]->path, spaced);  // the prefix comes first
  EXPECT_EQ(s().tasks[1]->path, a);
  for (auto& task : s().tasks) EXPECT_EQ(task->mode, TaskMode::View);
  EXPECT_EQ(varGet(s(), "ZEDITVIACMDLINE"), "TRUE");

  ::setenv("KIVCMDPREFIX", "/B \"unclosed", 1);
  EXPECT_EQ(run({a}), -1);
  EXPECT_EQ(last(), "Unmatched quote in the command line:\n\n/B \"unclosed");
  ::unsetenv("KIVCMDPREFIX");
  EXPECT_EQ(run({"'" + a}), -1);
  EXPECT_EQ(s().tasks.size(), 2u);
}

TEST_F(ProgramCommandLineTest, BrowseAtLineWithTheCursorInADataColumn) {
  std::string f = t.file("big.txt", numbered(200));
  varSet(s(), "ZEDIT.LCMDCOLS.BROWSE", "5");
  EXPECT_EQ(run({"/b", f, "/L(120,8)"}), 0);
  ASSERT_EQ(s().tasks.size(), 1u);
  EXPECT_EQ(s().currentTask()->mode, TaskMode::Browse);
  EXPECT_EQ(varGet(s(), "ZFLIST.MODE"), "Edit");  // the remembered mode is back
  EXPECT_EQ(topText(), "L120 abcdefghijklmnopqrstuvwxyz");
  EXPECT_EQ(panel().cursorRow, panel().firstDataRow);
  EXPECT_EQ(panel().cursorCol, 5 + 8);
  EXPECT_EQ(atCursor(), 'c');  // data column 8 of "L120 abc..."
  // LOCATE's own column puts the cursor where TS splits: the cases text-flow/split-*.

  // A column beyond the panel's width scrolls the data to it; past the end
  // of the file the last line shows.
  std::string wide = t.file("wide.txt", std::string(300, 'x') + "Y\n");
  EXPECT_EQ(run({"/L", "9,301", wide}), 0);
  EXPECT_GT(s().currentTask()->displayOffset, 0);
  EXPECT_EQ(atCursor(), 'Y');
  EXPECT_EQ(topText(), std::string(300, 'x') + "Y");
}

TEST_F(ProgramCommandLineTest, OptionValuesInEveryFormAndStartupCommands) {
  std::string a = t.file("a.txt", "a\n");
  std::string b = t.file("b.txt", numbered(10));
  t.file("options/kivfileprof.cobol.txt", t.read(std::string(KIV_SOURCE_SHARE) + "/Profiles/kivfileprof.txt.txt"));
  std::vector<std::string> ran;
  cmd.runCommand = [&](Session& x, const std::string& c) {
    ran.push_back(c);
    x.executeCommand(c);
  };
  EXPECT_EQ(run({"\"/Pcobol\"", "/i", "init", "/Xexitmac", "/S", "locate 4", a, "/R&.err",
                 "/Svarset ZCLTEST done", b, "/H", "/E", "/Z"}),
            0);
  EXPECT_EQ(s().tasks[0]->profile->name, "COBOL");  // the files of this command line
  EXPECT_EQ(varGet(s(), "ZFLIST.PROF"), "[Auto]");     // and not those of later runs
  EXPECT_EQ(varGet(s(), "ZCMDLINE.IMACRO"), "INIT");
  EXPECT_EQ(varGet(s(), "ZFLIST.OPTION.XMACRO"), "EXITMAC");
  EXPECT_EQ(ran, (std::vector<std::string>{"locate 4", "varset ZCLTEST done"}));
  EXPECT_EQ(varGet(s(), "ZCLTEST"), "done");
  EXPECT_EQ(s().tasks.size(), 2u);
  // /R ran once, on the first file; LOCATE 4 ran once b was open.
  int merges = 0;
  for (const std::string& m : t.messageTexts()) merges += m.find("MERGEMSG") != std::string::npos;
  EXPECT_EQ(merges, 1);
  EXPECT_EQ(topText(), "L4 abcdefghijklmnopqrstuvwxyz");
}

TEST_F(ProgramCommandLineTest, WordErrorsStopBeforeAnythingOpens) {
  std::string a = t.file("a.txt", "a\n");
  struct Case {
    std::vector<std::string> args;
    std::string message;
  };
  std::vector<std::string> many(33, "/nonexistent/f");
  const Case cases[] = {
      {{a, "/Q"}, "Invalid command option 'Q'."},
      {{a, "/Bx"}, "Command option /B takes no value:  /Bx"},
      {{a, "/P"}, "Command option /P requires a value."},
      {{a, "/L12x"}, "Not a line and column:  12x"},
      {{a, "/L(5,"}, "Not a line and column:  (5,"},
      {{a, std::string(256, 'n')}, "Drive+Path+Filename too long '" + std::string(256, 'n') + "'"},
      {many, "Max number of file names is limited to 32'"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(run(c.args), -1) << c.message;
    EXPECT_THAT(last(), HasSubstr(c.message));
  }
  EXPECT_TRUE(s().tasks.empty());
  // At the limits the names are taken: BROWSE refuses each missing file.
  many.resize(31);
  many.push_back(t.path(std::string(255 - t.dir().size() - 1, 'n')));
  many.insert(many.begin(), "/B");
  EXPECT_EQ(run(many), 0);
  EXPECT_EQ(cmd.notOpened, 32);
}

TEST_F(ProgramCommandLineTest, WildcardOrDirectoryEndsTheProcessing) {
  std::string a = t.file("a.txt", "a\n");
  std::string b = t.file("b.txt", "b\n");
  EXPECT_EQ(run({a, t.path("*.txt"), b, "/S", "varset ZCLTEST ran"}), -1);
  EXPECT_THAT(last(), HasSubstr("'" + t.path("*.txt") + "' cannot be listed"));
  ASSERT_EQ(s().tasks.size(), 1u);
  EXPECT_EQ(s().tasks[0]->path, a);
  EXPECT_EQ(varGet(s(), "ZCLTEST"), "");
  // "/tmp" names a directory, not the option T.
  EXPECT_EQ(run({"/tmp"}), -1);
  EXPECT_THAT(last(), HasSubstr("'/tmp' cannot be listed"));
}

TEST_F(ProgramCommandLineTest, SlashWordsDashDashAndRelativeNames) {
  // A "/" word with a further "/" is an absolute name, whatever its letter.
  std::string deep = t.file("q/x.txt", "x\n");
  ASSERT_EQ(deep[0], '/');
  EXPECT_EQ(run({deep}), 0);
  EXPECT_EQ(s().currentTask()->path, deep);
  // After "--" even /Q is a name (VIEW refuses the missing file).
  EXPECT_EQ(run({"/V", "--", "/Q"}), 0);
  EXPECT_EQ(cmd.notOpened, 1);
  EXPECT_THAT(t.messageTexts(), ::testing::Not(Contains("Invalid command option 'Q'.")));
  // A relative name is made absolute against the current directory.
  std::string here = std::filesystem::current_path().string();
  ASSERT_EQ(::chdir(t.dir().c_str()), 0);
  int result = run({"./q/../q/x.txt"});
  ASSERT_EQ(::chdir(here.c_str()), 0);
  EXPECT_EQ(result, 0);
  EXPECT_EQ(s().currentTask()->path, deep);
}

TEST(EditorStart, UserOptionFilesOverrideSharedOnesAndMiscIsWrittenAtExit) {
  test::EditorTest t;
  t.file("allusers/kivoptions.misc.txt", "ACTIONKEYENTER 3270Enter\nPFSHOW TRUE\n");
  t.file("options/kivoptions.misc.txt", "ACTIONKEYENTER CarriageReturn\n");
  startEditor(t.session());
  EXPECT_EQ(varGet(t.session(), "ZACTIONKEY.ENTER"), "CarriageReturn");  // the user's file
  EXPECT_EQ(varGet(t.session(), "ZPFSHOW.GLOBAL"), "FALSE");  // the shared file is not read
  EXPECT_EQ(varGet(t.session(), "ZPF03.MAP"), "End");         // built-in default
  EXPECT_EQ(varGet(t.session(), "ZALT.F"), "RESERVED*");
  varSet(t.session(), "ZFIND.LAST.STR1", "needle");
  stopEditor(t.session());
  EXPECT_NE(t.read("options/kivoptions.misc.txt").find("FINDLASTSTR1 needle"), std::string::npos);
}

TEST(EditorStart, StartupMacroIsLookedUpInTheOptionsDirectory) {
  test::EditorTest t;
  startEditor(t.session());
  runStartupMacro(t.session());
  EXPECT_TRUE(t.messages().empty());  // none: nothing said
  std::string macro = t.file("options/kivinit.c", "int main() { return 0; }\n");
  runStartupMacro(t.session());
  EXPECT_TRUE(t.lastMessage().text.ends_with("\n" + macro)) << t.lastMessage().text;
}

TEST(EditorStart, FileHistoryKeepsTheNewestFirstOnceEachAndIsWrittenAtExit) {
  test::EditorTest t;
  startEditor(t.session());
  std::string a = t.file("a.txt", "a\n"), b = t.file("b.txt", "b\n");
  for (const std::string& f : {a, b, a})
    ASSERT_NE(createTask(t.session(), f, TaskMode::Browse), nullptr);
  EXPECT_EQ(t.session().fileHistory.entries, (std::vector<std::string>{a, b}));
  stopEditor(t.session());
  EXPECT_EQ(t.read("options/KivFileHistory.txt"), a + "\n" + b + "\n");

  t.file("options/KivPathHistory.txt", std::string(300, 'p') + "\n\n/one\n");
  t.file("options/KivTypeHistory.txt", "\n\n\n");
  loadRecentLists(t.session());
  EXPECT_EQ(t.session().fileHistory.entries, (std::vector<std::string>{a, b}));
  // A line past the name limit reads on as further lines; empty lines are skipped.
  EXPECT_EQ(t.session().pathHistory.entries.back(), "/one");
  EXPECT_EQ(t.session().pathHistory.entries.size(), 3u);
  EXPECT_TRUE(t.session().typeHistory.entries.empty());
}

}  // namespace
}  // namespace kiv
