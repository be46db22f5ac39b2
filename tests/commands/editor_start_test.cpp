// Start-up as the program runs it: option files of the user over the shared
// ones, settings written by one run read by the next, the start-up macro.
#include <gtest/gtest.h>

#include "commands/editor_start.h"
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
  EXPECT_EQ(t.lastMessage().text, "Macros are not available yet, macro not run:\n\n" + macro);
}

}  // namespace
}  // namespace kiv::test
