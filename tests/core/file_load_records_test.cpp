// Opening a file: the modes, a missing file, things that are not regular
// files, permissions, the write lock between two tasks, the offset and
// CapsMode. Piecemeal loading (chunks of 200 records, whole FIXED blocks, the line
// store asking for the next chunk, loadAll, when the whole file is loaded at
// once, a load ended after the user changed the loaded part), and RDP
// records (the length modulo 65536 with MaxRecLen growth, what an ended load
// keeps). Records, padding, static parts and the messages of FIXED and RDP
// files are checked by tests/cases/load-fixed and tests/cases/load-rdp.
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

// BROWSE and VIEW refusing a missing file, a new file in a missing
// directory, a new file's UTF-16 mark, directories and devices refused: the
// cases of tests/cases/load-open.
TEST_F(LoadOpenTest, MissingFileIsCreatedAtOnceInEdit) {
  auto task = open("new.v");
  ASSERT_TRUE(task);
  EXPECT_TRUE(t.exists("new.v"));
  EXPECT_EQ(t.read("new.v"), "");
  EXPECT_EQ(shape(*task), "TB");
  EXPECT_TRUE(task->newFile);
  EXPECT_EQ(task->load.fd, -1) << "closed again without the write lock";
}

// A FIXED file is never made UTF-16, whatever the profile says (its bytes
// as written: the case load-open/new-fixed-file-is-never-utf16).
TEST_F(LoadOpenTest, ANewFixedFileIsNeverUtf16) {
  profile("f", "Recfm=FIXED\nBOOLnewfileUTF16=TRUE\n");
  EXPECT_FALSE(open("new.f")->load.utf16);
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
  EXPECT_TRUE(t.lastMessage().text.starts_with("Access denied:\n\n" + readOnly +
                                                "\n\nYou are now in VIEW mode."));
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

  auto created = open("new.v");
  EXPECT_TRUE(created->load.lockHeld) << "a new file is held under the write lock too";
  EXPECT_EQ(open("new.v")->mode, TaskMode::View);
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

// MaxRecLen and bounds from the file list, in force or not, the right bound
// following MaxRecLen: the cases load-open/file-list-*. The profile's offset
// is shown at once.
TEST_F(LoadOpenTest, TheOffsetIsShownAtOnce) {
  profile("v", "NumberType=OTHER\nOffset=3\n");
  t.file("a.v", "x\n");
  EXPECT_EQ(open("a.v")->displayOffset, 3);
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

class LoadPiecemealTest : public LoadTest {
 protected:
  LoadPiecemealTest() {
    varSet(s(), "ZEDIT.VIRTUALLOAD", "TRUE");
    profile("v", "");
  }
  // `n` records "r1", "r2", ...
  void records(int n, std::string_view last = "") {
    std::string text;
    for (int i = 1; i <= n; ++i) text += "r" + std::to_string(i) + "\n";
    t.file("a.v", text + std::string(last));
  }
};

TEST_F(LoadPiecemealTest, ChunksOf200UntilTheEndOrAllAtOnce) {
  records(450);
  auto task = open("a.v");
  ASSERT_TRUE(task);
  EXPECT_EQ(task->lines.count, 201u);
  EXPECT_FALSE(task->load.complete);
  EXPECT_GT(loadChunk(*task), 0);
  EXPECT_EQ(task->lines.count, 401u);
  EXPECT_EQ(loadChunk(*task), 0);
  EXPECT_EQ(loadChunk(*task), 0) << "nothing more after the end";
  EXPECT_EQ(shape(*task).size(), 452u);
  EXPECT_EQ(shape(*task).back(), 'B');
  EXPECT_EQ(task->lines.last->prev->text(), "r450");
  EXPECT_EQ(task->lines.last->prev->recordNumber(), 450u);
  EXPECT_EQ(task->load.fd, -1);
  EXPECT_FALSE(task->modified);

  records(1000);
  task = open("a.v");
  EXPECT_EQ(loadAll(*task), 0);
  EXPECT_EQ(task->lines.count, 1002u);
  EXPECT_FALSE(task->loadNextChunk);
  records(200);
  EXPECT_EQ(shape(*open("a.v")).back(), 'B') << "exactly one chunk is complete at once";
}

TEST_F(LoadPiecemealTest, InsertingBelowTheLastLoadedLineLoadsTheNextChunkFirst) {
  records(300);
  auto task = open("a.v");
  Line* last = task->lines.last;
  ASSERT_EQ(last->text(), "r200");
  ASSERT_EQ(insertLinesBelow(*task, last, 1), 0);
  EXPECT_TRUE(last->next->inserted());
  EXPECT_EQ(last->next->next->text(), "r201") << "the new line sits before the next chunk";
  EXPECT_EQ(shape(*task).size(), 1u + 300u + 1u + 1u);
  EXPECT_FALSE(task->loadNextChunk(*task)) << "nothing more to load";
}

TEST_F(LoadPiecemealTest, OnlyEditWithTheSettingAndNoAutoIncreaseLoadsPiecemeal) {
  records(300);
  EXPECT_TRUE(open("a.v", TaskMode::Browse)->load.complete);
  EXPECT_TRUE(open("a.v", TaskMode::View)->load.complete);
  profile("v", "LongRecordOption=AutoIncrease\n");
  EXPECT_TRUE(open("a.v")->load.complete);
  profile("v", "Recfm=RDP\nRDPStaticBefore=N\nRDPStaticAfter=N\nLongRecordOption=AutoIncrease\n");
  std::string rdp;
  for (int i = 0; i < 300; ++i) rdp += std::string("\x00\x01x", 3);  // IBM order: high byte first
  t.file("a.v", rdp);
  EXPECT_FALSE(open("a.v")->load.complete) << "AutoIncrease counts for VARIABLE only";
  profile("v", "");
  std::string utf16("\xFF\xFE", 2);
  for (int i = 0; i < 300; ++i) utf16 += std::string("z\0\n\0", 4);
  t.file("a.v", utf16);
  EXPECT_TRUE(open("a.v")->load.complete) << "a UTF-16 file is loaded whole";
  varSet(s(), "ZEDIT.VIRTUALLOAD", "FALSE");
  records(300);
  EXPECT_TRUE(open("a.v")->load.complete);
}

// Its message and the save refused: the case tasks/save-of-a-partly-loaded-file-whose-load-ends.
TEST_F(LoadPiecemealTest, AnEndedLaterChunkLeavesAViewThatCanNotBeSaved) {
  records(250,
          "123456789012345678901234567890123456789012345678901234567890123456789012345678901\n"
          "after\n");
  auto task = open("a.v");
  ASSERT_EQ(task->lines.count, 201u);
  ASSERT_EQ(insertLinesBelow(*task, task->lines.first, 1), 0);
  ASSERT_TRUE(task->modified);
  EXPECT_EQ(loadAll(*task), -1);
  EXPECT_EQ(task->mode, TaskMode::View);
  EXPECT_FALSE(task->modified);
  EXPECT_TRUE(task->load.ended);
  EXPECT_EQ(task->lines.count, 1u + 1u + 250u + 1u);
  EXPECT_EQ(task->lines.last->prev->text(), "r250");
  EXPECT_EQ(task->load.fd, -1);
}

TEST_F(LoadPiecemealTest, AFixedChunkReadsWholeBlocksAndMayRunPast200Records) {
  profile("f", "Recfm=FIXED\nMaxRecLen=3000\n");
  t.file("a.f", std::string(3000 * 250, 'r'));
  auto task = open("a.f");
  EXPECT_EQ(task->lines.count, 1u + 210u) << "5 blocks of 42 records";
  EXPECT_FALSE(task->load.complete);
  EXPECT_EQ(loadChunk(*task), 0);
  EXPECT_EQ(task->lines.count, 1u + 250u + 1u);
}

class LoadRdpTest : public LoadTest {
 protected:
  // Profile lines of an RDP file with static parts AB before and CD 00
  // after the length field, 4 added to the data length.
  static std::string rdp(std::string_view order) {
    return "Recfm=RDP\nMaxRecLen=8\nBounds=1,8\nRDPStaticBefore=AB\nRDPStaticAfter=CD00\n"
           "RDPAddToReclen=4\nRDPReclenByteOrder=" +
           std::string(order) + "\n";
  }
  static std::string record(std::string_view data, bool intel) {
    std::size_t field = data.size() + 4;
    char lo = static_cast<char>(field & 0xFF), hi = static_cast<char>(field >> 8);
    std::string out = "\xAB";
    out += intel ? lo : hi;
    out += intel ? hi : lo;
    return out + std::string("\xCD\x00", 2) + std::string(data);
  }
};

TEST_F(LoadRdpTest, LengthBelowTheAddedValueWrapsAndMaxRecLenGrows) {
  profile("r", rdp("Intel") + "RDPStaticBefore=None\nRDPStaticAfter=None\n");
  std::string data(65534, 'w');
  t.file("a.r", std::string("\x02\x00", 2) + data + std::string("\x0C\x00", 2) + "12345678");
  auto task = open("a.r");
  ASSERT_EQ(texts(*task), (V{data, "12345678"}));
  EXPECT_EQ(task->profile->maxRecLen, 65534);
  EXPECT_EQ(task->profile->boundRight, 65534);
  EXPECT_NE(t.read("options/kivfileprof.r.txt").find("MaxRecLen=65534\n"), std::string::npos);
}

TEST_F(LoadRdpTest, AnEndedLoadKeepsOnlyTheRecordsBeforeTheBadOne) {
  profile("r", rdp("IBM"));
  std::string good = record("one", false);
  std::string badBefore = record("two", false);
  badBefore[0] = 'X';
  std::string badAfter = record("two", false);
  badAfter[4] = '\x01';
  for (const std::string& tail : {badBefore + good, badAfter, record("two", false).substr(0, 6),
                                  std::string("\xAB\x00\x07\xCD", 4)}) {
    SCOPED_TRACE(::testing::PrintToString(tail));
    t.file("a.r", good + tail);
    EXPECT_EQ(texts(*open("a.r")), V{"one"});
  }
  EXPECT_EQ(s().loadsCutShort, 4) << "counted, so that a batch run fails";
  profile("r", rdp("IBM") + "RDPStaticBefore=ABC\n");
  EXPECT_EQ(shape(*open("a.r")), "TB") << "a bad static part in the profile loads nothing";
}

}  // namespace
}  // namespace kiv
