// The key-map groups: any variable a line names, the defaults of empty maps,
// the Alt keys of the menu bar, and the writer's order.
#include "options/key_map_group.h"
#include "options_fixture.h"

namespace kiv::test {
namespace {

using KeyMapGroupsTest = OptionsTest;

TEST_F(KeyMapGroupsTest, PfKeysReadDefaultsAndWriteMapBeforeLabel) {
  group("PFKeys",
        "zpf02.map   Split V  \n"
        "ZPF02.LABEL Split\n"
        "ZPF03.MAP\n"
        "ZPF30.MAP Find x\n"
        "9bad value\n"
        "ZPF-1.MAP y\n"
        "ZPF99.LABEL anything goes\n");
  readKeyMapGroup(s, pfKeysGroup());
  EXPECT_EQ(var("ZPF02.MAP"), "Split V  ");
  EXPECT_EQ(var("ZPF03.MAP"), "End");  // empty in the file: default
  EXPECT_EQ(var("ZPF24.MAP"), "Retrieve Back");
  EXPECT_EQ(var("ZPF40.MAP"), "Exit");
  EXPECT_EQ(var("ZPF25.MAP"), "");
  EXPECT_EQ(var("ZPF99.LABEL"), "anything goes");  // no check of the name
  EXPECT_EQ(var("ZNULLVAR"), "");
  EXPECT_TRUE(t.messages().empty());

  ASSERT_EQ(writeKeyMapGroup(s, pfKeysGroup()), 0);
  std::string text = readGroup("PFKeys");
  EXPECT_TRUE(
      text.starts_with("ZPF01.MAP Help\nZPF02.MAP Split V  \nZPF02.LABEL Split\n"
                       "ZPF03.MAP End\n"))
      << text;
  EXPECT_NE(text.find("\nZPF24.MAP Retrieve Back\nZPF30.MAP Find x\nZPF40.MAP Exit\n"),
            std::string::npos);
  EXPECT_EQ(text.find("ZPF99"), std::string::npos);

  // What was written reads back the same.
  varSet(s, "ZPF02.MAP", "");
  varSet(s, "ZPF30.MAP", "");
  readKeyMapGroup(s, pfKeysGroup());
  EXPECT_EQ(var("ZPF02.MAP"), "Split V  ");
  EXPECT_EQ(var("ZPF30.MAP"), "Find x");
}

TEST_F(KeyMapGroupsTest, MenuBarAltKeysStayReservedAndCtrlKeysHaveDefaults) {
  group("AltKeys", "ZALT.F FILELIST\nZALT.h help\nZALT.X EXIT\nZALT.SLASHBACK TOP\n");
  group("CtrlKeys", "ZCTRL.S FILE\n");
  readKeyMapGroup(s, altKeysGroup());
  readKeyMapGroup(s, ctrlKeysGroup());
  for (const char* key : {"ZALT.F", "ZALT.E", "ZALT.S", "ZALT.U", "ZALT.W", "ZALT.O", "ZALT.H"})
    EXPECT_EQ(var(key), "RESERVED*") << key;
  EXPECT_EQ(var("ZCTRL.S"), "FILE");
  EXPECT_EQ(var("ZCTRL.DEL"), "DELEOL");

  ASSERT_EQ(writeKeyMapGroup(s, altKeysGroup()), 0);
  std::string text = readGroup("AltKeys");
  EXPECT_TRUE(text.starts_with("ZALT.E RESERVED*\nZALT.F RESERVED*\nZALT.H RESERVED*\n")) << text;
  EXPECT_TRUE(text.ends_with("ZALT.X EXIT\nZALT.SLASHBACK TOP\n")) << text;
}

}  // namespace
}  // namespace kiv::test
