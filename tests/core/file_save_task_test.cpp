#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <csignal>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "core/file_load.h"
#include "core/file_load_fixture.h"
#include "core/file_profile.h"
#include "core/file_save.h"
#include "core/line_ops.h"
#include "platform/file_lock.h"
#include "services/option_group.h"
#include "services/var_pool.h"
#include "support/editor_test.h"

namespace fs = std::filesystem;

namespace kiv {
namespace {

using platform::BoxAnswer;

// Lowers the file-size limit so that writes past it fail with EFBIG: a
// full disk as far as the save can tell, even for root.
class FileSizeLimit {
 public:
  explicit FileSizeLimit(rlim_t bytes) {
    ::getrlimit(RLIMIT_FSIZE, &old_);
    oldHandler_ = std::signal(SIGXFSZ, SIG_IGN);
    rlimit lower = old_;
    lower.rlim_cur = bytes;
    ::setrlimit(RLIMIT_FSIZE, &lower);
  }
  ~FileSizeLimit() {
    ::setrlimit(RLIMIT_FSIZE, &old_);
    std::signal(SIGXFSZ, oldHandler_);
  }

 private:
  rlimit old_{};
  void (*oldHandler_)(int) = nullptr;
};

std::vector<std::string> entries(const std::string& dir) {
  std::vector<std::string> names;
  for (const auto& e : fs::directory_iterator(dir)) names.push_back(e.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

struct stat statOf(const std::string& path) {
  struct stat st {};
  EXPECT_EQ(::stat(path.c_str(), &st), 0) << path;
  return st;
}

// Files of extension txt take the shipped profile (no backup); profile()
// writes the others.
class SaveTaskTest : public test::LoadTest {
 protected:
  void profile(std::string_view ext, std::string_view overrides) {
    LoadTest::profile(ext, "TabsOut=0\nBOOLbackup=FALSE\n" + std::string(overrides));
  }

  std::unique_ptr<Task> open(std::string_view rel, TaskMode mode = TaskMode::Edit) {
    std::unique_ptr<Task> task = openTask(s(), t.path(rel), mode);
    EXPECT_TRUE(task) << rel;
    return task;
  }

  // Replaces the text of the n-th TEXT line (from 1).
  void change(Task& task, int n, std::string_view text) {
    Line* line = task.lines.first;
    for (int i = 0; i < n; ++i) line = line->next;
    ASSERT_TRUE(line && line->is(LineKind::Text));
    setLineText(task, line, text);
  }

  // Writes `contents` to `rel`, opens it and changes its first line to `text`.
  std::unique_ptr<Task> edited(std::string_view rel, std::string_view contents,
                               std::string_view text, TaskMode mode = TaskMode::Edit) {
    t.file(rel, contents);
    std::unique_ptr<Task> task = open(rel, mode);
    if (task) change(*task, 1, text);
    return task;
  }

  void expectMessage(std::string_view id, const std::string& text) {
    EXPECT_EQ(t.lastMessage().id, id);
    EXPECT_EQ(t.lastMessage().text, text);
  }
};

TEST_F(SaveTaskTest, SavesTheLinesAndClearsTheModifiedFlag) {
  t.file("a.txt", "one\ntwo\n");
  auto task = open("a.txt");
  change(*task, 2, "TWO");
  ASSERT_TRUE(task->modified);
  t.clearMessages();
  EXPECT_EQ(saveTask(*task, false), 0);
  EXPECT_EQ(t.read("a.txt"), "one\nTWO\n");
  EXPECT_FALSE(task->modified);
  expectMessage("SAVE20", "File saved");
  EXPECT_EQ(entries(t.dir()), (std::vector<std::string>{"a.txt", "allusers", "options"}))
      << "no temporary file, no backup (the txt profile asks for none)";

  t.clearMessages();
  s().quietFileOp = true;
  change(*task, 1, "ONE");
  EXPECT_EQ(saveTask(*task, false), 0);
  EXPECT_TRUE(t.messages().empty()) << "a quiet file operation shows no \"File saved\"";
  EXPECT_EQ(t.read("a.txt"), "ONE\nTWO\n");
}

// SAVE typed in VIEW: the case tasks/save-in-view-writes-nothing. A save
// never offered in BROWSE is refused all the same.
TEST_F(SaveTaskTest, BrowseWritesNothing) {
  auto task = edited("v.txt", "data\n", "changed", TaskMode::Browse);
  EXPECT_EQ(saveTask(*task, false), -1);
  EXPECT_FALSE(task->modified);
  expectMessage("SAVE5", "SAVE is disabled, file not written");
  EXPECT_EQ(t.read("v.txt"), "data\n");
}

TEST_F(SaveTaskTest, ANewFileGetsTheNewFileTerminator) {
  profile("crlf", "NewFileRecordTerminator=CR+LF\n");
  auto task = open("new.crlf");
  ASSERT_TRUE(task->newFile);
  ASSERT_EQ(insertLinesBelow(*task, task->lines.first, 2), 0);
  change(*task, 1, "first");
  change(*task, 2, "second");
  EXPECT_EQ(saveTask(*task, true), 0);
  EXPECT_EQ(t.read("new.crlf"), "first\r\nsecond\r\n");
  EXPECT_FALSE(task->newFile);
}

TEST_F(SaveTaskTest, AChangeByAnotherProgramIsOverwrittenOnlyOnYes) {
  auto task = edited("c.txt", "mine\n", "edited");
  t.file("c.txt", "theirs, longer\n");

  t.answer(BoxAnswer::No);
  EXPECT_NE(saveTask(*task, false), 0);
  ASSERT_FALSE(t.platform().boxes().empty());
  EXPECT_EQ(t.platform().boxes().back().text,
            "File has been changed by another program since it was loaded:\n\n" + t.path("c.txt") +
                "\n\nOverwrite it?");
  EXPECT_TRUE(task->modified);
  EXPECT_FALSE(task->mayEnd);
  EXPECT_EQ(t.read("c.txt"), "theirs, longer\n");

  t.answer(BoxAnswer::Yes);
  EXPECT_EQ(saveTask(*task, false), 0);
  EXPECT_EQ(t.read("c.txt"), "edited\n");
  EXPECT_FALSE(task->modified);

  change(*task, 1, "again");
  EXPECT_EQ(saveTask(*task, false), 0) << "the saved file is the one known now: no question";
  EXPECT_EQ(t.read("c.txt"), "again\n");

  // A change of the same size is seen by its modification time.
  std::string path = t.file("c.txt", "AGAIN\n");
  timespec times[2] = {{0, UTIME_OMIT}, {1000000000, 5}};
  ASSERT_EQ(::utimensat(AT_FDCWD, path.c_str(), times, 0), 0);
  change(*task, 1, "fifth");
  t.answer(BoxAnswer::No);
  EXPECT_NE(saveTask(*task, false), 0);
  EXPECT_EQ(t.read("c.txt"), "AGAIN\n");
}

TEST_F(SaveTaskTest, PermissionBitsAndOwnerAreKept) {
  std::string path = t.file("p.txt", "p\n");
  ASSERT_EQ(::chown(path.c_str(), 1234, 4321), 0);  // the tests run as root
  ASSERT_EQ(::chmod(path.c_str(), 02751), 0);       // after chown, which clears set-id bits
  auto task = open("p.txt");
  change(*task, 1, "q");
  EXPECT_EQ(saveTask(*task, false), 0);
  struct stat st = statOf(path);
  EXPECT_EQ(st.st_mode & 07777, 02751u);
  EXPECT_EQ(st.st_uid, 1234u);
  EXPECT_EQ(st.st_gid, 4321u);
  EXPECT_EQ(t.read("p.txt"), "q\n");
}

TEST_F(SaveTaskTest, AFileRemovedBehindTheTaskIsWrittenAgainOnYes) {
  std::string path = t.file("u.txt", "u\n");
  ASSERT_EQ(::chmod(path.c_str(), 0600), 0);
  auto task = open("u.txt");
  change(*task, 1, "v");
  fs::remove(path);
  t.answer(BoxAnswer::No);
  EXPECT_NE(saveTask(*task, false), 0);
  EXPECT_NE(t.platform().boxes().back().text.find("removed by another program"), std::string::npos);
  EXPECT_FALSE(t.exists("u.txt"));
  t.answer(BoxAnswer::Yes);
  mode_t old = ::umask(027);
  int result = saveTask(*task, false);
  ::umask(old);
  EXPECT_EQ(result, 0);
  EXPECT_EQ(statOf(path).st_mode & 07777, 0640u) << "0666 less the umask, as a new file";
  EXPECT_EQ(t.read("u.txt"), "v\n");
}

TEST_F(SaveTaskTest, AFailedWriteLeavesTheOldFileWhole) {
  std::string old(10000, 'o');
  for (std::size_t i = 99; i < old.size(); i += 100) old[i] = '\n';
  auto task = edited("big.txt", old, std::string(99, 'n'));
  int result;
  {
    FileSizeLimit limit(4096);
    result = saveTask(*task, false);
  }
  EXPECT_EQ(result, -1);
  expectMessage("FILE90", "Write error on file:\n\n" + t.path("big.txt"));
  EXPECT_EQ(t.read("big.txt"), old);
  EXPECT_TRUE(task->modified);
  EXPECT_EQ(entries(t.dir()), (std::vector<std::string>{"allusers", "big.txt", "options"}))
      << "the partial temporary file is removed";
  EXPECT_EQ(saveTask(*task, false), 0) << "with room again the save goes through";
  EXPECT_EQ(t.read("big.txt").substr(0, 100), std::string(99, 'n') + "\n");
}

TEST_F(SaveTaskTest, AFailedRenameRemovesTheTemporaryFile) {
  auto task = edited("d/x.txt", "x\n", "y");
  fs::remove(t.path("d/x.txt"));
  t.file("d/x.txt/inside", "a directory took the name");
  t.answer(BoxAnswer::Yes);
  EXPECT_EQ(saveTask(*task, false), -1);
  EXPECT_EQ(t.lastMessage().id, "FILE90");
  EXPECT_EQ(entries(t.path("d")), std::vector<std::string>{"x.txt"});
  EXPECT_TRUE(task->modified);
}

TEST_F(SaveTaskTest, TheWriteLockIsHeldOnTheNewFileUnlessKeptClosed) {
  varSet(s(), "ZEDIT.WRITELOCK", "TRUE");
  std::string path = t.file("l.txt", "l\n");
  auto task = open("l.txt");
  ASSERT_TRUE(task->load.lockHeld);
  change(*task, 1, "L");
  EXPECT_EQ(saveTask(*task, false), 0);
  ASSERT_GE(task->load.fd, 0);
  EXPECT_TRUE(task->load.lockHeld);
  struct stat held {};
  ASSERT_EQ(::fstat(task->load.fd, &held), 0);
  EXPECT_EQ(held.st_ino, statOf(path).st_ino) << "the lock is on the file now under the name";

  auto second = open("l.txt");
  EXPECT_EQ(second->mode, TaskMode::View) << "a second EDIT cannot have it";
  EXPECT_EQ(t.lastMessage().id, "FILE20");

  change(*task, 1, "closed");
  EXPECT_EQ(saveTask(*task, true), 0);
  auto third = open("l.txt");
  EXPECT_EQ(third->mode, TaskMode::Edit) << "nothing holds the file any more";
}

TEST_F(SaveTaskTest, AFileHeldByAnotherWriterIsNotWritten) {
  auto task = edited("h.txt", "h\n", "mine");
  ASSERT_FALSE(task->load.lockHeld) << "without ZEDIT.WRITELOCK the file is closed after loading";
  std::string path = t.path("h.txt");
  int other = ::open(path.c_str(), O_RDWR | O_CLOEXEC);
  ASSERT_TRUE(platform::lockForWrite(other));
  EXPECT_EQ(saveTask(*task, false), -1);
  expectMessage("SAVE15", "Unable to re-open file for write.\n\n" + path +
                              "\n\nUse SAVEAS to save under a different name.");
  EXPECT_FALSE(task->mayEnd);
  EXPECT_EQ(t.read("h.txt"), "h\n");
  ::close(other);
  EXPECT_EQ(saveTask(*task, false), 0);
}

TEST_F(SaveTaskTest, BackupAlwaysKeepsTheVersionBeforeTheLastSave) {
  varSet(s(), "ZBACKUP", "ALWAYS");
  auto task = edited("b.txt", "v1\n", "v2");
  EXPECT_EQ(saveTask(*task, false), 0);
  change(*task, 1, "v3");
  EXPECT_EQ(saveTask(*task, false), 0);
  EXPECT_EQ(t.read("b.txt"), "v3\n");
  EXPECT_EQ(t.read("b.txt.bak"), "v2\n");
  EXPECT_EQ(entries(t.dir()),
            (std::vector<std::string>{"allusers", "b.txt", "b.txt.bak", "options"}));
}

TEST_F(SaveTaskTest, AFailedBackupWritesNothing) {
  varSet(s(), "ZBACKUP", "FILEPROF");
  profile("bk", "BOOLbackup=TRUE\n");
  t.file("options/kivoptions.backuppaths.txt", "\"*\" \".\"\n");
  auto task = edited("s.bk", "same\n", "changed");
  EXPECT_EQ(saveTask(*task, false), -1);
  ASSERT_GE(t.messages().size(), 2u);
  EXPECT_EQ(t.messages()[t.messages().size() - 2].id, "BACKUP20");
  EXPECT_EQ(t.lastMessage().text, "File not written to disk:\n\n" + t.path("s.bk"));
  EXPECT_EQ(t.read("s.bk"), "same\n");
  EXPECT_TRUE(task->modified);
  EXPECT_FALSE(task->mayEnd);
  EXPECT_EQ(entries(t.dir()), (std::vector<std::string>{"allusers", "options", "s.bk"}));
}

TEST_F(SaveTaskTest, ASymbolicLinkStaysALink) {
  t.file("real/t.txt", "t\n");
  fs::create_symlink(t.path("real/t.txt"), t.path("link.txt"));
  auto task = open("link.txt");
  change(*task, 1, "through the link");
  EXPECT_EQ(saveTask(*task, false), 0);
  EXPECT_TRUE(fs::is_symlink(t.path("link.txt")));
  EXPECT_EQ(t.read("real/t.txt"), "through the link\n");
}

TEST_F(SaveTaskTest, AnRdpRecordTooLongForItsFieldIsRefused) {
  profile("rdp", "Recfm=RDP\nMaxRecLen=128000\nRDPReclenByteOrder=Intel\nRDPAddToReclen=0\n");
  std::string old = std::string("\x02\x00", 2) + "ab";
  auto task = edited("r.rdp", old, std::string(70000, 'z'));
  EXPECT_EQ(saveTask(*task, false), -1);
  EXPECT_EQ(t.lastMessage().id, "SAVE45");
  EXPECT_EQ(t.read("r.rdp"), old);
  EXPECT_EQ(entries(t.dir()), (std::vector<std::string>{"allusers", "options", "r.rdp"}));
}

TEST_F(SaveTaskTest, ExitMacroComesFromTheFileListThenTheProfile) {
  Task task(s());
  EXPECT_EQ(exitMacroName(task), "");
  task.profile = std::make_unique<FileProfile>();
  task.profile->xmacro = "PROFMAC";
  EXPECT_EQ(exitMacroName(task), "PROFMAC");
  varSet(s(), "ZFLIST.OPTION.XMACRO", "LISTMAC");
  EXPECT_EQ(exitMacroName(task), "LISTMAC");
  varSet(s(), "ZSUPPRESSIANDX", "TRUE");
  EXPECT_EQ(exitMacroName(task), "");
}

}  // namespace
}  // namespace kiv
