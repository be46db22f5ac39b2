#include "commands/aliases.h"

#include <gtest/gtest.h>

#include <string>

#include "commands/command_state.h"
#include "services/option_group.h"
#include "support/editor_test.h"

namespace kiv {
namespace {

class AliasTest : public ::testing::Test {
 protected:
  Session& s() { return t.session(); }
  std::vector<Alias>& commandAliases() { return commandState(s()).commandAliases; }
  std::string groupPath(std::string_view group) {
    return t.optionsDir() + "/" + optionGroupFileName(group);
  }

  test::EditorTest t;
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

TEST_F(AliasTest, RefusedLineRewritesTheFile) {
  t.file("options/" + optionGroupFileName("AliasCmds"), "FF FIND\r\nSAVE QUIT\n\nQQ   QUIT\n");
  loadCommandAliases(s());
  ASSERT_EQ(commandAliases().size(), 2u);
  EXPECT_EQ(commandAliases()[1].command, "QUIT");
  EXPECT_EQ(t.read(groupPath("AliasCmds")), "FF FIND\nQQ QUIT\n");
}

TEST_F(AliasTest, GoodFileIsLeftAlone) {
  t.file("options/" + optionGroupFileName("AliasCmds"), "FF   FIND\n");
  loadCommandAliases(s());
  ASSERT_EQ(commandAliases().size(), 1u);
  EXPECT_EQ(t.read(groupPath("AliasCmds")), "FF   FIND\n");
  EXPECT_TRUE(t.messages().empty());
}

TEST_F(AliasTest, ProfileAliasesLoadWithoutCheck) {
  t.file("options/" + optionGroupFileName("AliasProfs"), "PRN TXT\nFIND COBOL\n");
  loadProfileAliases(s());
  ASSERT_EQ(s().profileAliases.size(), 2u);
  EXPECT_EQ(s().profileAliases[1].name, "FIND");
  EXPECT_EQ(s().profileAliases[1].command, "COBOL");
}

TEST_F(AliasTest, SaveFailureIsReported) {
  commandAliases().push_back({"FF", "FIND"});
  ASSERT_EQ(saveCommandAliases(s()), 0);
  EXPECT_EQ(t.read(groupPath("AliasCmds")), "FF FIND\n");
  s().dirs.options = t.path("no/such/dir");
  EXPECT_EQ(saveCommandAliases(s()), -1);
  EXPECT_EQ(t.lastMessage().id, "OPTIONS5");
  EXPECT_EQ(t.lastMessage().text, "Unable to write option file 'AliasCmds'");
}

}  // namespace
}  // namespace kiv
