// Piecemeal loading: chunks of 200 records, the line store asking for the
// next chunk, loadAll, when the whole file is loaded at once, and a load
// ended after the user changed the loaded part.
#include <gtest/gtest.h>

#include "core/file_load.h"
#include "core/file_load_fixture.h"

namespace kiv {
namespace {

using test::LoadTest;

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

TEST_F(LoadPiecemealTest, ChunksOf200UntilTheEnd) {
  records(450);
  auto task = open("a.v");
  ASSERT_TRUE(task);
  EXPECT_EQ(task->lines.count, 201u);
  EXPECT_FALSE(task->load.complete);
  EXPECT_TRUE(task->loadNextChunk);
  EXPECT_GE(task->load.fd, 0);
  EXPECT_GT(loadChunk(*task), 0);
  EXPECT_EQ(task->lines.count, 401u);
  EXPECT_EQ(loadChunk(*task), 0);
  EXPECT_EQ(task->lines.count, 452u);
  EXPECT_TRUE(task->lines.last->is(LineKind::Bof));
  EXPECT_EQ(task->lines.last->prev->text(), "r450");
  EXPECT_EQ(task->lines.last->prev->recordNumber, 450u);
  EXPECT_EQ(loadChunk(*task), 0);
  EXPECT_EQ(task->lines.count, 452u);
  EXPECT_EQ(task->load.fd, -1);
  EXPECT_FALSE(task->modified);
}

TEST_F(LoadPiecemealTest, ExactlyOneChunkIsCompleteAtOnce) {
  records(200);
  auto task = open("a.v");
  EXPECT_TRUE(task->load.complete);
  EXPECT_EQ(shape(*task).back(), 'B');
}

TEST_F(LoadPiecemealTest, InsertingBelowTheLastLoadedLineLoadsTheNextChunkFirst) {
  records(300);
  auto task = open("a.v");
  Line* last = task->lines.last;
  ASSERT_EQ(last->text(), "r200");
  ASSERT_EQ(insertLinesBelow(*task, last, 1), 0);
  Line* inserted = last->next;
  EXPECT_TRUE(inserted->inserted);
  EXPECT_EQ(inserted->next->text(), "r201") << "the new line sits before the next chunk";
  EXPECT_TRUE(task->modified);
  EXPECT_TRUE(task->load.complete);
  EXPECT_EQ(task->lines.count, 1u + 300u + 1u + 1u);
  EXPECT_TRUE(task->lines.last->is(LineKind::Bof));
  EXPECT_FALSE(task->loadNextChunk(*task)) << "nothing more to load";
}

TEST_F(LoadPiecemealTest, LoadAllLoadsTheRestAndDropsTheHook) {
  records(1000);
  auto task = open("a.v");
  EXPECT_EQ(loadAll(*task), 0);
  EXPECT_EQ(task->lines.count, 1002u);
  EXPECT_FALSE(task->loadNextChunk);
  EXPECT_EQ(loadAll(*task), 0);
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
  varSet(s(), "ZEDIT.VIRTUALLOAD", "FALSE");
  records(300);
  EXPECT_TRUE(open("a.v")->load.complete);
}

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
  EXPECT_NE(t.lastMessage().text.find("Record(251)  length exceeds  MaxRecordLength(80)"),
            std::string::npos);
}

}  // namespace
}  // namespace kiv
