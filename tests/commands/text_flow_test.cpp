// The text line commands: split (TS), join (TJ) and flow (TF), their
// refusals with the store left as it was, and their results.
#include "commands/text_flow.h"

#include <gmock/gmock.h>
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

using ::testing::ElementsAre;
using Texts = std::vector<std::string>;

class TextFlowTest : public ::testing::Test {
 protected:
  TextFlowTest() {
    initLineStore(task);
    finishLineStore(task);
    useProfile('V', 80, 1, 80);
  }

  // recfm 'E': a variable EBCDIC file.
  void useProfile(char recfm, int maxRecLen, int left, int right) {
    task.profile = std::make_unique<FileProfile>();
    task.profile->recfm = recfm == 'E' ? 'V' : recfm;
    task.profile->charset = recfm == 'E' ? Charset::Ebcdic : Charset::AsciiIso8859;
    task.profile->maxRecLen = maxRecLen;
    task.profile->boundLeft = left;
    task.profile->boundRight = right;
  }
  // Replaces the lines between TOF and BOF; NOTE lines are given as "NOTE".
  Line* fill(const Texts& texts) {
    while (task.lines.count > 2) deleteLine(task, task.lines.first->next, true);
    for (const std::string& text : texts) {
      bool note = text == "NOTE";
      linkLineBefore(task, task.lines.last,
                     createLine(task, text, note ? LineKind::Note : LineKind::Text));
    }
    task.modified = false;
    return task.lines.first->next;
  }
  Line* at(int n) {
    Line* l = task.lines.first;
    while (n-- >= 0) l = l->next;
    return l;
  }
  Texts lines() const {
    Texts out;
    for (const Line* l = task.lines.first->next; l != task.lines.last; l = l->next)
      out.emplace_back(l->is(LineKind::Text) ? l->text() : lineKindName(l->kind()));
    return out;
  }
  std::string last() const { return t.lastMessage().id + ": " + t.lastMessage().text; }

  test::EditorTest t;
  Task task{t.session()};
};

TEST_F(TextFlowTest, SplitRefusalsLeaveTheLineAlone) {
  struct Refusal {
    char recfm;
    int right, column;
    std::string text, message;
  };
  const std::vector<Refusal> cases = {
      {'V', 80, 0, "ab cd", "TASKLINE30: Cursor must be on SPLIT line, SPLIT ignored."},
      {'V', 80, 3, "NOTE", "TASKLINE50: Can't split non-text line."},
      {'F', 80, 3, "ab cd", "TASKLINE55: Can't split RECFM=F record."},
      {'V', 90, 3, "ab cd",
       "TASKLINE45: Line split not allowed when right bound is greater than MaxRecLen 80."},
      {'V', 5, 6, "ab cd ef", "TASKLINE25: SPLIT point outside BOUNDS, SPLIT ignored."},
      {'V', 80, 6, "ab cd   ", "TASKLINE35: No text right of SPLIT point, SPLIT ignored."},
      {'V', 80, 30, "ab cd", "TASKLINE35: No text right of SPLIT point, SPLIT ignored."},
  };
  for (const Refusal& c : cases) {
    useProfile(c.recfm, 80, 1, c.right);
    Line* line = fill({c.text});
    EXPECT_EQ(splitLine(task, line, c.column), -1);
    EXPECT_EQ(last(), c.message);
    EXPECT_EQ(lines(), Texts{c.text}) << c.message;
  }
}

TEST_F(TextFlowTest, SplitMovesTheRestToANewLineAtTheIndentation) {
  fill({"  abc def", "abc def", "wxyz", "end"});
  ASSERT_EQ(splitLine(task, at(0), 7), 0);
  ASSERT_EQ(splitLine(task, at(2), 4), 0);  // the split line loses its trailing blank
  ASSERT_EQ(splitLine(task, at(4), 3), 0);
  EXPECT_THAT(lines(), ElementsAre("  abc", "  def", "abc", "def", "wx", "yz", "end"));
  // Columns left of the left bound stay; the indentation is found from the bound.
  useProfile('E', 80, 3, 80);
  ASSERT_EQ(splitLine(task, fill({"\xF1\xF2\x40\xC1\xC2\x40\xC3"}), 6), 0);
  EXPECT_THAT(lines(), ElementsAre("\xF1\xF2\x40\xC1\xC2", "\x40\x40\x40\xC3"));
  EXPECT_TRUE(at(1)->ebcdic() && task.modified);
}

