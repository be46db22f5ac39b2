// The shift and case line commands' text operations: column and data shifts
// within the bounds (loss, fill, growth, FIXED records, EBCDIC pads), the
// default amount, and lower and upper case in both character sets.
#include "commands/line_shift.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "core/file_profile.h"
#include "core/line_ops.h"
#include "services/var_pool.h"
#include "support/editor_test.h"

namespace kiv {
namespace {

class LineShiftTest : public ::testing::Test {
 protected:
  LineShiftTest() { initLineStore(task); }

  void useProfile(char recfm, int maxRecLen, int left, int right, bool ebcdic = false) {
    task.profile = std::make_unique<FileProfile>();
    task.profile->recfm = recfm;
    task.profile->maxRecLen = maxRecLen;
    task.profile->boundLeft = left;
    task.profile->boundRight = right;
    task.profile->charset = ebcdic ? Charset::Ebcdic : Charset::AsciiIso8859;
  }
  Line* add(std::string_view text, LineKind kind = LineKind::Text) {
    Line* line = createLine(task, text, kind);
    linkLineBefore(task, nullptr, line);
    return line;
  }

  test::EditorTest t;
  Task task{t.session()};
};

struct ShiftCase {
  ShiftKind kind;
  int n;
  char recfm;  // 'E': a variable EBCDIC file
  int maxRecLen, left, right;
  std::string before, after;
};

TEST_F(LineShiftTest, ShiftsMoveTextWithinTheBounds) {
  using K = ShiftKind;
  const std::vector<ShiftCase> cases = {
      // ( loses what reaches the left bound and fills at the right bound, cut to the length.
      {K::ColumnsLeft, 2, 'V', 80, 1, 80, "abcdef", "cdef  "},
      {K::ColumnsLeft, 2, 'V', 80, 3, 6, "abcdefgh", "abef  gh"},
      {K::ColumnsLeft, 1, 'V', 80, 3, 20, "abcdef", "abdef "},
      {K::ColumnsLeft, 9, 'V', 80, 2, 4, "abcdef", "a   ef"},
      {K::ColumnsLeft, 1, 'E', 80, 1, 80, "\xC1\xC2\xC3", "\xC2\xC3\x40"},
      // ) grows a variable record up to the right bound, losing what passes it.
      {K::ColumnsRight, 2, 'V', 80, 1, 80, "abc", "  abc"},
      {K::ColumnsRight, 2, 'V', 80, 1, 5, "abcdefgh", "  abcfgh"},
      {K::ColumnsRight, 4, 'V', 80, 1, 6, "abcd", "    ab"},
      {K::ColumnsRight, 2, 'F', 6, 1, 6, "abcdef", "  abcd"},
      {K::ColumnsRight, 2, 'F', 8, 1, 8, "abcdef", "  abcd"},  // a short FIXED record
      {K::ColumnsRight, 2, 'V', 80, 5, 10, "abc", "abc"},
      {K::ColumnsRight, 2, 'E', 80, 1, 80, "\xC1", "\x40\x40\xC1"},
      // < and > shorten runs of two or more blanks and never lose text.
      {K::DataLeft, 2, 'V', 80, 1, 80, "  ab  cd", "ab  cd  "},
      {K::DataLeft, 3, 'V', 80, 1, 80, "ab   cd ef", "ab cd ef  "},  // stops short
      {K::DataLeft, 2, 'V', 80, 3, 80, "ab  cd", "ab cd "},          // a word before the bound
      {K::DataLeft, 2, 'V', 80, 1, 80, "ab cd", "ab cd"},
      {K::DataLeft, 1, 'E', 80, 1, 80, "\x40\xC1\xC2", "\xC1\xC2\x40"},
      {K::DataLeft, 1, 'E', 80, 1, 80, "\x20\xC1", "\x20\xC1"},  // 0x20 is no EBCDIC blank
      {K::DataRight, 3, 'V', 80, 1, 80, "ab  cd", "   ab  cd"},
      {K::DataRight, 3, 'F', 8, 1, 8, "ab  cd  ", "   ab cd"},
      {K::DataRight, 3, 'V', 80, 1, 6, "ab cd", " ab cd"},         // stops short
      {K::DataRight, 2, 'V', 80, 1, 6, "ab  c def", " ab c def"},  // a word after the bound
      {K::DataRight, 0, 'V', 80, 1, 80, "ab", "ab"},
  };
  for (const ShiftCase& c : cases) {
    useProfile(c.recfm == 'E' ? 'V' : c.recfm, c.maxRecLen, c.left, c.right, c.recfm == 'E');
    Line* line = add(c.before);
    shiftLines(task, line, line, c.kind, c.n);
    EXPECT_EQ(std::string(line->text()), c.after)
        << static_cast<int>(c.kind) << " " << c.n << " '" << c.before << "'";
  }
}

TEST_F(LineShiftTest, RangesChangeOnlyTheirTextLinesAndStopAtTheLast) {
  useProfile('V', 80, 1, 80);
  Line* a = add("ab");
  Line* note = add("note", LineKind::Note);
  Line* b = add("cd");
  Line* after = add("ef");
  shiftLines(task, a, b, ShiftKind::ColumnsRight, 1);
  EXPECT_EQ(std::string(a->text()) + "|" + std::string(note->text()) + "|" +
                std::string(b->text()) + "|" + std::string(after->text()),
            " ab|note| cd|ef");
  task.modified = false;  // a shift that moves nothing changes nothing
  long changes = task.changeCount;
  shiftLines(task, after, nullptr, ShiftKind::DataLeft, 3);
  EXPECT_FALSE(task.modified);
  EXPECT_EQ(task.changeCount, changes);
}

TEST_F(LineShiftTest, DefaultAmountAndBounds) {
  const std::vector<std::pair<std::string, int>> cases = {
      {"", 2}, {"0", 2}, {"-3", 2}, {"abc", 2}, {"4x", 2}, {"5", 5}, {" 7 ", 7}};
  for (const auto& [value, expected] : cases) {
    varSet(t.session(), "ZEDIT.COLSHIFTAMOUNT", value);
    EXPECT_EQ(defaultShiftAmount(t.session()), expected) << "'" << value << "'";
  }
  EXPECT_EQ(textBounds(task).right, kDefaultMaxRecLen);  // no profile
  useProfile('V', 50, 0, 0);
  EXPECT_EQ(textBounds(task).left * 100 + textBounds(task).right, 150);
  useProfile('V', 50, 4, 90);
  EXPECT_EQ(textBounds(task).left * 100 + textBounds(task).right, 450);
}

TEST_F(LineShiftTest, CaseConversionWithinTheBoundsInBothCharacterSets) {
  struct CaseCase {
    bool upper, ebcdic;
    int left, right;
    std::string before, after;
  };
  const std::vector<CaseCase> cases = {
      {true, false, 3, 6, "abcdefgh", "abCDEFgh"},
      {false, false, 3, 6, "ABCDEFGH", "ABcdefGH"},
      {true, false, 3, 80, "ab1d", "ab1D"},
      // a A i z . and an ASCII 'a' (0x61, '/' in EBCDIC)
      {true, true, 1, 80, "\x81\xC1\x89\xA9\x4B\x61", "\xC1\xC1\xC9\xE9\x4B\x61"},
      // A Z J, the non-letters 0xCA and 0x4A, and j
      {false, true, 1, 80, "\xC1\xE9\xD1\xCA\x4A\x91", "\x81\xA9\x91\xCA\x4A\x91"},
  };
  for (const CaseCase& c : cases) {
    useProfile('V', 80, c.left, c.right, c.ebcdic);
    Line* line = add(c.before);
    Line* note = add("note", LineKind::Note);
    convertCase(task, line, note, c.upper);
    EXPECT_EQ(std::string(line->text()), c.after) << c.before;
    EXPECT_EQ(note->text(), "note");
  }
}

}  // namespace
}  // namespace kiv
