// Choosing the profile of a file: the file list's profile, extensions and
// aliases, directory association, PRN, and the fallbacks.
#include <gtest/gtest.h>

#include <filesystem>

#include "core/profile_choice.h"
#include "services/var_pool.h"
#include "support/editor_test.h"

namespace kiv {
namespace {

class ProfileChoiceTest : public ::testing::Test {
 protected:
  ProfileChoiceTest() {
    varSet(t.session(), "ZPATH.FILEPROFILES", t.dir() + "/profiles");
    for (const char* name : {"cob", "prn"}) t.file(profileFile(name), "Recfm=FIXED\n");
  }
  static std::string profileFile(std::string_view name) {
    return "profiles/kivfileprof." + std::string(name) + ".txt";
  }
  std::string choose(std::string_view relPath) {
    return chooseProfile(t.session(), t.path(relPath));
  }
  void set(std::string_view var, std::string_view value) { varSet(t.session(), var, value); }

  test::EditorTest t;
};

TEST_F(ProfileChoiceTest, FileListProfileThenExtensionThroughAliases) {
  set("ZFLIST.PROF", "cob");
  EXPECT_EQ(choose("a.txt"), "COB");
  set("ZFLIST.PROF", "[Auto]");
  t.session().profileAliases.push_back({"CBL", "cob"});
  EXPECT_EQ(choose("src/prog.cbl"), "COB");
  EXPECT_EQ(choose("archive.tar.CoB"), "COB");
  EXPECT_EQ(choose("a.123"), "NUMBER");
  EXPECT_EQ(choose("a.x1"), "TXT");
  EXPECT_EQ(choose("dir.d/REPORT"), "NOTYPE");  // a period of a directory is no extension
  EXPECT_EQ(choose("REPORT."), "NOTYPE");
  t.file(profileFile("report"), "");
  EXPECT_EQ(choose("a.report"), "REPORT");
  EXPECT_EQ(t.messages().size(), 0u);
}

TEST_F(ProfileChoiceTest, NoMatchSettingDecidesTheFallback) {
  set("ZEDIT.NOMATCHONFILEPROF", "SYSTEM");
  EXPECT_EQ(choose("a.zz"), "TXT");
  EXPECT_EQ(t.messages().size(), 0u);
  set("ZEDIT.NOMATCHONFILEPROF", "PROMPT");
  EXPECT_EQ(choose("a.zz"), "TXT");
  EXPECT_EQ(t.lastMessage().id, "FILEPROF20");
  EXPECT_EQ(t.lastMessage().text,
            "Option 'Editor', field 'NoMatchOnFileProf', value PROMPT not supported.\n\n"
            "File Profile 'TXT' will be used.");
  set("ZEDIT.NOMATCHONFILEPROF", "CREATE");
  EXPECT_EQ(choose("NOEXT"), "NOTYPE");
  EXPECT_EQ(t.lastMessage().text,
            "Option 'Editor', field 'NoMatchOnFileProf', value CREATE not supported.\n\n"
            "File Profile 'NOTYPE' will be used.");
  set("ZEDIT.NOMATCHONFILEPROF", "cob");
  EXPECT_EQ(choose("a.zz"), "COB");
}

TEST_F(ProfileChoiceTest, PrnBecomesTxtWithANoticeOnceASession) {
  EXPECT_EQ(choose("list.prn"), "TXT");  // even though a PRN profile exists
  ASSERT_EQ(t.messages().size(), 1u);
  EXPECT_EQ(t.lastMessage().text,
            "File profile PRN automatically aliased to TXT to avoid collision with reserved "
            "system name.\n\nTo set a different alias, invoke OPTIONS, item ALIAS PROFILES.");
  set("ZFLIST.PROF", "prn");
  EXPECT_EQ(choose("other.c"), "TXT");
  EXPECT_EQ(t.messages().size(), 1u);
}

TEST_F(ProfileChoiceTest, DirectoryAssociationForFilesWithoutExtension) {
  EXPECT_EQ(choose("cobsrc/PAYROLL"), "NOTYPE");  // association not in force
  set("ZPATH.ASSOCIATE.PATH1", t.dir() + "/other");
  set("ZPATH.ASSOCIATE.PROF1", "prn");
  set("ZPATH.ASSOCIATE.PATH2", t.dir() + "/cobsrc//");
  set("ZPATH.ASSOCIATE.PROF2", "cob");
  EXPECT_EQ(choose("cobsrc/./sub/../PAYROLL"), "COB");
  EXPECT_EQ(choose("other/PAYROLL"), "TXT");
  EXPECT_EQ(choose("cobsrc/sub/PAYROLL"), "NOTYPE");  // only the directory itself
  EXPECT_EQ(choose("cobsrc/pay.zz"), "TXT");          // an extension decides first
  // The search ends at the first empty PATHn; an empty PATH1 turns it off.
  set("ZPATH.ASSOCIATE.PATH2", "");
  set("ZPATH.ASSOCIATE.PATH3", t.dir() + "/cobsrc");
  set("ZPATH.ASSOCIATE.PROF3", "cob");
  EXPECT_EQ(choose("cobsrc/PAYROLL"), "NOTYPE");
  set("ZPATH.ASSOCIATE.PATH1", "");
  set("ZPATH.ASSOCIATE.PATH2", t.dir() + "/cobsrc");
  EXPECT_EQ(choose("cobsrc/PAYROLL"), "NOTYPE");
}

}  // namespace
}  // namespace kiv
