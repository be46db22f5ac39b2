// TE in a UTF-8 task: the indentation, the row width and the cutting of a
// word too long for a row are columns, a wide character counting two.
#include "commands/text_entry.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "core/file_profile.h"
#include "core/line_ops.h"
#include "support/editor_test.h"

namespace kiv {
namespace {

TEST(TextEntry, Utf8RowsAreMeasuredInColumns) {
  test::EditorTest t;
  Task task(t.session());
  initLineStore(task);
  // The left bound is column 4: "x" after "é" and two blanks begins there.
  for (const char* text : {"\xC3\xA9  x", "tail"})
    linkLineBefore(task, nullptr, createLine(task, text, LineKind::Text));
  finishLineStore(task);
  task.profile = std::make_unique<FileProfile>();
  task.profile->maxRecLen = task.profile->boundRight = 80;
  task.profile->boundLeft = 4;
  task.profile->charset = Charset::Utf8;
  Line* head = task.lines.first->next;

  ASSERT_EQ(openTextEntry(task, head, 14, {}), 0);
  EXPECT_EQ(task.textEntry.left, 4);
  // Typed: four words (4, 4, 6 and 1 columns) and one of 14 columns that
  // must be cut between characters; rows are columns 4 to 14.
  setLineText(
      task, head->next,
      "   \xE6\xBC\xA2\xE5\xAD\x97 \xE3\x81\x8B\xE3\x81\xAA "
      "\xE6\x97\xA5\xE6\x9C\xAC\xE8\xAA\x9E x "
      "\xE4\xB8\x80\xE4\xBA\x8C\xE4\xB8\x89\xE5\x9B\x9B\xE4\xBA\x94\xE5\x85\xAD\xE4\xB8\x83");
  closeTextEntry(task);
  std::string all;
  for (Line* p = head->next; !p->is(LineKind::Bof); p = p->next)
    all += std::string(p->text()) + "|";
  EXPECT_EQ(all,
            "   \xE6\xBC\xA2\xE5\xAD\x97 \xE3\x81\x8B\xE3\x81\xAA|"
            "   \xE6\x97\xA5\xE6\x9C\xAC\xE8\xAA\x9E x|"
            "   \xE4\xB8\x80\xE4\xBA\x8C\xE4\xB8\x89\xE5\x9B\x9B\xE4\xBA\x94|"
            "   \xE5\x85\xAD\xE4\xB8\x83|tail|");
}

}  // namespace
}  // namespace kiv