TEST_F(TextFlowTest, JoinRefusalsAndResults) {
  fill({"NOTE", "text", "NOTE", "x"});
  EXPECT_EQ(joinLines(task, at(0)), -1);
  EXPECT_EQ(last(), ": TJ not allowed on non-text line.");
  EXPECT_EQ(joinLines(task, at(1)), -1);
  EXPECT_EQ(last(), "TASKLINE15: Can't join non-text line.");
  EXPECT_EQ(joinLines(task, at(3)), -1);  // BOF follows
  EXPECT_EQ(last(), "TASKLINE15: Can't join non-text line.");
  EXPECT_THAT(lines(), ElementsAre("NOTE", "text", "NOTE", "x"));
  useProfile('F', 8, 1, 8);
  EXPECT_EQ(joinLines(task, fill({"ab", "cd"})), -1);
  EXPECT_EQ(last(), "TASKLINE20: Can't join RECFM=F record.");
  useProfile('V', 6, 1, 6);
  EXPECT_EQ(joinLines(task, fill({"abc", "defg"})), -1);
  EXPECT_EQ(last(), ": TJ ignored, joined line would exceed MaxRecLen 6.");
  EXPECT_THAT(lines(), ElementsAre("abc", "defg"));

  useProfile('V', 80, 1, 80);
  fill({"abc  ", "   def ", "ghi", "   ", "", "  jk"});
  for (int n : {0, 1, 2}) ASSERT_EQ(joinLines(task, at(n)), 0);
  EXPECT_THAT(lines(), ElementsAre("abc def ", "ghi", "jk"));
}

struct FlowCase {
  char recfm;
  int left, right, endColumn;
  std::string fullStop;
  Texts before, after;
};

TEST_F(TextFlowTest, FlowPacksTheParagraphBetweenItsMarginAndTheEndColumn) {
  const std::vector<FlowCase> cases = {
      {'V', 1, 80, 10, "", {"aaa bbb ccc", "dd eee", "", "z"}, {"aaa bbb", "ccc dd eee", "", "z"}},
      // The first line's margin; a line added.
      {'V', 1, 80, 13, "", {"   one two three four", "x"}, {"   one two", "   three four", "   x"}},
      // Lines deleted; the end column is the right bound.
      {'V', 1, 20, 0, "", {"a", "b", "  c  ", "NOTE"}, {"a b c", "NOTE"}},
      {'V', 1, 80, 0, "true", {"One. Two? Three! four. five"}, {"One.  Two?  Three!  four.  five"}},
      {'V', 1, 80, 0, "FALSE", {"One. Two?  Three"}, {"One. Two? Three"}},
      {'V', 1, 80, 5, "TRUE", {"aaaa. bbbb"}, {"aaaa.", "bbbb"}},
      {'V', 1, 80, 0, "", {"   ", "a  b"}, {"   ", "a  b"}},  // nothing to flow
      // Columns left of the left bound stay; text there starts a new paragraph.
      {'V', 3, 80, 6, "", {"01aa bb", "  cc", "07dd"}, {"01aa", "  bb", "  cc", "07dd"}},
      // FIXED records keep their length, new ones get it.
      {'F', 1, 10, 2, "", {"aa bb     ", "cc        "}, {"aa        ", "bb        ", "cc        "}},
      // EBCDIC: its blank and full stop; an ASCII blank is a character there.
      {'E',
       1,
       80,
       0,
       "TRUE",
       {"\xC1\x4B\x40\xC2", "\xC3\x20\xC4"},
       {"\xC1\x4B\x40\x40\xC2\x40\xC3\x20\xC4"}},
  };
  for (const FlowCase& c : cases) {
    useProfile(c.recfm, c.recfm == 'F' ? 10 : 80, c.left, c.right);
    varSet(t.session(), "ZEDIT.CHECKFULLSTOP", c.fullStop);
    EXPECT_EQ(flowText(task, fill(c.before), c.endColumn), 0) << c.before[0];
    EXPECT_EQ(lines(), c.after) << c.before[0];
  }
}

