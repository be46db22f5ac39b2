// The Display, Misc, Flist and General groups: their tables and the rules of
// their own.
#include <gmock/gmock.h>

#include "options/keyword_group.h"
#include "options_fixture.h"

namespace kiv::test {
namespace {

using KeywordGroupsTest = OptionsTest;

TEST_F(KeywordGroupsTest, MsgRowKeepsOnlyItsTwoValues) {
  const std::pair<std::string, std::string> cases[] = {
      {"MsgRow 1 Below Primary Command", "1 Below Primary Command"},
      {"msgrow 2 Bottom of Window", "2 Bottom of Window"},
      {"MsgRow 1 below primary command", "2 Bottom of Window"},
      {"MsgRow 1", "2 Bottom of Window"},
      {"MsgRow", "2 Bottom of Window"},
      {"Other x", "2 Bottom of window"},  // no MsgRow line: the default
  };
  for (const auto& [line, expected] : cases) {
    varSet(s, "ZMSGROW", "");
    group("Display", line + "\n");
    readKeywordGroup(s, displayGroup());
    EXPECT_EQ(var("ZMSGROW"), expected) << line;
  }
  EXPECT_TRUE(t.messages().empty());
}

TEST_F(KeywordGroupsTest, AdjustAbove99IsResetTheFileRewrittenAndTheUserTold) {
  group("Display", "AdjustXpos 150\nAdjustYpos -99\nMenuStyle MenuBar\n");
  readKeywordGroup(s, displayGroup());
  EXPECT_EQ(var("ZADJUSTXPOS"), "0");
  EXPECT_EQ(var("ZADJUSTYPOS"), "-99");
  EXPECT_THAT(t.messageTexts(), ::testing::ElementsAre("Option DISPLAY, main window horizontal "
                                                       "adjust value must be in range 1..99"));
  std::string text = readGroup("Display");
  EXPECT_TRUE(
      text.starts_with("MenuStyle MenuBar\nOffScreen AutoRecoverNotify\n"
                       "AdjustXpos 0\nAdjustYpos -99\n"))
      << text;

  t.clearMessages();
  group("Display", "AdjustXpos +7\nAdjustYpos -1000000000000000000000\n");
  readKeywordGroup(s, displayGroup());
  EXPECT_EQ(var("ZADJUSTXPOS"), "+7");
  EXPECT_EQ(var("ZADJUSTYPOS"), "0");
  EXPECT_THAT(t.messageTexts(), ::testing::ElementsAre("Option DISPLAY, main window vertical "
                                                       "adjust value must be in range 1..99"));
}

TEST_F(KeywordGroupsTest, KeysInAnyCaseAndJunkAround) {
  group("Misc",
        "actionkeyenter 3270Enter\n"
        "BackSpace   NONDESTRUCTIVE \r\n"
        "\n"
        "   leading blanks make an empty key\n"
        "NOSUCHKEY value\n"
        "PATHMACROS " +
            std::string(300, 'm') +
            "\n"
            "COLORSCHEME MINE\n");
  readKeywordGroup(s, miscGroup());
  EXPECT_EQ(var("ZACTIONKEY.ENTER"), "3270Enter");
  EXPECT_EQ(var("ZBACKSPACE"), "NONDESTRUCTIVE ");
  EXPECT_EQ(var("ZPATH.MACROS"),
            std::string(255 - 11, 'm'));  // the rest of the line is a piece of its own
  EXPECT_EQ(var("ZCOLORSCHEME"), "MINE");
  EXPECT_EQ(var("ZACTIONKEY.RIGHTCTRL"), "3270Enter");  // default
  EXPECT_FALSE(varExists(s, "NOSUCHKEY"));
  EXPECT_TRUE(t.messages().empty());

  ASSERT_EQ(writeKeywordGroup(s, miscGroup()), 0);
  EXPECT_THAT(readGroup("Misc"),
              ::testing::HasSubstr("\nBACKSPACE NONDESTRUCTIVE \nBACKUP FILEPROF\n"));
}

TEST_F(KeywordGroupsTest, FlistConvertsConfirmDeleteAndKeepsLineCommands) {
  const std::pair<std::string, std::string> cases[] = {
      {"TRUE", "Confirm individual files"}, {"FALSE", "No confirm"}, {"true", "true"}};
  for (const auto& [written, expected] : cases) {
    group("Flist", "ConfirmDelete " + written + "\n");
    readKeywordGroup(s, flistGroup());
    EXPECT_EQ(var("ZFLIST.OPTION.CONFIRMDELETE"), expected) << written;
  }

  group("Flist",
        "lcmdab EDIT /\nLCMDA9 SUBMIT  x\nLCMDA \nLCMDA! bang\nLCMDAZZ two\n"
        "MaxEntries 500\n");
  readKeywordGroup(s, flistGroup());
  EXPECT_EQ(var("ZFLIST.OPTION.LCMD.AB"), "EDIT /");
  EXPECT_EQ(var("ZFLIST.OPTION.LCMD.A9"), "SUBMIT  x");
  EXPECT_FALSE(varExists(s, "ZFLIST.OPTION.LCMD.AZ"));
  ASSERT_EQ(writeKeywordGroup(s, flistGroup()), 0);
  std::string text = readGroup("Flist");
  EXPECT_TRUE(
      text.ends_with("STARTROOT TRUE\nEXTSEPARATE FALSE\nLCMDAB EDIT /\nLCMDA9 SUBMIT  x\n"))
      << text;

  varSet(s, "ZFLIST.OPTION.LCMD.AB", "");
  varSet(s, "ZFLIST.OPTION.MAXENTRIES", "");
  readKeywordGroup(s, flistGroup());
  EXPECT_EQ(var("ZFLIST.OPTION.LCMD.AB"), "EDIT /");
  EXPECT_EQ(var("ZFLIST.OPTION.MAXENTRIES"), "500");
  EXPECT_EQ(var("ZFLIST.OPTION.MAXNAMELEN"), "Auto");
}

}  // namespace
}  // namespace kiv::test
