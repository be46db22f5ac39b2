#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "core/file_load_fixture.h"
#include "core/file_profile.h"
#include "core/file_save.h"
#include "core/line_ops.h"
#include "core/record_writer.h"
#include "platform/file_lock.h"
#include "services/var_pool.h"
#include "support/editor_test.h"
#include "support/unwritable_dir.h"

// Saving a task: what is written, the file changed or held behind its back
// (edits are never lost, and a save that wrote nothing is counted so that a
// batch run fails), permissions, backups, and writes that fail; and the
// record writer underneath.
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

// The mode is given after the data is written, since a write by anyone but
// root clears the set-id bits, and after the owner, whose change does too; a
// symbolic link stays a link.
TEST_F(SaveTaskTest, SavesTheLinesKeepingModeOwnerAndLinks) {
  std::string path = t.file("real/a.txt", "one\ntwo\n");
  ASSERT_EQ(::chown(path.c_str(), 1234, 4321), 0);  // the tests run as root
  ASSERT_EQ(::chmod(path.c_str(), 06751), 0);       // after chown, which clears set-id bits
  fs::create_symlink(path, t.path("a.txt"));
  auto task = open("a.txt");
  change(*task, 2, "TWO");
  ASSERT_TRUE(task->modified);
  t.clearMessages();
  EXPECT_EQ(saveTask(*task, false), 0);
  EXPECT_EQ(t.read("a.txt"), "one\nTWO\n");
  EXPECT_FALSE(task->modified);
  EXPECT_EQ(t.lastMessage().id, "SAVE20");
  EXPECT_TRUE(fs::is_symlink(t.path("a.txt")));
  struct stat st = statOf(path);
  EXPECT_EQ(st.st_mode & 07777, 06751u);
  EXPECT_EQ(st.st_uid, 1234u);
  EXPECT_EQ(st.st_gid, 4321u);
  EXPECT_EQ(entries(t.path("real")), (std::vector<std::string>{"a.txt"}))
      << "no temporary file, no backup (the txt profile asks for none)";

  t.clearMessages();
  s().quietFileOp = true;
  change(*task, 1, "ONE");
  EXPECT_EQ(saveTask(*task, false), 0);
  EXPECT_TRUE(t.messages().empty()) << "a quiet file operation shows no \"File saved\"";
  EXPECT_EQ(t.read("real/a.txt"), "ONE\nTWO\n");
}

// SAVE typed in VIEW: the case tasks/save-in-view-writes-nothing. A save
// never offered in BROWSE is refused all the same, and counted.
TEST_F(SaveTaskTest, BrowseWritesNothing) {
  auto task = edited("v.txt", "data\n", "changed", TaskMode::Browse);
  EXPECT_EQ(saveTask(*task, false), -1);
  EXPECT_FALSE(task->modified);
  EXPECT_EQ(t.lastMessage().id, "SAVE5");
  EXPECT_EQ(t.read("v.txt"), "data\n");
  EXPECT_EQ(s().savesNotWritten, 1);
}

