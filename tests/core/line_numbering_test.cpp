// Sequence numbers where typed commands cannot reach: one line numbered
// between its neighbours (as the line commands do for copied and moved
// lines) with the repair of the lines after it, and the limits of a full
// renumber. The commands themselves are case directories
// (tests/cases/numbering).
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

constexpr std::string_view kNearMax = "Number of records in file is near max";
constexpr std::string_view kRenumberRequired = "full file renumber required.";

// A session and a task whose profile numbers columns 1 to 4 from 100 by 100.
struct Bed {
  Bed() : task(t.session()) {
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

  // The file's digits are EBCDIC ones when the profile says so; the texts
  // the tests give and read are ASCII.
  std::string stored(std::string text) const {
    if (task.profile->charset == Charset::Ebcdic)
      for (char& c : text)
        if (c >= '0' && c <= '9') c = static_cast<char>(0xF0 + (c - '0'));
    return text;
  }
  std::string shown(std::string_view text) const {
    std::string out(text);
    for (char& c : out)
      if (static_cast<unsigned char>(c) >= 0xF0 && static_cast<unsigned char>(c) <= 0xF9)
        c = static_cast<char>('0' + (static_cast<unsigned char>(c) - 0xF0));
    return out;
  }

  void load(const std::vector<std::string>& texts) {
    initLineStore(task);
    for (const std::string& text : texts)
      linkLineBefore(task, nullptr, createLine(task, stored(text), LineKind::Text));
    finishLineStore(task);
  }

  // A new line below the n-th TEXT line (0: below TOF), numbered.
  Line* insertNumbered(long n, std::string_view text) {
    Line* below = n == 0 ? task.lines.first : textLineAt(task, n - 1);
    Line* fresh = createLine(task, stored(std::string(text)), LineKind::Text);
    linkBelow(task, below, fresh);
    EXPECT_EQ(numberLine(task, fresh), 0);
    return fresh;
  }

  std::vector<std::string> texts() const {
    std::vector<std::string> out;
    for (const Line* l = task.lines.first; l; l = l->next)
      if (l->is(LineKind::Text)) out.push_back(shown(l->text()));
    return out;
  }

  std::string messages() const {
    std::string out;
    for (const std::string& m : t.messageTexts()) out += m + "|";
    return out;
  }

  test::EditorTest t;
  Task task;
};

class NumberingTest : public ::testing::Test, public Bed {};

struct InsertCase {
  const char* name;
  std::vector<std::string> lines;
  long after;  // the new line "----x" goes below this TEXT line (0: first)
  std::vector<std::string> expected;
  std::string_view message = {};  // part of the one message shown, if any
  int stepdown = 0;
  bool ebcdic = false;
};

const InsertCase kInsertCases[] = {
    {"gap of 100 takes 10", {"0100a", "0200b"}, 1, {"0100a", "0110x", "0200b"}},
    {"gap over 100 takes 100", {"0100a", "0500b"}, 1, {"0100a", "0200x", "0500b"}},
    {"gap of 5 takes 1", {"0100a", "0105b"}, 1, {"0100a", "0101x", "0105b"}},
    {"stepdown increment below the gap", {"0100a", "0200b"}, 1, {"0100a", "0105x", "0200b"}, {}, 5},
    {"stepdown increment not below the gap",
     {"0100a", "0104b"},
     1,
     {"0100a", "0101x", "0104b"},
     {},
     5},
    {"gap of 1 takes the next number and repairs",
     {"0100a", "0101b", "c", "0200d"},
     1,
     {"0100a", "0101x", "0111b", "0121", "0200d"}},
    {"repair runs to the end",
     {"0100a", "0101b", "0102c"},
     1,
     {"0100a", "0101x", "0102b", "0202c"}},
    {"first line takes NumberStart and repairs",
     {"0100a", "0200b"},
     0,
     {"0100x", "0110a", "0200b"}},
    {"last line takes the increment", {"0100a", "0200b"}, 2, {"0100a", "0200b", "0300x"}},
    {"previous without digits gives NumberStart",
     {"abcd1", "0200b"},
     1,
     {"abcd1", "0100x", "0200b"}},
    {"ebcdic digits read and written",
     {"0100a", "0101b", "0200c"},
     1,
     {"0100a", "0101x", "0111b", "0200c"},
     {},
     0,
     true},
    {"near the maximum the increment is 2", {"9950a"}, 1, {"9950a", "9952x"}, kNearMax},
    {"run out renumbers the file", {"9998a"}, 1, {"0100a", "0200x"}, kRenumberRequired},
};

TEST(NumberLine, NumbersBetweenNeighboursAndRepairs) {
  for (const InsertCase& c : kInsertCases) {
    SCOPED_TRACE(c.name);
    Bed run;  // a session of its own: the near-maximum notice is once a session
    run.task.profile->numberStepdownIncrement = c.stepdown;
    if (c.ebcdic) run.task.profile->charset = Charset::Ebcdic;
    run.load(c.lines);
    Line* fresh = run.insertNumbered(c.after, "----x");
    EXPECT_EQ(run.texts(), c.expected);
    EXPECT_TRUE(fresh->has(LineFlag::Sequenced));
    if (c.ebcdic) {
      EXPECT_EQ(static_cast<unsigned char>(fresh->text()[0]), 0xF0);
    }
    std::string said = run.messages();
    if (c.message.empty()) {
      EXPECT_EQ(said, "");
    } else {
      EXPECT_NE(said.find(c.message), std::string::npos) << said;
    }
    EXPECT_LE(run.t.messages().size(), 1u);
  }
}

// The near-maximum notice is shown once a session; widths outside 4..8 and
// lines that are not TEXT are left alone.
TEST_F(NumberingTest, NearMaxNoticeOnceAndUnusableFieldsWriteNothing) {
  load({"9950a"});
  insertNumbered(1, "----x");
  insertNumbered(2, "----y");
  EXPECT_EQ(texts(), (std::vector<std::string>{"9950a", "9952x", "9954y"}));
  EXPECT_EQ(t.messages().size(), 1u) << messages();

  EXPECT_EQ(numberLine(task, task.lines.first), 0);  // TOF
  task.profile->numberColEnd = 3;
  EXPECT_EQ(renumberAll(task), 0);
  task.profile->numberColEnd = 9;
  EXPECT_EQ(renumberAll(task), 0);
  task.profile->numberColEnd = 11;  // past MaxRecLen
  task.profile->numberColStart = 8;
  EXPECT_EQ(renumberAll(task), 0);
  EXPECT_EQ(texts(), (std::vector<std::string>{"9950a", "9952x", "9954y"}));
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
  EXPECT_NE(messages().find("NumberStart=1,  NumberIncrement=1,  File Profile 'SEQ'"),
            std::string::npos)
      << messages();
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
  EXPECT_NE(messages().find("(10000)"), std::string::npos) << messages();
}

}  // namespace
}  // namespace kiv
