// Opening a file: the modes, a missing file, things that are not regular
// files, permissions, the write lock between two tasks, the file's identity,
// the file-list overrides and CapsMode.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>

#include "core/file_load.h"
#include "core/file_load_fixture.h"

namespace kiv {
namespace {

using platform::BoxAnswer;
using test::LoadTest;
using V = std::vector<std::string>;

class LoadOpenTest : public LoadTest {
 protected:
  LoadOpenTest() { profile("v", ""); }
};

// Permission bits bind root too while this lives: the effective user and
// group become nobody's (the real and saved ids stay, so they come back).
class AsNobody {
 public:
  AsNobody() {
    if (::geteuid() != 0) return;
    dropped_ = ::setegid(65534) == 0 && ::seteuid(65534) == 0;
  }
  ~AsNobody() {
    if (!dropped_) return;
    EXPECT_EQ(::seteuid(0), 0);
    EXPECT_EQ(::setegid(0), 0);
  }
  AsNobody(const AsNobody&) = delete;
  AsNobody& operator=(const AsNobody&) = delete;
  bool bindsPermissions() const { return dropped_ || ::geteuid() != 0; }

 private:
  bool dropped_ = false;
};

TEST_F(LoadOpenTest, MissingFileIsCreatedAtOnceInEditOnly) {
  std::string file = t.path("new.v");
  for (TaskMode mode : {TaskMode::Browse, TaskMode::View}) {
    EXPECT_FALSE(open("new.v", mode));
    EXPECT_EQ(t.lastMessage().text, "File does not exist or has length 0:\n\n" + file);
    EXPECT_FALSE(t.exists("new.v"));
  }
  auto task = open("new.v");
  ASSERT_TRUE(task);
  EXPECT_TRUE(t.exists("new.v"));
  EXPECT_EQ(t.read("new.v"), "");
  EXPECT_EQ(shape(*task), "TB");
  EXPECT_TRUE(task->newFile);
  EXPECT_TRUE(task->load.complete);
  EXPECT_FALSE(task->load.utf16);
  EXPECT_EQ(task->load.fd, -1) << "closed again without the write lock";
  EXPECT_TRUE(task->load.identity.known);

  EXPECT_FALSE(open("no/such/dir/new.v"));
  EXPECT_EQ(t.lastMessage().text, "Unable to open new file:\n\n" + t.path("no/such/dir/new.v"));
}

TEST_F(LoadOpenTest, NewFileIsUtf16WithTheMarkWhenTheProfileSaysSo) {
  profile("v", "BOOLnewfileUTF16=TRUE\n");
  varSet(s(), "ZEDIT.WRITELOCK", "TRUE");
  auto task = open("new.v");
  ASSERT_TRUE(task);
  EXPECT_TRUE(task->load.utf16);
  EXPECT_EQ(task->load.bom[0], 0xFF);
  EXPECT_EQ(task->load.bom[1], 0xFE);
  EXPECT_GE(task->load.fd, 0) << "held under the write lock";
  EXPECT_TRUE(task->load.lockHeld);
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
  fs::permissions(t.dir(), fs::perms(0755));
  fs::create_directories(t.path("locked"));
  std::string secret = t.file("secret.v", "x\n");
  std::string readOnly = t.file("ro.v", "one\ntwo\n");
  fs::permissions(secret, fs::perms::none);
  fs::permissions(readOnly, fs::perms(0444));
  fs::permissions(t.path("locked"), fs::perms(0555));
  {
    AsNobody nobody;
    if (!nobody.bindsPermissions()) GTEST_SKIP() << "cannot give up root here";

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
    EXPECT_EQ(task->load.fd, -1);

    EXPECT_FALSE(open("locked/new.v"));
    EXPECT_EQ(t.lastMessage().text, "Unable to open new file:\n\n" + t.path("locked/new.v"));
  }
  fs::permissions(t.path("locked"), fs::perms(0755));
}

TEST_F(LoadOpenTest, WriteLockSendsASecondEditToView) {
  varSet(s(), "ZEDIT.WRITELOCK", "TRUE");
  t.file("a.v", "data\n");
  auto first = open("a.v");
  ASSERT_TRUE(first);
  EXPECT_EQ(first->mode, TaskMode::Edit);
  EXPECT_TRUE(first->load.lockHeld);
  EXPECT_GE(first->load.fd, 0);

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

TEST_F(LoadOpenTest, IdentityIsTheFileAsOpened) {
  std::string file = t.file("a.v", "12345\n");
  auto task = open("a.v", TaskMode::View);
  struct stat st {};
  ASSERT_EQ(::stat(file.c_str(), &st), 0);
  const FileIdentity& id = task->load.identity;
  EXPECT_TRUE(id.known);
  EXPECT_EQ(id.device, st.st_dev);
  EXPECT_EQ(id.inode, st.st_ino);
  EXPECT_EQ(id.size, 6);
  EXPECT_EQ(id.modified.tv_sec, st.st_mtim.tv_sec);
  EXPECT_EQ(id.modified.tv_nsec, st.st_mtim.tv_nsec);
  EXPECT_EQ(task->load.bytesLoaded, 6u);
  EXPECT_EQ(mapDrive(s(), file), file);
}

TEST_F(LoadOpenTest, FileListOverridesAndOffsetSetTheRecordSettings) {
  profile("v", "MaxRecLen=80\nBounds=1,80\nNumberType=OTHER\nOffset=3\nBounds=5,80\n");
  t.file("a.v", "x\n");
  varSet(s(), "ZFLIST.OPTION.MAXRECLEN", "20");
  auto task = open("a.v");
  EXPECT_EQ(task->profile->maxRecLen, 20);
  EXPECT_EQ(task->profile->boundRight, 20) << "follows MaxRecLen";
  EXPECT_EQ(task->displayOffset, 3);

  varSet(s(), "ZFLIST.OPTION.MAXRECLEN", "999999");
  varSet(s(), "ZFLIST.OPTION.BOUNDS", "7 12");
  task = open("a.v");
  EXPECT_EQ(task->profile->maxRecLen, 128000);
  EXPECT_EQ(task->profile->boundLeft, 7);
  EXPECT_EQ(task->profile->boundRight, 12);

  varSet(s(), "ZFLIST.OPTION.MAXRECLEN", "none");
  varSet(s(), "ZFLIST.OPTION.BOUNDS", "9");
  task = open("a.v");
  EXPECT_EQ(task->profile->maxRecLen, 80);
  EXPECT_EQ(task->profile->boundLeft, 9);
  EXPECT_EQ(task->profile->boundRight, 80);
}

TEST_F(LoadOpenTest, CapsModeAutoScansTheWholeFile) {
  varSet(s(), "ZEDIT.VIRTUALLOAD", "TRUE");
  std::string upper;
  for (int i = 0; i < 300; ++i) upper += "ABC 123\n";
  t.file("a.v", upper);
  profile("v", "CapsMode=AUTO\n");
  auto task = open("a.v");
  EXPECT_TRUE(task->load.complete) << "the scan needs the whole file";
  EXPECT_TRUE(task->capsOn);
  EXPECT_EQ(t.lastMessage().text, "All alpha characters are upcase, CAPS set ON.");

  t.clearMessages();
  t.file("a.v", upper + "ABc\n");
  EXPECT_FALSE(open("a.v")->capsOn);
  t.file("a.v", "123 !\n");
  EXPECT_FALSE(open("a.v")->capsOn) << "no letter at all";
  EXPECT_TRUE(t.messages().empty());

  profile("v", "CapsMode=AUTO\nCharsetFile=EBCDIC\n");
  t.file("a.v", "\xC1\xE9\x25");
  EXPECT_TRUE(open("a.v")->capsOn);
  t.file("a.v", "\xC1\x81\x25");
  EXPECT_FALSE(open("a.v")->capsOn);
}

TEST_F(LoadOpenTest, OpenTaskChoosesTheProfileByExtension) {
  profile("zz", "Recfm=FIXED\nMaxRecLen=8\n");
  t.file("a.zz", "12345678abcdefgh");
  auto task = openTask(s(), t.path("a.zz"), TaskMode::Browse);
  ASSERT_TRUE(task);
  EXPECT_EQ(task->profile->name, "ZZ");
  EXPECT_EQ(texts(*task), (V{"12345678", "abcdefgh"}));
  EXPECT_FALSE(openTask(s(), t.path("missing.zz"), TaskMode::View));
}

}  // namespace
}  // namespace kiv
