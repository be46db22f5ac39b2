// RegExt (its own path and line limit) and the display codes; the other
// list groups are cases of option_group_files.txt.
#include "options/list_groups.h"

#include "options/display_codes.h"
#include "options_fixture.h"

namespace kiv::test {
namespace {

using ListGroupsTest = OptionsTest;

TEST_F(ListGroupsTest, RegExtAlongTheProfilePathInEntriesOfThree) {
  setSearchPaths(s);
  std::string longCommand(390, 'x');
  t.file(t.optionsDir() + "/kivoptions.regext.txt",
         "  Extension=.cbl\nInterpret=\nnoise\nExecute=" + longCommand +
             "\n"
             "Extension=.jcl\nInterpret=submit\n");  // an unfinished entry
  readRegExtGroup(s);
  EXPECT_EQ(var("ZREGEXT.0"), "1");
  EXPECT_EQ(var("ZREGEXT.EXTENSION.1"), ".cbl");
  EXPECT_EQ(var("ZREGEXT.EXECUTE.1"), longCommand);

  varSet(s, "ZREGEXT.0", "5");  // more than there are: the list ends at an empty entry
  ASSERT_EQ(writeRegExtGroup(s), 0);
  EXPECT_EQ(t.read(t.optionsDir() + "/kivoptions.regext.txt"),
            "Extension=.cbl\nInterpret=\nExecute=" + longCommand +
                "\nExtension=.jcl\nInterpret=submit\nExecute=\n");
}

TEST_F(ListGroupsTest, DisplayCodesFillTheTableAndWriteEveryEntry) {
  EXPECT_EQ(displayCodesGroupName(" Courier New "), "DisplayCodes.CourierNew");
  group("DisplayCodes.CourierNew", "065 097\n7 250\n256 1\n1 -2\n2 3 4\nx 5\n10\n");
  DisplayCodes codes = readDisplayCodes(s, "Courier New");
  EXPECT_EQ(codes.code[65], 97);
  EXPECT_EQ(codes.code[7], 250);
  EXPECT_EQ(codes.code[1], 1);
  EXPECT_EQ(codes.code[2], 2);
  EXPECT_EQ(codes.code[255], 255);

  ASSERT_EQ(writeDisplayCodes(s, "Courier New", codes), 0);
  std::string text = readGroup("DisplayCodes.CourierNew");
  EXPECT_EQ(text.size(), 256u * 8);
  EXPECT_TRUE(text.starts_with("000 000\n001 001\n")) << text.substr(0, 16);
  EXPECT_NE(text.find("\n065 097\n"), std::string::npos);

  EXPECT_EQ(writeDisplayCodes(s, "../evil/face", codes), -1);
  EXPECT_EQ(t.lastMessage().text, "Unable to write option file 'DisplayCodes.../evil/face'");
}

}  // namespace
}  // namespace kiv::test
