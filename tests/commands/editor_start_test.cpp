// Start-up as the program runs it: option files of the user over the shared
// ones, settings written by one run read by the next, the start-up macro.
#include "commands/editor_start.h"

#include <gtest/gtest.h>

#include "commands/recent_lists.h"
#include "core/task_life.h"
#include "services/var_pool.h"
#include "support/editor_test.h"

namespace kiv::test {
namespace {

TEST(EditorStart, UserOptionFilesOverrideSharedOnesAndMiscIsWrittenAtExit) {
  EditorTest t;
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
  EditorTest t;
  startEditor(t.session());
  runStartupMacro(t.session());
  EXPECT_TRUE(t.messages().empty());  // none: nothing said
  std::string macro = t.file("options/kivinit.c", "int main() { return 0; }\n");
  runStartupMacro(t.session());
  EXPECT_TRUE(t.lastMessage().text.ends_with("\n" + macro)) << t.lastMessage().text;
}

TEST(EditorStart, FileHistoryKeepsTheNewestFirstOnceEachAndIsWrittenAtExit) {
  EditorTest t;
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
}  // namespace kiv::test
