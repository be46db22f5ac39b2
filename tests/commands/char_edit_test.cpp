// Character editing at a line and column, as keys and macros use it: the
// field rules of numbered files, MaxRecLen, FIXED records, caps, hex rows,
// word wrap, the deletes and what each refuses (nothing changed then).
#include "commands/char_edit.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "core/file_profile.h"
#include "core/hex_view.h"
#include "core/line_ops.h"
#include "core/task.h"
#include "support/editor_test.h"

namespace kiv {
namespace {

class CharEdit : public ::testing::Test {
 protected:
  CharEdit() : task(t.session()) {
    initLineStore(task);
    task.profile = std::make_unique<FileProfile>();
    task.profile->maxRecLen = 12;
  }
  Line* add(std::string_view text, LineKind kind = LineKind::Text) {
    Line* line = createLine(task, text, kind);
    linkLineBefore(task, task.lines.last && task.lines.last->is(LineKind::Bof) ? task.lines.last : nullptr, line);
    return line;
  }
  // Number columns 9..12 (0-based 8..11): the data field is 0..7.
  void numbered() {
    task.profile->numberType = NumberType::Other;
    task.profile->numberColStart = 9;
    task.profile->numberColEnd = 12;
  }
  std::string id() { return t.lastMessage().id; }

  test::EditorTest t;
  Task task;
};

TEST_F(CharEdit, InsertAndOvertypeKeepToTheFieldAndTheRecord) {
  Line* a = add("abc");
  EXPECT_TRUE(typeChar(task, a, 1, 'X', true).ok);
  EXPECT_EQ(a->text(), "aXbc");
  EditResult r = typeChar(task, a, 6, 'Z', false);  // past the end: blanks first
  EXPECT_EQ(a->text(), "aXbc  Z");
  EXPECT_EQ(r.column, 7);
  EXPECT_FALSE(typeChar(task, a, 12, 'q', false).ok);
  EXPECT_EQ(id(), "CHAR100");
  Line* full = add("abcdefghijk ");
  EXPECT_TRUE(typeChar(task, full, 0, '>', true).ok) << "the last blank makes room";
  EXPECT_EQ(full->text(), ">abcdefghijk");
  EXPECT_FALSE(typeChar(task, full, 0, '<', true).ok);
  EXPECT_EQ(id(), "CHAR85");
  EXPECT_EQ(full->text(), ">abcdefghijk");

  numbered();
  Line* n = add("abcdefg 0100");
  EXPECT_TRUE(typeChar(task, n, 0, '-', true).ok) << "the blank at the field's end goes";
  EXPECT_EQ(n->text(), "-abcdefg0100");
  EXPECT_FALSE(typeChar(task, n, 0, '+', true).ok);
  EXPECT_EQ(id(), "CHAR75");
  EXPECT_FALSE(typeChar(task, n, 9, '7', true).ok);
  EXPECT_EQ(id(), "CHAR80");
  EXPECT_TRUE(typeChar(task, n, 9, '2', false).ok) << "overtype is allowed without NumberAuto";
  task.profile->numberAuto = NumberAuto::Incr;
  EXPECT_FALSE(typeChar(task, n, 9, '3', false).ok);
  EXPECT_EQ(id(), "CHAR95");
  EXPECT_TRUE(deleteChar(task, n, 1).ok);
  EXPECT_EQ(n->text(), "-bcdefg 0200") << "the field closes up, the number stays";
  EXPECT_FALSE(deleteChar(task, n, 10).ok);
  EXPECT_EQ(id(), "CHAR135");
  EXPECT_TRUE(deleteToEnd(task, n, 3).ok);
  EXPECT_EQ(n->text(), "-bc     0200");
}

TEST_F(CharEdit, SpecialLinesCapsHexRowsAndBrowse) {
  Line* a = add("abc");
  Line* cols = add("", LineKind::Cols);
  EXPECT_FALSE(typeChar(task, cols, 0, 'x', true).ok);
  EXPECT_EQ(id(), "CHAR90");
  EXPECT_FALSE(typeChar(task, cols, 0, 'x', false).ok);
  EXPECT_EQ(id(), "CHAR105");
  Line* note = add("note", LineKind::Note);
  EXPECT_TRUE(typeChar(task, note, 0, 'N', false).ok);
  EXPECT_EQ(note->text(), "Note");

  task.capsOn = true;
  EXPECT_TRUE(typeChar(task, a, 3, 'd', false).ok);
  EXPECT_EQ(a->text(), "ABCD") << "caps turns the changed line's letters upper case";
  task.capsOn = false;

  finishLineStore(task);
  task.profile->hexView = true;
  insertHexLinesAfter(task, a);
  Line* high = a->next;
  ASSERT_TRUE(high->is(LineKind::HexHigh));
  EXPECT_TRUE(typeChar(task, high, 1, '6', false).ok);
  EXPECT_EQ(a->text(), "AbCD") << "0x42 with high digit 6 is 0x62";
  EXPECT_TRUE(typeChar(task, high->next, 5, 'A', false).ok);
  EXPECT_EQ(a->text(), std::string("AbCD\0\x0A", 6)) << "bytes past the end count as 0";
  EXPECT_FALSE(typeChar(task, high, 0, 'g', false).ok);
  EXPECT_FALSE(deleteChar(task, high, 0).ok);
  EXPECT_EQ(id(), "CHAR139");

  task.mode = TaskMode::Browse;
  EXPECT_FALSE(typeChar(task, note, 0, 'x', true).ok);
  EXPECT_EQ(id(), "CHAR10");
  EXPECT_FALSE(deleteChar(task, note, 0).ok);
  EXPECT_EQ(id(), "CHAR110");
}

TEST_F(CharEdit, BackspaceWordsHexInWrapSplitAndJoin) {
  Line* a = add("one two  three");
  task.profile->maxRecLen = 40;
  EditResult r = backspace(task, a, 3, false);
  EXPECT_EQ(r.column, 2);
  EXPECT_EQ(a->text(), "one two  three") << "overtype backspace only moves";
  varSet(t.session(), "ZBACKSPACE", "DESTRUCTIVE");
  backspace(task, a, 3, false);
  EXPECT_EQ(a->text(), "on two  three");
  EXPECT_TRUE(deleteWord(task, a, 4).ok);
  EXPECT_EQ(a->text(), "on three") << "the word and the blanks after it";
  EXPECT_FALSE(deleteWord(task, a, 2).ok);
  EXPECT_EQ(id(), "CHAR118");

  EXPECT_TRUE(hexIn(task, a, 0, "4F4B").ok);
  EXPECT_EQ(a->text(), "OK three");
  EXPECT_FALSE(hexIn(task, a, 0, "4F4").ok);
  EXPECT_EQ(id(), "CHAR60");
  EXPECT_FALSE(hexIn(task, a, 0, "4G").ok);
  EXPECT_EQ(id(), "CHAR55");

  Line* w = add("alpha beta gamma");
  task.wrapColumn = 12;
  r = typeChar(task, w, 16, 's', false);
  ASSERT_TRUE(r.ok);
  EXPECT_EQ(w->text(), "alpha beta ");
  EXPECT_EQ(r.line->text(), "gammas");
  EXPECT_EQ(r.column, 6);
  Line* solid = add("abcdefghijklmnop");
  EXPECT_FALSE(typeChar(task, solid, 16, 'q', false).ok);
  EXPECT_EQ(id(), "CHAR20");
  EXPECT_EQ(solid->text(), "abcdefghijklmnop");
  task.wrapColumn = 0;

  r = splitAt(task, solid, 5);
  EXPECT_EQ(solid->text(), "abcde");
  EXPECT_EQ(r.line->text(), "fghijklmnop");
  r = joinNext(task, solid);
  EXPECT_EQ(solid->text(), "abcdefghijklmnop");
  EXPECT_EQ(r.column, 5);
}

}  // namespace
}  // namespace kiv
