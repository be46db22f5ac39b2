// Profiles where the cases cannot look. Reading and writing profile files
// (the profile cases are tests/cases/profile-*): the fallbacks along the
// path, fields the written text leaves out, the message frame with its line
// breaks, and the writer's own rules (the directory it writes to, locks,
// names, the mask-line quote, the shipped profiles). Choosing the profile of
// a file: the file list's profile, extensions and aliases, directory
// association, PRN, and the fallbacks. BOUNDS without a profile.
#include <gtest/gtest.h>

#include <filesystem>

#include "core/bounds.h"
#include "core/line_ops.h"
#include "core/profile_choice.h"
#include "core/profile_read.h"
#include "core/profile_write.h"
#include "services/var_pool.h"
#include "support/editor_test.h"
#include "support/unwritable_dir.h"

namespace kiv {
namespace {

class ProfileFileTest : public ::testing::Test {
 protected:
  ProfileFileTest() {
    std::filesystem::create_directories(t.dir() + "/profiles");
    varSet(t.session(), "ZPATH.FILEPROFILES", t.dir() + "/profiles;" + t.dir() + "/second");
  }
  void profile(std::string_view name, std::string_view text) {
    t.file("profiles/kivfileprof." + std::string(name) + ".txt", text);
  }
  std::unique_ptr<FileProfile> read(std::string_view text) {
    profile("test", text);
    t.clearMessages();
    return readProfile(t.session(), "test");
  }
  std::string written() { return t.read("profiles/kivfileprof.cob.txt"); }

  test::EditorTest t;
};

TEST_F(ProfileFileTest, MissingFilesFallBackToDefaultThenToTheBuiltInProfile) {
  auto p = readProfile(t.session(), "cob");
  EXPECT_EQ(t.messages().size(), 0u);
  EXPECT_EQ(p->name, "COB");
  EXPECT_STREQ(p->tag, "FILEPROF");
  EXPECT_EQ(std::make_pair(p->recfm, p->maxRecLen), std::make_pair('V', 64000));
  EXPECT_EQ(std::make_pair(p->boundLeft, p->boundRight), std::make_pair(1, 255));
  EXPECT_TRUE(p->backup);
  EXPECT_EQ(p->tabsIn, 2);

  profile("default", "MaxRecLen=100\nCharset=ASCII-IBMPC\n");
  EXPECT_EQ(readProfile(t.session(), "cob")->maxRecLen, 100);
  EXPECT_TRUE(t.session().lastProfileIbmPc);
  profile("cob", "MaxRecLen=80\n");
  EXPECT_EQ(readProfile(t.session(), "Cob")->maxRecLen, 80);
  EXPECT_FALSE(t.session().lastProfileIbmPc);
  EXPECT_EQ(readProfile(t.session(), "../cob")->maxRecLen, 100);  // never outside the path
}

// Numbering switched off clears every number field, though only Offset is
// written; the terminator is fixed to CR+LF by a complete read only (the
// writer writes an empty one as CR+LF too).
TEST_F(ProfileFileTest, FieldsTheWrittenTextLeavesOut) {
  for (std::string type : {"NONE", "HEXOFFSET"}) {
    auto p = read("NumberType=" + type +
                  "\nNumberStart=5\nNumberIncrement=5\nNumberStepdownIncrement=5\n"
                  "NumberColStart=9\nNumberColEnd=9\nNumberAuto=Full\nOffset=4\n");
    EXPECT_EQ(std::vector<int>({p->numberStart, p->numberIncrement, p->numberStepdownIncrement,
                                p->numberColStart, p->numberColEnd, p->offset,
                                static_cast<int>(p->numberAuto)}),
              std::vector<int>(7, 0))
        << type;
  }
  EXPECT_EQ(read("TabsOut=9\n")->newFileRecordTerminator, "CR+LF");
  EXPECT_EQ(read("TabsOut=10\n")->newFileRecordTerminator, "");  // no fixes after a bad value

  read("MaxRecLen=40\nTabKeyStopsAt=5,3\n");
  EXPECT_EQ(t.lastMessage().text,
            "File Profile:  TEST\nField:  TabKeyStopsAt\nError:  TAB stop not in ascending order"
            "\n\nTo remedy, see OPTIONS, item FILE PROFILES");
}

TEST_F(ProfileFileTest, WritesGoToTheFirstDirectoryUnlessLockedOrNameless) {
  FileProfile p;
  p.name = "COB";
  p.maskLine = "it's";
  p.locked = true;
  EXPECT_EQ(writeProfile(t.session(), p, true), 0);
  EXPECT_FALSE(t.exists("profiles/kivfileprof.cob.txt"));
  EXPECT_EQ(writeProfile(t.session(), p, false), 0);
  std::string before = written();
  EXPECT_NE(before.find("BOOLlock=TRUE\n"), std::string::npos);
  EXPECT_FALSE(t.exists("second/kivfileprof.cob.txt"));
  // A mask line holding a quote cannot be written: it is left out and said.
  EXPECT_EQ(before.find("MaskLine"), std::string::npos);
  EXPECT_EQ(t.lastMessage().id, "FILEPROF10");
  EXPECT_EQ(t.lastMessage().text, "Can not write mask line with embedded quote.");

  // A directory where nothing can be made: the write fails, the old file stays.
  p.maxRecLen = 300;  // a change that must not reach the file
  {
    test::UnwritableDir locked(t.dir() + "/profiles");
    if (locked.binds()) {
      EXPECT_EQ(writeProfile(t.session(), p, false), -1);
    }
  }
  EXPECT_EQ(written(), before);
  p.name = "a/b";
  EXPECT_EQ(writeProfile(t.session(), p, false), -1);
  p.name.clear();
  EXPECT_EQ(writeProfile(t.session(), p, false), 0);
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(t.dir() + "/profiles"), {}), 1);
  varSet(t.session(), "ZPATH.FILEPROFILES", "");
  p.name = "COB";
  EXPECT_EQ(writeProfile(t.session(), p, false), -1);
}

