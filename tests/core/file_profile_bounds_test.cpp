// The BOUNDS command where the cases (tests/cases/bounds: refusals, the
// defaults from the numbering, the profile written back) cannot look: the
// BNDS lines rebuilt, a locked profile's bounds in force, no profile at all.
#include <gtest/gtest.h>

#include <filesystem>

#include "core/bounds.h"
#include "core/file_profile.h"
#include "core/line_ops.h"
#include "services/var_pool.h"
#include "support/editor_test.h"

namespace kiv {
namespace {

class BoundsTest : public ::testing::Test {
 protected:
  BoundsTest() : task(t.session()) {
    varSet(t.session(), "ZPATH.FILEPROFILES", t.dir() + "/profiles");
    std::filesystem::create_directories(t.dir() + "/profiles");
    task.profile = std::make_unique<FileProfile>();
    p().name = "COB";
    p().maxRecLen = p().boundRight = 80;
    p().boundLeft = 1;
    initLineStore(task);
    for (LineKind kind : {LineKind::Text, LineKind::Bnds, LineKind::Text, LineKind::Bnds})
      linkLineBefore(task, nullptr, createLine(task, "old", kind));
    finishLineStore(task);
  }
  FileProfile& p() { return *task.profile; }
  std::string lineText(int index) {
    Line* line = task.lines.first;
    while (index-- > 0) line = line->next;
    return std::string(line->text());
  }

  test::EditorTest t;
  Task task;
};

// A refusal leaves the BNDS lines; bounds set rebuild every one of them,
// and a locked profile keeps its file while the task takes the bounds.
TEST_F(BoundsTest, BoundsLinesAreRebuiltAndALockedProfileIsNotWritten) {
  for (const char* bad : {"0 10", "5a", "5 y", "5 81", "20 10", "99999999999999999999", "1 2 3"})
    EXPECT_EQ(setBounds(task, bad), -1) << bad;
  EXPECT_EQ(lineText(2), "old");
  ASSERT_EQ(setBounds(task, "  3   12 "), 0);
  EXPECT_EQ(lineText(2) + "|" + lineText(4) + "|" + lineText(1), "  <        >|  <        >|old");
  ASSERT_EQ(setBounds(task, "80 80"), 0);
  EXPECT_EQ(lineText(2), std::string(79, ' ') + ">");

  p().locked = true;
  ASSERT_EQ(setBounds(task, "2 *"), 0);
  EXPECT_EQ(std::make_pair(p().boundLeft, p().boundRight), std::make_pair(2, 80));
  EXPECT_NE(t.read("profiles/kivfileprof.cob.txt").find("\nBounds=80,80\n"), std::string::npos);
}

TEST_F(BoundsTest, ATaskWithoutProfileUsesRecordLength128) {
  task.profile.reset();
  EXPECT_EQ(setBounds(task, "1 129"), -1);
  EXPECT_EQ(t.lastMessage().id, "TASK125");
  ASSERT_EQ(setBounds(task, "120 128"), 0);
  EXPECT_EQ(lineText(2), std::string(119, ' ') + "<       >");
}

}  // namespace
}  // namespace kiv
