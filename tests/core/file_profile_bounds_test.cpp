// The BOUNDS command: parameters and their refusals, the defaults from the
// numbering, the profile written back and the BNDS lines rebuilt.
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
      task.lines.append(createLine(task, "old", kind));
    finishLineStore(task);
  }
  FileProfile& p() { return *task.profile; }
  std::pair<int, int> bounds() {
    return task.profile ? std::make_pair(p().boundLeft, p().boundRight) : std::make_pair(0, 0);
  }
  std::string lineText(int index) {
    Line* line = task.lines.first;
    while (index-- > 0) line = line->next;
    return std::string(line->text());
  }
  void expectRefused(std::string_view params, std::string_view id, std::string_view text) {
    SCOPED_TRACE(params);
    auto before = bounds();
    EXPECT_EQ(setBounds(task, params), -1);
    EXPECT_EQ(t.lastMessage().id, id);
    EXPECT_EQ(t.lastMessage().text, text);
    EXPECT_EQ(bounds(), before);
  }

  test::EditorTest t;
  Task task;
};

TEST_F(BoundsTest, BadParametersAreRefusedWithTheirMessages) {
  expectRefused("0 10", "TASK120", "BOUNDS: left bound may not be 0");
  expectRefused("5a", "TASK122", "BOUNDS: parm one must be number or asterisk.");
  expectRefused("5 y", "TASK130", "BOUNDS: parm two must be number or asterisk.");
  expectRefused("5 81", "TASK125", "BOUNDS: right bound may not exceed max record length.");
  expectRefused("20 10", "TASK135", "BOUNDS: right bound must greater or equal to left bound");
  expectRefused("99999999999999999999", "TASK135",
                "BOUNDS: right bound must greater or equal to left bound");
  expectRefused("1 2 3", "", "BOUNDS: only two parameters, left and right, are allowed.");
  EXPECT_FALSE(t.exists("profiles/kivfileprof.cob.txt"));
  EXPECT_EQ(lineText(2), "old");
}

TEST_F(BoundsTest, BoundsAreStoredWrittenAndShownOnEveryBoundsLine) {
  ASSERT_EQ(setBounds(task, "  3   12 "), 0);
  EXPECT_EQ(bounds(), std::make_pair(3, 12));
  EXPECT_NE(t.read("profiles/kivfileprof.cob.txt").find("\nBounds=3,12\n"), std::string::npos);
  EXPECT_EQ(lineText(2) + "|" + lineText(4) + "|" + lineText(1), "  <        >|  <        >|old");
  EXPECT_FALSE(task.modified);  // the file's data did not change
  ASSERT_EQ(setBounds(task, "* 20"), 0);
  ASSERT_EQ(setBounds(task, "9"), 0);
  EXPECT_EQ(bounds(), std::make_pair(9, 20));
  ASSERT_EQ(setBounds(task, "80 80"), 0);
  EXPECT_EQ(lineText(2), std::string(79, ' ') + ">");

  p().locked = true;
  ASSERT_EQ(setBounds(task, "2 *"), 0);
  EXPECT_EQ(bounds(), std::make_pair(2, 80));
  EXPECT_NE(t.read("profiles/kivfileprof.cob.txt").find("\nBounds=80,80\n"), std::string::npos);
  p().locked = false;
  varSet(t.session(), "ZPATH.FILEPROFILES", t.dir() + "/missing");
  ASSERT_EQ(setBounds(task, "2 40"), 0);
  EXPECT_EQ(t.lastMessage().text, "Unable to write file profile 'COB'");
}

TEST_F(BoundsTest, WithoutParametersTheNumberingDecides) {
  struct Case {
    NumberType type;
    int colStart, colEnd;
    std::pair<int, int> expected;
  } cases[] = {
      {NumberType::None, 0, 0, {1, 80}},       {NumberType::CobStd, 1, 6, {7, 72}},
      {NumberType::Standard, 73, 80, {1, 72}}, {NumberType::Cobol, 1, 6, {7, 80}},
      {NumberType::HexOffset, 0, 0, {1, 80}},  {NumberType::Other, 1, 90, {1, 80}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.type));
    p().numberType = c.type;
    p().numberColStart = c.colStart;
    p().numberColEnd = c.colEnd;
    ASSERT_EQ(setBounds(task, ""), 0);
    EXPECT_EQ(bounds(), c.expected);
  }
  p().maxRecLen = 50;
  p().numberType = NumberType::CobStd;
  ASSERT_EQ(setBounds(task, " "), 0);
  EXPECT_EQ(bounds(), std::make_pair(7, 50));
}

TEST_F(BoundsTest, ATaskWithoutProfileUsesRecordLength128) {
  task.profile.reset();
  expectRefused("1 129", "TASK125", "BOUNDS: right bound may not exceed max record length.");
  ASSERT_EQ(setBounds(task, "120 128"), 0);
  EXPECT_EQ(lineText(2), std::string(119, ' ') + "<       >");
}

}  // namespace
}  // namespace kiv