TEST_F(TextFlowTest, FlowRefusals) {
  Line* line = fill({"some words here", "NOTE"});
  task.profile->hexView = true;
  EXPECT_EQ(flowText(task, line, 0), -1);
  EXPECT_EQ(last(), "LCMDDISP70: TF not allowed in hex mode.");
  task.profile->hexView = false;
  EXPECT_EQ(flowText(task, line->next, 0), -1);
  EXPECT_EQ(last(), "LCMDDISP75: TF not allowed on non-text line.");
  task.profile->numberType = NumberType::Standard;
  EXPECT_EQ(flowText(task, line, 0), -1);
  EXPECT_EQ(last(), "LCMDDISP80: TF not allowed in line numbered file.");
  useProfile('V', 80, 5, 60);
  EXPECT_EQ(flowText(task, line, 4), -1);
  EXPECT_EQ(last(), ": TF ignored, end col 4 is left of left BOUND 5.");
  EXPECT_EQ(flowText(task, line, 61), -1);
  EXPECT_EQ(last(), ": TF ignored, end col 61 is right of right BOUND 60.");
  EXPECT_EQ(flowText(task, line, 6), -1);  // the margin is column 6
  EXPECT_EQ(last(), ": TF ignored, left margin matches or exceeds end col.");
  EXPECT_THAT(lines(), ElementsAre("some words here", "NOTE"));
  EXPECT_FALSE(task.modified);

  useProfile('V', 12, 1, 12);  // a width past MaxRecLen is cut, and the flow goes on
  EXPECT_EQ(flowText(task, fill({"one", "two three", "four five"}), 40), -1);
  EXPECT_EQ(last(),
            ": Requested width exceeds max allowed record length for this file type, using 12.");
  EXPECT_THAT(lines(), ElementsAre("one two", "three four", "five"));
}

TEST_F(TextFlowTest, FlowEndsBeforeAPendingCommandAWordTooWideAndAHiddenLine) {
  Line* first = fill({"aa bb", "cc", "dd ee", "abcdefghijkl x"});
  setLineCommand(task, at(2), "D");
  setLineCommand(task, first, "TF");  // its own command does not stop it
  EXPECT_EQ(flowText(task, first, 20), -1);
  EXPECT_EQ(last(), ": TF ended by line with pending line command.");
  EXPECT_THAT(lines(), ElementsAre("aa bb cc", "dd ee", "abcdefghijkl x"));

  setLineCommand(task, at(1), "");
  EXPECT_EQ(flowText(task, first, 5), -1);
  EXPECT_EQ(last(), ": TF ended on word that exceeds max width allowed 5:\n\nabcdefghijkl");
  EXPECT_THAT(lines(), ElementsAre("aa bb", "cc dd", "ee", "abcdefghijkl x"));
  EXPECT_EQ(flowText(task, at(3), 5), -1);  // on the first line nothing flows
  EXPECT_THAT(lines(), ElementsAre("aa bb", "cc dd", "ee", "abcdefghijkl x"));

  setLineFlag(task, at(2), LineFlag::Shown, false);
  EXPECT_EQ(flowText(task, first, 20), 0);
  EXPECT_THAT(lines(), ElementsAre("aa bb cc dd", "ee", "abcdefghijkl x"));
}

TEST_F(TextFlowTest, FlowEndsAtAWordThatSpansTheRightBound) {
  useProfile('V', 80, 1, 12);
  Line* first = fill({"aa", "bb", "cc dd ee fffff", "gg"});  // fffff: columns 10 to 14
  EXPECT_EQ(flowText(task, first, 8), -1);
  EXPECT_EQ(last(), ": TF ended on word that spans right BOUND:  fffff");
  EXPECT_THAT(lines(), ElementsAre("aa bb", "cc dd ee fffff", "gg"));
}

}  // namespace
}  // namespace kiv
