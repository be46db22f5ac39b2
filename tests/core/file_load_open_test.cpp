// Opening a file: the modes, a missing file, things that are not regular
// files, permissions, the write lock between two tasks, the file-list
// overrides and CapsMode.
#include <gtest/gtest.h>

#include <filesystem>

#include "core/file_load.h"
#include "core/file_load_fixture.h"
#include "support/unwritable_dir.h"

namespace kiv {
namespace {

using platform::BoxAnswer;
using test::LoadTest;
using V = std::vector<std::string>;

class LoadOpenTest : public LoadTest {
 protected:
  LoadOpenTest() { profile("v", ""); }
};

// BROWSE and VIEW refusing a missing file, and a new file in a missing
// directory: the case directories of tests/cases/load-open.
TEST_F(LoadOpenTest, MissingFileIsCreatedAtOnceInEdit) {
  auto task = open("new.v");
  ASSERT_TRUE(task);
  EXPECT_TRUE(t.exists("new.v"));
  EXPECT_EQ(t.read("new.v"), "");
  EXPECT_EQ(shape(*task), "TB");
  EXPECT_TRUE(task->newFile);
  EXPECT_EQ(task->load.fd, -1) << "closed again without the write lock";
}

TEST_F(LoadOpenTest, NewFileIsUtf16WithTheMarkWhenTheProfileSaysSo) {
  profile("v", "BOOLnewfileUTF16=TRUE\n");
  varSet(s(), "ZEDIT.WRITELOCK", "TRUE");
  auto task = open("new.v");
  ASSERT_TRUE(task);
  EXPECT_TRUE(task->load.utf16);
  EXPECT_EQ(task->load.bom[0] * 256 + task->load.bom[1], 0xFFFE);
  EXPECT_TRUE(task->load.lockHeld) << "a new file is held under the write lock too";
  profile("f", "Recfm=FIXED\nBOOLnewfileUTF16=TRUE\n");
  EXPECT_FALSE(open("new.f")->load.utf16) << "VARIABLE files only";
}

TEST_F(LoadOpenTest, DirectoriesAndDevicesAreRefusedInEveryMode) {
  std::filesystem::create_directories(t.path("dir.v"));
  for (TaskMode mode : {TaskMode::Edit, TaskMode::Browse, TaskMode::View}) {
    EXPECT_FALSE(open("dir.v", mode));
    EXPECT_EQ(t.lastMessage().text, "Can not open a directory as a file:\n\n" + t.path("dir.v") +
                                        "\n\nUse the file list to work with a directory.");
    EXPECT_FALSE(open("/dev/null", mode));
    EXPECT_EQ(t.lastMessage().text,
              "Can not open a device or other special file as a file:\n\n/dev/null\n\nOnly "
              "regular files can be edited.");
  }
}

TEST_F(LoadOpenTest, UnreadableFileIsDeniedAndReadOnlyFileGoesToView) {
  namespace fs = std::filesystem;
  std::string secret = t.file("secret.v", "x\n");
  std::string readOnly = t.file("ro.v", "one\ntwo\n");
  fs::permissions(secret, fs::perms::none);
  fs::permissions(readOnly, fs::perms(0444));
  fs::create_directories(t.path("locked"));
  test::UnwritableDir locked(t.path("locked"));
  if (!locked.binds()) GTEST_SKIP() << "cannot give up root here";

  EXPECT_FALSE(open("secret.v", TaskMode::Browse));
  EXPECT_EQ(t.lastMessage().id, "FILE10");
  EXPECT_EQ(t.lastMessage().text, "Access denied:\n\n" + secret);

  auto task = open("ro.v");
  ASSERT_TRUE(task);
  EXPECT_EQ(task->mode, TaskMode::View);
  EXPECT_EQ(t.lastMessage().id, "FILE20");
  EXPECT_EQ(t.lastMessage().text,
            "Access denied:\n\n" + readOnly +
                "\n\nYou are now in VIEW mode.\n\nYou can modify in memory but you can not "
                "SAVE.\n\nUse SAVEAS to save under a different name.");
  EXPECT_EQ(texts(*task), (V{"one", "two"}));
  EXPECT_FALSE(open("locked/new.v"));
  EXPECT_EQ(t.lastMessage().text, "Unable to open new file:\n\n" + t.path("locked/new.v"));
}

TEST_F(LoadOpenTest, WriteLockSendsASecondEditToView) {
  varSet(s(), "ZEDIT.WRITELOCK", "TRUE");
  t.file("a.v", "data\n");
  auto first = open("a.v");
  ASSERT_TRUE(first);
  EXPECT_TRUE(first->load.lockHeld);
  auto second = open("a.v");
  ASSERT_TRUE(second);
  EXPECT_EQ(second->mode, TaskMode::View);
  EXPECT_EQ(t.lastMessage().id, "FILE20");
  EXPECT_EQ(texts(*second), V{"data"});
  EXPECT_EQ(second->load.fd, -1);

  auto browse = open("a.v", TaskMode::Browse);
  EXPECT_EQ(browse->mode, TaskMode::Browse) << "reading needs no lock";

  first.reset();  // the task ends: its file is closed
  auto third = open("a.v");
  EXPECT_EQ(third->mode, TaskMode::Edit);
}

TEST_F(LoadOpenTest, WithoutTheWriteLockTheFileIsFreeOnceLoaded) {
  t.file("a.v", "data\n");
  auto first = open("a.v");
  EXPECT_EQ(open("a.v")->mode, TaskMode::Edit);

  // While a piecemeal load is incomplete the file stays held.
  varSet(s(), "ZEDIT.VIRTUALLOAD", "TRUE");
  std::string many;
  for (int i = 0; i < 300; ++i) many += "line\n";
  t.file("big.v", many);
  auto loading = open("big.v");
  EXPECT_FALSE(loading->load.complete);
  EXPECT_EQ(open("big.v")->mode, TaskMode::View);
  EXPECT_EQ(loadAll(*loading), 0);
  EXPECT_EQ(loading->load.fd, -1);
  EXPECT_EQ(open("big.v")->mode, TaskMode::Edit);
}

TEST_F(LoadOpenTest, FileListOverridesAndOffsetSetTheRecordSettings) {
  profile("v", "MaxRecLen=80\nBounds=1,80\nNumberType=OTHER\nOffset=3\nBounds=5,80\n");
  t.file("a.v", "x\n");
  // MaxRecLen and bounds from the file list, in force or not (the right bound
  // follows MaxRecLen): the MaxRecLen, left and right bound that result.
  struct Case {
    const char *maxRecLen, *bounds;
    std::tuple<int, int, int> expected;
  } cases[] = {
      {"20", "", {20, 5, 20}}, {"999999", "7 12", {128000, 7, 12}}, {"none", "9", {80, 9, 80}}};
  for (const Case& c : cases) {
    varSet(s(), "ZFLIST.OPTION.MAXRECLEN", c.maxRecLen);
    varSet(s(), "ZFLIST.OPTION.BOUNDS", c.bounds);
    auto task = open("a.v");
    const FileProfile& p = *task->profile;
    EXPECT_EQ(std::tuple(p.maxRecLen, p.boundLeft, p.boundRight), c.expected) << c.maxRecLen;
    EXPECT_EQ(task->displayOffset, 3);
  }
}

// What CapsMode AUTO decides: the case directories load-variable/caps-auto-*.
TEST_F(LoadOpenTest, CapsModeAutoLoadsTheWholeFileAtOpen) {
  varSet(s(), "ZEDIT.VIRTUALLOAD", "TRUE");
  std::string upper;
  for (int i = 0; i < 300; ++i) upper += "ABC 123\n";
  t.file("a.v", upper);
  profile("v", "CapsMode=AUTO\n");
  auto task = open("a.v");
  EXPECT_TRUE(task->load.complete) << "the scan needs the whole file";
  EXPECT_TRUE(task->capsOn);
  EXPECT_TRUE(task->profile->capsInForce);
}

}  // namespace
}  // namespace kiv
