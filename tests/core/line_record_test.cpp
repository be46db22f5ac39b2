#include <gtest/gtest.h>

#include <string>

#include "core/line.h"
#include "core/line_ops.h"
#include "support/editor_test.h"

namespace kiv {
namespace {

TEST(LineRecordTest, KindAndFlagsDoNotDisturbTheLength) {
  test::EditorTest t;
  Task task(t.session());
  Line* line = createLine(task, std::string(kMaxLineLength, 'x'), LineKind::Note);
  line->setKind(LineKind::Text);
  line->hexHighNote = line->hexLowNote = line->error = line->changed = true;
  line->sequenced = line->fromCols = line->fromNote = line->savedForUndo = true;
  line->recordNumber = 0xFFFFFFFF;
  EXPECT_EQ(line->length(), kMaxLineLength);
  EXPECT_EQ(line->kind(), LineKind::Text);
  EXPECT_EQ(lineKindName(line->kind()), "TEXT");
  EXPECT_TRUE(line->shown);
  EXPECT_FALSE(line->inserted || line->ebcdic);
  freeLine(task, line);
}

TEST(LineRecordTest, CommandAndLabelFieldsAreBlankUntilSet) {
  test::EditorTest t;
  Task task(t.session());
  Line* line = createLine(task, "data", LineKind::Text);
  std::size_t plain = t.session().allocator().bytes();
  EXPECT_EQ(line->lineCommand(), "         ");
  setLineCommand(task, line, "         ");
  EXPECT_FALSE(line->hasPendingCommand());
  EXPECT_EQ(t.session().allocator().bytes(), plain) << "blank fields need no extension";

  setLineCommand(task, line, "        D");
  EXPECT_TRUE(line->hasPendingCommand());
  setLabel(task, line, ".LABELTOOLONG");
  EXPECT_EQ(line->label(), ".LABELTOO");
  setLineCommand(task, line, "");
  EXPECT_FALSE(line->hasPendingCommand());
  EXPECT_GT(t.session().allocator().bytes(), plain) << "the label still needs it";
  setLabel(task, line, "");
  EXPECT_EQ(t.session().allocator().bytes(), plain) << "an empty extension is given back";
  freeLine(task, line);
}

}  // namespace
}  // namespace kiv
