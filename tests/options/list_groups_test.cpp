// The list groups and the display codes.
#include "options/list_groups.h"

#include <gmock/gmock.h>

#include "options/display_codes.h"
#include "options_fixture.h"
#include "services/format.h"

namespace kiv::test {
namespace {

using ListGroupsTest = OptionsTest;

TEST_F(ListGroupsTest, FiltersBuiltInWithoutAFileAndTwelveAtMost) {
  varSet(s, "ZFILTERS.FILETYPE.12", "stale");
  readFiltersGroup(s);
  EXPECT_EQ(var("ZFILTERS.FILETYPE.1"), "*.*");
  EXPECT_EQ(var("ZFILTERS.ANNOTATE.4"), "C++ and C Program Source");
  EXPECT_EQ(var("ZFILTERS.FILETYPE.11"), "*.cbl;*.cpy");
  EXPECT_EQ(var("ZFILTERS.ANNOTATE.11"), "COBOL All");
  EXPECT_EQ(var("ZFILTERS.FILETYPE.12"), "");

  std::string lines = "\n";  // a blank line names no filter
  for (int n = 1; n <= 15; ++n) lines += format("*.t%d  Type %d\n", n, n);
  group("Filters", lines);
  readFiltersGroup(s);
  EXPECT_EQ(var("ZFILTERS.FILETYPE.1"), "*.t1");
  EXPECT_EQ(var("ZFILTERS.ANNOTATE.1"), "Type 1");
  EXPECT_EQ(var("ZFILTERS.FILETYPE.12"), "*.t12");
  EXPECT_FALSE(varExists(s, "ZFILTERS.FILETYPE.13"));

  varSet(s, "ZFILTERS.FILETYPE.3", "");  // the list ends at its first gap
  ASSERT_EQ(writeFiltersGroup(s), 0);
  EXPECT_EQ(readGroup("Filters"), "*.t1 Type 1\n*.t2 Type 2\n");
}

TEST_F(ListGroupsTest, PathAssociatePairsRoundTrip) {
  group("PathAssociate", "PATH /src/cobol\nPROF COBOL\nREM note\nPATH /data dir\nPROF FB80\n");
  readPathAssociateGroup(s);
  EXPECT_EQ(var("ZPATH.ASSOCIATE.PATH2"), "/data dir");
  EXPECT_EQ(var("ZPATH.ASSOCIATE.PROF2"), "FB80");
  ASSERT_EQ(writePathAssociateGroup(s), 0);
  EXPECT_EQ(readGroup("PathAssociate"), "PATH /src/cobol\nPROF COBOL\nPATH /data dir\nPROF FB80\n");
}

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

TEST_F(ListGroupsTest, SaveDeletedTypesBuiltInUnlessTheFileNamesSome) {
  readSaveDeletedTypesGroup(s);
  EXPECT_EQ(saveDeletedTypes(s).size(), 18u);
  EXPECT_EQ(saveDeletedTypes(s).front(), "ASM");
  group("SaveDeletedTypes", "SaveDeleted=FALSE\n\n");
  readSaveDeletedTypesGroup(s);
  EXPECT_EQ(var("ZSAVEDELETED"), "FALSE");
  EXPECT_EQ(saveDeletedTypes(s).back(), "XML");

  group("SaveDeletedTypes", "CBL\nSaveDeleted=TRUE\n  py \n");
  readSaveDeletedTypesGroup(s);
  EXPECT_EQ(var("ZSAVEDELETED"), "TRUE");
  EXPECT_THAT(saveDeletedTypes(s), ::testing::ElementsAre("CBL", "py"));
  ASSERT_EQ(writeSaveDeletedTypesGroup(s), 0);
  EXPECT_EQ(readGroup("SaveDeletedTypes"), "SaveDeleted=TRUE\nCBL\npy\n");
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
