// Sequence numbers where typed commands cannot reach: fields too narrow,
// too wide or past the record, and the limits of a full renumber. The
// commands, and lines made by copy, move and make-data numbered between
// their neighbours, are case directories (tests/cases/numbering).
#include "core/line_numbering.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "core/file_profile.h"
#include "core/line.h"
#include "core/line_ops.h"
#include "services/option_group.h"
#include "services/var_pool.h"
#include "support/editor_test.h"

namespace kiv {
namespace {

// A session and a task whose profile numbers columns 1 to 4 from 100 by 100.
class NumberingTest : public ::testing::Test {
 protected:
  NumberingTest() : task(t.session()) {
    setSearchPaths(t.session());
    varSet(t.session(), "ZPATH.FILEPROFILES", t.dir() + "/profiles");
    std::filesystem::create_directories(t.dir() + "/profiles");
    task.profile = std::make_unique<FileProfile>();
    FileProfile& p = *task.profile;
    p.name = "SEQ";
    p.maxRecLen = 10;
    p.numberType = NumberType::Other;
    p.numberColStart = 1;
    p.numberColEnd = 4;
    p.numberStart = p.numberIncrement = 100;
  }

  void load(const std::vector<std::string>& texts) {
    initLineStore(task);
    for (const std::string& text : texts)
      linkLineBefore(task, nullptr, createLine(task, text, LineKind::Text));
    finishLineStore(task);
  }

  std::vector<std::string> texts() const {
    std::vector<std::string> out;
    for (const Line* l = task.lines.first; l; l = l->next)
      if (l->is(LineKind::Text)) out.emplace_back(l->text());
    return out;
  }

  test::EditorTest t;
  Task task;
};

// Widths outside 4..8, fields past MaxRecLen and lines that are not TEXT
// are left alone.
TEST_F(NumberingTest, UnusableFieldsWriteNothing) {
  load({"9950a", "9952x"});
  EXPECT_EQ(numberLine(task, task.lines.first), 0);  // TOF
  task.profile->numberColEnd = 3;
  EXPECT_EQ(renumberAll(task), 0);
  task.profile->numberColEnd = 9;
  EXPECT_EQ(renumberAll(task), 0);
  task.profile->numberColEnd = 11;  // past MaxRecLen
  task.profile->numberColStart = 8;
  EXPECT_EQ(renumberAll(task), 0);
  EXPECT_EQ(texts(), (std::vector<std::string>{"9950a", "9952x"}));
  EXPECT_TRUE(t.messages().empty());
}

// Stepping down through several increments shows one message with the final
// settings and writes them back; a file that even 1 by 1 cannot number is
// left as it was, with a message, and the call ends.
TEST_F(NumberingTest, StepDownToTheLimitAndNoFurther) {
  task.profile->numberStart = task.profile->numberIncrement = 1000;
  std::vector<std::string> lines(5000, "zzzz");
  load(lines);
  ASSERT_EQ(renumberAll(task), 0);
  std::vector<std::string> after = texts();
  EXPECT_EQ(after.front() + after[1] + after.back(), "000100025000");
  ASSERT_EQ(t.messages().size(), 1u);
  EXPECT_NE(t.lastMessage().text.find("NumberStart=1,  NumberIncrement=1,  File Profile 'SEQ'"),
            std::string::npos)
      << t.lastMessage().text;
  std::string written = t.read("profiles/kivfileprof.seq.txt");
  EXPECT_NE(written.find("NumberStart=1\nNumberIncrement=1\n"), std::string::npos) << written;
  EXPECT_TRUE(task.modified);

  t.clearMessages();
  for (int i = 0; i < 5000; ++i)
    linkLineBefore(task, task.lines.last, createLine(task, "zzzz", LineKind::Text));
  task.profile->numberStart = task.profile->numberIncrement = 100;
  EXPECT_EQ(renumberAll(task), -1);
  EXPECT_EQ(texts().front() + texts().back(), "0001zzzz");
  EXPECT_EQ(task.profile->numberIncrement, 100);
  ASSERT_EQ(t.messages().size(), 1u);
  EXPECT_NE(t.lastMessage().text.find("(10000)"), std::string::npos) << t.lastMessage().text;
}

}  // namespace
}  // namespace kiv

namespace kiv {
namespace {

// A UTF-8 file numbered in bytes 6..9: a change that moved the number (a
// command working in columns) is put back in place, with blanks before it.
TEST_F(NumberingTest, AUtf8LinesNumberStaysInItsBytes) {
  FileProfile& p = *task.profile;
  p.maxRecLen = 16;
  p.numberColStart = 6;
  p.numberColEnd = 9;
  p.charset = Charset::Utf8;
  load({"ab   0100", "abcde0200xy"});
  Line* a = task.lines.first->next;
  Line* b = a->next;
  ASSERT_EQ(setLineText(task, a, "\xC3\xA9\xC3\xA9   0100"), 0);  // two bytes longer
  EXPECT_EQ(a->text(), "\xC3\xA9\xC3\xA9 0100");
  ASSERT_EQ(setLineText(task, a, "z0100"), 0);  // shorter
  EXPECT_EQ(a->text(), "z    0100");
  ASSERT_EQ(setLineText(task, b,
                        "abcd\xC3\xA9"
                        "0200xy"),
            0);  // no blank to give up
  EXPECT_EQ(b->text(),
            "abcd\xC3\xA9"
            "0200xy")
      << "left as the command made it";
  ASSERT_EQ(setLineText(task, a, "z    0300"), 0);  // the number itself changed
  EXPECT_EQ(a->text(), "z    0300");
  Line* cut = b;
  ASSERT_EQ(setLineText(task, cut,
                        "\xC3\xA9"
                        "a\xE6\xBC\xA2"
                        "00x"),
            0);  // 漢 runs over byte 5
  ASSERT_EQ(setLineText(task, cut,
                        "a\xE6\xBC\xA2"
                        "00x"),
            0);  // é taken out
  EXPECT_EQ(cut->text(),
            "a  \xE6\xBC\xA2"
            "00x")
      << "blanks before 漢, which stays whole";
  p.charset = Charset::AsciiIso8859;  // columns are bytes: the command's text stands
  ASSERT_EQ(setLineText(task, cut, "x"), 0);
  ASSERT_EQ(setLineText(task, cut, "zz    0300"), 0);
  ASSERT_EQ(setLineText(task, cut, "z0300"), 0);
  EXPECT_EQ(cut->text(), "z0300");
}

}  // namespace
}  // namespace kiv
