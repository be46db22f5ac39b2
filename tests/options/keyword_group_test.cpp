#include "options/keyword_group.h"

#include "services/services_fixture.h"
#include "services/var_pool.h"

namespace kiv::test {
namespace {

using KeywordGroupTest = ServicesTest;

TEST_F(KeywordGroupTest, FileValuesWinAndDefaultsFillTheRest) {
  // A shipped default file below the user's file: the user's wins whole.
  write(services.dirs.install + "/Profiles/kivoptions.editor.txt", "EditWriteLock FALSE\n");
  write(services.dirs.options + "/kivoptions.editor.txt",
        "scrollmodevertical   HALF page  \r\n"
        "PromptOnCancel\n"
        "UnknownKey x\n"
        "junk line without a known key\n"
        "ColorCursorLine " + std::string(300, 'c') + "\n");
  varSet(services, "ZEDIT.UNDO", "FALSE");  // set before, e.g. by the global profile
  readKeywordGroup(services, editorGroup());

  EXPECT_EQ(varGet(services, "ZEDIT.SCROLL.V.MODE"), "HALF page  ");
  EXPECT_EQ(varGet(services, "ZEDIT.PROMPTONCANCEL"), "TRUE");  // empty in the file: default
  EXPECT_EQ(varGet(services, "ZEDIT.WRITELOCK"), "TRUE");       // the shipped file is not read
  EXPECT_EQ(varGet(services, "ZEDIT.UNDO"), "FALSE");
  EXPECT_EQ(varGet(services, "ZEDIT.COLORCURSORLINE").size(), 255u - 16u);
  EXPECT_FALSE(varFind(services, "ZEDIT.LCMDCOLS.EDIT").persistent());
  EXPECT_FALSE(varExists(services, "UNKNOWNKEY"));
  EXPECT_TRUE(platform.messages().empty());
}

TEST_F(KeywordGroupTest, WriterWritesEveryKeyInOrder) {
  readKeywordGroup(services, editorGroup());
  varSet(services, "ZEDIT.NEWEDITS", "");
  varSet(services, "ZEDIT.SCROLL.H.MODE", "CSR");
  ASSERT_EQ(writeKeywordGroup(services, editorGroup()), 0);
  std::string text = read(services.dirs.options + "/kivoptions.editor.txt");
  EXPECT_TRUE(text.starts_with("NewEdits \nNoMatchOnFileProf SYSTEM\n")) << text;
  EXPECT_NE(text.find("\nScrollModeHorizontal CSR\n"), std::string::npos);
  EXPECT_TRUE(text.ends_with("StickyEdits FALSE\n"));
}

}  // namespace
}  // namespace kiv::test