// The shipped profiles read without a message, are in the writer's own
// format, and hold the everyday settings for Linux text files.
TEST_F(ProfileFileTest, ShippedProfilesAreInTheWritersFormat) {
  std::string dir = t.session().dirs.install + "/Profiles";
  varSet(t.session(), "ZPATH.FILEPROFILES", dir);
  for (const char* name : {"default", "txt", "notype"}) {
    SCOPED_TRACE(name);
    auto shipped = readProfile(t.session(), name);
    EXPECT_EQ(t.messages().size(), 0u);
    EXPECT_EQ(std::make_pair(shipped->recfm, shipped->maxRecLen), std::make_pair('V', 32000));
    EXPECT_EQ(shipped->newFileRecordTerminator, "LF");
    EXPECT_EQ(profileFileText(t.session(), *shipped),
              t.read(dir + "/kivfileprof." + std::string(name) + ".txt"));
  }
}

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
  EXPECT_TRUE(t.lastMessage().text.ends_with(
      "value CREATE not supported.\n\nFile Profile 'NOTYPE' will be used."));
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

// BOUNDS for a task without a profile, which typed commands never meet: the
// record length is then 128. The command itself (its refusals, the BNDS
// lines rebuilt, the defaults from the numbering, a locked profile, the
// profile written back) is the cases of tests/cases/bounds.
TEST(Bounds, ATaskWithoutProfileUsesRecordLength128) {
  test::EditorTest t;
  Task task(t.session());
  initLineStore(task);
  Line* bnds = createLine(task, "old", LineKind::Bnds);
  linkLineBefore(task, nullptr, bnds);
  finishLineStore(task);
  EXPECT_EQ(setBounds(task, "1 129"), -1);
  EXPECT_EQ(t.lastMessage().id, "TASK125");
  EXPECT_EQ(bnds->text(), "old");
  ASSERT_EQ(setBounds(task, "120 128"), 0);
  EXPECT_EQ(bnds->text(), std::string(119, ' ') + "<       >");
}

}  // namespace
}  // namespace kiv
