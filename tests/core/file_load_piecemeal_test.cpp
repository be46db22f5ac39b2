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
