// Edits are never lost to a file changed behind kiv's back, and a save that
// wrote nothing is counted so that a batch run fails.
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <csignal>
#include <filesystem>

#include <fstream>
#include <memory>
#include <string>

#include "core/file_load.h"
#include "core/file_load_fixture.h"
#include "core/file_save.h"
#include "core/line_ops.h"
#include "core/task_life.h"
#include "services/var_pool.h"
#include "support/unwritable_dir.h"

namespace kiv {
namespace {

using platform::BoxAnswer;

class SaveSafetyTest : public test::LoadTest {
 protected:
  std::unique_ptr<Task> edited(const std::string& name, const std::string& text) {
    t.file(name, text);
    std::unique_ptr<Task> task = openTask(s(), t.path(name), TaskMode::Edit);
    Line* first = task->lines.first->next;
    setLineText(*task, first, "mine");
    return task;
  }
};

// Appended to or rewritten in place (the same inode, which the task's own
// write lock is on): the user is asked, and either answer leaves a way on.
TEST_F(SaveSafetyTest, AFileAppendedToUnderTheWriteLockIsAskedAboutNotRefused) {
  varSet(s(), "ZEDIT.WRITELOCK", "TRUE");
  auto task = edited("ip.txt", "one\n");
  ASSERT_TRUE(task->load.lockHeld);
  std::ofstream(t.path("ip.txt"), std::ios::app) << "more\n";

  t.answer(BoxAnswer::No);  // keep theirs
  EXPECT_EQ(saveTask(*task, false), -1);
  EXPECT_NE(t.lastMessage().id, "SAVE15");
  EXPECT_EQ(t.read("ip.txt"), "one\nmore\n");
  EXPECT_TRUE(task->modified);
  EXPECT_EQ(s().savesNotWritten, 1);

  t.answer(BoxAnswer::Yes);  // overwrite
  EXPECT_EQ(saveTask(*task, false), 0) << t.lastMessage().text;
  EXPECT_EQ(t.read("ip.txt"), "mine\n");
  EXPECT_FALSE(task->modified);
  EXPECT_EQ(s().savesNotWritten, 1);
}

TEST_F(SaveSafetyTest, RefusedSavesAndLoadsCutShortAreCounted) {
  t.file("v.txt", "v\n");
  auto view = openTask(s(), t.path("v.txt"), TaskMode::View);
  EXPECT_EQ(saveTask(*view, false), -1);
  EXPECT_EQ(s().savesNotWritten, 1);
  EXPECT_EQ(s().loadsCutShort, 0);
  profile("bad", "Recfm=RDP\nMaxRecLen=10\nRDPReclenByteOrder=Intel\n");
  t.file("r.bad", std::string("\x09\x00" "abc", 5));  // a record longer than the file
  auto cut = openTask(s(), t.path("r.bad"), TaskMode::Edit);
  ASSERT_TRUE(cut);
  loadAll(*cut);
  EXPECT_EQ(s().loadsCutShort, 1);
}

// Lines shortened, lengthened and made in the session, saved and loaded
// again: every record comes back where it was, FIXED records padded to
// MaxRecLen with the file's pad byte, in every record format.
TEST_F(SaveSafetyTest, EditedLinesComeBackInEveryRecordFormat) {
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
    profile(f.ext, f.profile);
    std::string path = t.file(std::string("e.") + f.ext, f.contents);
    std::unique_ptr<Task> task = openTask(s(), path, TaskMode::Edit);
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
    std::unique_ptr<Task> again = openTask(s(), path, TaskMode::Edit);
    ASSERT_TRUE(again);
    EXPECT_EQ(texts(*again), expected);
  }
}

// The mode is given after the data is written, since a write by anyone but
// root clears the set-id bits, and after the owner, whose change does too.
TEST_F(SaveSafetyTest, OwnerGroupAndSetIdBitsAreKept) {
  auto task = edited("s.txt", "s\n");
  std::string path = t.path("s.txt");
  ASSERT_EQ(::chown(path.c_str(), 1234, 4321), 0);  // the tests run as root
  ASSERT_EQ(::chmod(path.c_str(), 06751), 0);
  ASSERT_EQ(saveTask(*task, false), 0) << t.lastMessage().text;
  struct stat st {};
  ASSERT_EQ(::stat(path.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 07777, 06751u);
  EXPECT_EQ(st.st_uid, 1234u);
  EXPECT_EQ(st.st_gid, 4321u);
}

// A writable file in a directory that may not be written is written in
// place; when the file may not be written either, the message says why.
TEST_F(SaveSafetyTest, AFileInAReadOnlyDirectoryIsWrittenInPlace) {
  t.file("ro/a.txt", "a much longer first line\nsecond\n");
  t.file("ro/b.txt", "b\n");
  ASSERT_EQ(::chmod(t.path("ro/a.txt").c_str(), 0666), 0);
  ASSERT_EQ(::chmod(t.path("ro/b.txt").c_str(), 0444), 0);
  auto a = edited("ro/a.txt", "a much longer first line\nsecond\n");
  std::unique_ptr<Task> b = openTask(s(), t.path("ro/b.txt"), TaskMode::Edit);
  setLineText(*b, b->lines.first->next, "B");
  {
    test::UnwritableDir ro(t.path("ro"));
    if (!ro.binds()) GTEST_SKIP() << "permission bits do not bind here";
    EXPECT_EQ(saveTask(*a, false), 0) << t.lastMessage().text;
    EXPECT_EQ(saveTask(*b, false), -1);
  }
  EXPECT_EQ(t.read("ro/a.txt"), "mine\nsecond\n");

  EXPECT_EQ(t.lastMessage().id, "SAVE15");
  EXPECT_NE(t.lastMessage().text.find("Permission denied"), std::string::npos)
      << t.lastMessage().text;
  EXPECT_EQ(t.read("ro/b.txt"), "b\n");
  int names = 0;
  for ([[maybe_unused]] const auto& e : std::filesystem::directory_iterator(t.path("ro"))) ++names;
  EXPECT_EQ(names, 2) << "nothing left beside the files";
  // Contents that cannot be written whole leave the file as it was.
  setLineText(*a, a->lines.first->next, std::string(5000, 'x'));
  {
    test::UnwritableDir ro(t.path("ro"));
    rlimit old{};
    ::getrlimit(RLIMIT_FSIZE, &old);
    rlimit small = old;
    small.rlim_cur = 1024;
    auto previous = std::signal(SIGXFSZ, SIG_IGN);
    ::setrlimit(RLIMIT_FSIZE, &small);
    EXPECT_EQ(saveTask(*a, false), -1);
    ::setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, previous);
  }
  EXPECT_EQ(t.lastMessage().id, "FILE90");
  EXPECT_EQ(t.read("ro/a.txt"), "mine\nsecond\n");
}

}  // namespace
}  // namespace kiv