// Rewritten in place (the same inode, which the task's own write lock is
// on): the user is asked, not refused, and No is counted as not written.
TEST_F(SaveTaskTest, AChangeByAnotherProgramIsOverwrittenOnlyOnYes) {
  varSet(s(), "ZEDIT.WRITELOCK", "TRUE");
  auto task = edited("c.txt", "mine\n", "edited");
  ASSERT_TRUE(task->load.lockHeld);
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
  EXPECT_EQ(s().savesNotWritten, 1);

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

  // A rename that fails (a directory took the name) removes the temporary file too.
  task = edited("d/x.txt", "x\n", "y");
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
  change(*task, 1, "closed");
  EXPECT_EQ(saveTask(*task, true), 0);
  EXPECT_EQ(open("l.txt")->mode, TaskMode::Edit) << "nothing holds the file any more";
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

TEST_F(SaveTaskTest, AnRdpRecordTooLongForItsFieldIsRefused) {
  profile("rdp", "Recfm=RDP\nMaxRecLen=128000\nRDPReclenByteOrder=Intel\nRDPAddToReclen=0\n");
  std::string old = std::string("\x02\x00", 2) + "ab";
  auto task = edited("r.rdp", old, std::string(70000, 'z'));
  EXPECT_EQ(saveTask(*task, false), -1);
  EXPECT_EQ(t.lastMessage().id, "SAVE45");
  EXPECT_EQ(t.read("r.rdp"), old);
  EXPECT_EQ(entries(t.dir()), (std::vector<std::string>{"allusers", "options", "r.rdp"}));
}

// Lines shortened, lengthened and made in the session, saved and loaded
// again: every record comes back where it was, FIXED records padded to
// MaxRecLen with the file's pad byte, in every record format.
TEST_F(SaveTaskTest, EditedLinesComeBackInEveryRecordFormat) {
  struct Format {
    const char* ext;
    const char* profile;
    std::string contents;
  };
  const Format formats[] = {
      {"fa", "Recfm=FIXED\nMaxRecLen=8\n", "abcdefghABCDEFGH"},
      {"fe", "Recfm=FIXED\nMaxRecLen=8\nCharsetFile=EBCDIC\n", "\xC1\xC2\xC3\xC4\xC5\xC6\xC7\xC8" "abcdefgh"},
      {"rd", "Recfm=RDP\nMaxRecLen=20\nRDPReclenByteOrder=IBM\n", std::string("\0\2ab\0\3cde", 9)},
      {"vs", "MaxRecLen=20\nTrailingBlanksOption=StripBlanksOnWrite\n", "ab\r\ncde\r\n"},
      {"u16", "MaxRecLen=20\n", std::string("\xFF\xFE" "a\0b\0\n\0c\0\n\0", 12)},
  };
  for (const Format& f : formats) {
    SCOPED_TRACE(f.ext);
    LoadTest::profile(f.ext, f.profile);
    std::string name = std::string("e.") + f.ext;
    t.file(name, f.contents);
    std::unique_ptr<Task> task = open(name);
    ASSERT_TRUE(task);
    Line* first = task->lines.first->next;
    Line* last = task->lines.last->prev;
    setLineText(*task, first, first->text().substr(0, 1));                     // shortened
    setLineText(*task, last, std::string(last->text().substr(0, 2)) + "xyz");  // lengthened
    ASSERT_EQ(insertLinesBelow(*task, first, 1), 0);
    setLineText(*task, first->next, "n");                                      // made here
    std::vector<std::string> expected = texts(*task);
    if (task->profile->recfm == 'F')
      for (std::string& e : expected) e.resize(8, padCharFor(*task, LineKind::Text));
    ASSERT_EQ(saveTask(*task, true), 0) << t.lastMessage().text;
    task.reset();
    EXPECT_EQ(texts(*open(name)), expected);
  }
}

// A writable file in a directory that may not be written is written in
// place, unless it cannot be written whole; a file that may not be written
// either is refused with the reason.
TEST_F(SaveTaskTest, AFileInAReadOnlyDirectoryIsWrittenInPlace) {
  std::string aPath = t.file("ro/a.txt", "a much longer first line\nsecond\n");
  std::string bPath = t.file("ro/b.txt", "b\n");
  ASSERT_EQ(::chmod(aPath.c_str(), 0666), 0);
  ASSERT_EQ(::chmod(bPath.c_str(), 0444), 0);
  auto a = open("ro/a.txt");
  change(*a, 1, "mine");
  auto b = open("ro/b.txt");
  change(*b, 1, "B");
  {
    test::UnwritableDir ro(t.path("ro"));
    if (!ro.binds()) GTEST_SKIP() << "permission bits do not bind here";
    EXPECT_EQ(saveTask(*a, false), 0) << t.lastMessage().text;
    EXPECT_EQ(saveTask(*b, false), -1);
    EXPECT_EQ(t.lastMessage().id, "SAVE15");
    EXPECT_NE(t.lastMessage().text.find("Permission denied"), std::string::npos);
    change(*a, 1, std::string(5000, 'x'));
    FileSizeLimit limit(1024);
    EXPECT_EQ(saveTask(*a, false), -1);
    EXPECT_EQ(t.lastMessage().id, "FILE90");
  }
  EXPECT_EQ(t.read("ro/a.txt"), "mine\nsecond\n");
  EXPECT_EQ(t.read("ro/b.txt"), "b\n");
  EXPECT_EQ(entries(t.path("ro")), (std::vector<std::string>{"a.txt", "b.txt"}));
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

// Writes the lines through a writer whose sink collects the output.
std::string written(const RecordFormat& f, const std::vector<std::string>& lines) {
  std::string out;
  RecordWriter w(f, [&out](const char* d, std::size_t n) {
    out.append(d, n);
    return true;
  });
  for (const std::string& line : lines) EXPECT_TRUE(w.writeLine(line));
  EXPECT_TRUE(w.finish());
  EXPECT_EQ(w.bytesWritten(), out.size());
  return out;
}

RecordFormat variable(std::string terminator = "\r\n") {
  RecordFormat f;
  f.recfm = 'V';
  f.maxRecLen = 20;
  f.trailing = 'L';
  f.terminator = std::move(terminator);
  return f;
}

// Lines longer than MaxRecLen (made in the session) are written whole;
// padding, tabs, terminators, the end-of-file byte of every format, a UTF-16
// file without lines and the RDP length that wraps are checked by the case
// directories of tests/cases/save-records.
TEST(SaveWriterTest, FixedRecordsAreNeverCut) {
  RecordFormat f;
  f.recfm = 'F';
  f.maxRecLen = 6;
  f.terminator = "\r\n";  // not written in FIXED files
  EXPECT_EQ(written(f, {"abcdefgh", "ab"}), "abcdefghab    ");
}

TEST(SaveWriterTest, OutputLargerThanTheBufferArrivesWholeAndInOrder) {
  std::vector<std::string> lines;
  std::string expected;
  for (int i = 0; i < 30000; ++i) {
    lines.push_back(std::to_string(i) + std::string(40 + i % 50, 'a' + i % 26));
    expected += lines.back() + "\n";
  }
  std::string out;
  int blocks = 0;
  RecordWriter w(variable("\n"), [&](const char* d, std::size_t n) {
    out.append(d, n);
    ++blocks;
    return true;
  });
  for (const std::string& line : lines) ASSERT_TRUE(w.writeLine(line));
  ASSERT_TRUE(w.finish());
  EXPECT_EQ(out, expected);
  EXPECT_GT(blocks, 1);
  EXPECT_LT(blocks, 5) << "written in big blocks, not a record at a time";
}

TEST(SaveWriterTest, FormatOfATaskFollowsProfileAndLoadState) {
  test::EditorTest t;
  Task task(t.session());
  task.profile = std::make_unique<FileProfile>();
  applyBuiltinProfile(*task.profile);
  FileProfile& p = *task.profile;
  // Settings a load cannot produce; what a load can is met by tests/cases.
  task.load.utf16 = true;
  p.recfm = kRecfmFixed;
  EXPECT_FALSE(recordFormatOf(task)->utf16) << "UTF-16 is for VARIABLE files only";
  p.recfm = kRecfmRdp;
  p.rdpStaticAfter = "XYZ";
  EXPECT_FALSE(recordFormatOf(task));
  EXPECT_EQ(t.lastMessage().id, "SAVE40");
  EXPECT_NE(t.lastMessage().text.find("RDPStaticAfter=XYZ"), std::string::npos);
}

}  // namespace
}  // namespace kiv
