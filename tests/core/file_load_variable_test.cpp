// VARIABLE records: what a case directory cannot see (record numbers, the
// profile after a long record, trailing blanks as loaded, the absolute
// maximum) and the memchr scan against the byte-by-byte rules. Terminators,
// strictness, form feeds, 0x1A, tabs, folding, AutoIncrease and EBCDIC
// records are checked by tests/cases/load-variable.
#include <gtest/gtest.h>

#include <random>

#include "core/file_load.h"
#include "core/file_load_fixture.h"

namespace kiv {
namespace {

using test::InputTuning;
using test::LoadTest;
using V = std::vector<std::string>;

class LoadVariableTest : public LoadTest {
 protected:
  // Loads `contents` as a.v under the plain profile plus `lines`.
  V load(std::string_view lines, std::string_view contents, InputTuning tuning = {}) {
    profile("v", lines);
    t.file("a.v", contents);
    task = open("a.v", TaskMode::Edit, tuning);
    return task ? texts(*task) : V{"<not opened>"};
  }

  std::unique_ptr<Task> task;
};

TEST_F(LoadVariableTest, MixedEndsAreNumberedAndWhatTheSaveChangesIsSaid) {
  EXPECT_EQ(load("", "one\r\ntwo\nthree\rfour\n\nlast"),
            (V{"one", "two", "three", "four", "", "last"}));
  EXPECT_EQ(task->lines.last->prev->recordNumber(), 6u);
  EXPECT_EQ(t.lastMessage().id, "FILE30");  // its words: the case mixed-ends-first-crlf
}

// The message (and IgnoreExcessBlanks turning to Notify on a record with more
// than blanks past MaxRecLen): the case load-variable/ignore-excess-blanks-notifies-on-data.
TEST_F(LoadVariableTest, NotifyEndsTheLoadKeepingTheLinesReadAndGoesToView) {
  EXPECT_EQ(load("MaxRecLen=8\n", "ok\n123456789\nnever\n"), (V{"ok"}));
  EXPECT_EQ(shape(*task), "TxB");
  EXPECT_EQ(task->mode, TaskMode::View);
  EXPECT_FALSE(task->modified);
  EXPECT_TRUE(task->load.ended);
  EXPECT_EQ(loadChunk(*task), 0) << "an ended load is complete";
  EXPECT_EQ(loadAll(*task), 0);
  load("MaxRecLen=8\nLongRecordOption=IgnoreExcessBlanks\n", "a\n12345678  x\n");
  EXPECT_EQ(task->profile->longRecordOption, "Notify");
}

TEST_F(LoadVariableTest, AbsoluteMaximumFoldsOrEndsTheLoad) {
  std::string big(kMaxLineLength + 1, 'x');
  load("MaxRecLen=128000\nMaxRecordOption=Fold\n", big + "\nz\n");
  ASSERT_EQ(task->lines.count, 5u);
  EXPECT_EQ(task->lines.first->next->length(), kMaxLineLength);
  EXPECT_EQ(task->lines.first->next->next->text(), "x");
  EXPECT_EQ(t.lastMessage().text,
            "File:  " + t.path("a.v") +
                "\n\n1  records exceeded the absolute max record length of  128000.\n\nThese "
                "records were folded during file load.\n\nWARNING:  If you SAVE a file with "
                "folded records, they become permanently folded.");

  // Blanks past MaxRecLen are kept only up to the absolute maximum.
  load("MaxRecLen=8\nLongRecordOption=IgnoreExcessBlanks\n", "first\n" + std::string(128001, ' '));
  EXPECT_EQ(texts(*task), V{"first"});
  EXPECT_EQ(task->mode, TaskMode::View);
  EXPECT_EQ(t.lastMessage().text,
            "File:  " + t.path("a.v") +
                "\n\nRecord(2)  length exceeds absolute max of  128000. File load "
                "terminated.\n\nTo remedy, invoke OPTIONS, item FILE PROFILES, item GENERAL, "
                "double-click on FileProfile(V)\n\nSet field  'MaxRecordOption'  to  'Fold'");
}

TEST_F(LoadVariableTest, TrailingBlanksAreStrippedPaddedOrLeft) {
  EXPECT_EQ(load("TrailingBlanksOption=StripBlanksOnWrite\n", "ab  \n   \n a\t \n"),
            (V{"ab", "", " a\t"}));
  EXPECT_EQ(load("TrailingBlanksOption=PadBlanksOnWrite\nMaxRecLen=8\n", "ab\n\n12345678\n"),
            (V{"ab      ", "        ", "12345678"}));
  EXPECT_EQ(load("TrailingBlanksOption=LeaveBlanksAsIs\n", "ab  \n"), (V{"ab  "}));
  EXPECT_EQ(load("TrailingBlanksOption=PadBlanksOnWrite\nMaxRecLen=10\nTabsIn=4\n", "\tx\n"),
            (V{"    x     "}));
  EXPECT_FALSE(task->modified);
}

TEST_F(LoadVariableTest, EbcdicLinesAreMarked) {
  EXPECT_EQ(load("CharsetFile=EBCDIC\n", "\xC1\x25"), V{"\xC1"});
  EXPECT_TRUE(task->lines.first->next->ebcdic());
}

// A UTF-16 load cut short by an odd length keeps the records before the
// last byte (the marks, replaced characters and messages: the cases of
// tests/cases/load-utf16).
TEST_F(LoadVariableTest, Utf16OddLengthKeepsTheRecordsBeforeTheLastByte) {
  EXPECT_EQ(load("", std::string("\377\376A\0\n\0B\0C", 9)), (V{"A", "B"}));
  EXPECT_EQ(shape(*task), "TxxB");
  t.file("a.v", "\377\376A");
  EXPECT_EQ(shape(*open("a.v", TaskMode::Browse)), "TB");
}

// Random files under many settings: the memchr scan, the byte-by-byte rules
// and tiny read blocks (records across every buffer boundary) give the same
// lines, terminator, mode and messages.
TEST_F(LoadVariableTest, ScanAndByteRulesAgreeAcrossBlockBoundaries) {
  const std::string settings[] = {
      "",
      "BOOLreadeorstrict=TRUE\n",
      "BOOLeofread=TRUE\nTabsIn=4\nTrailingBlanksOption=StripBlanksOnWrite\n",
      "MaxRecLen=8\nLongRecordOption=Fold\n",
      "MaxRecLen=8\nLongRecordOption=IgnoreExcessBlanks\nBOOLreadeorstrict=TRUE\n",
      "MaxRecLen=8\nLongRecordOption=AutoIncrease\nBOOLlock=TRUE\n",
      "MaxRecLen=8\n",
      "CharsetFile=EBCDIC\nNewFileRecordTerminator=CR\nTabsIn=2\n",
      "CharsetFile=EBCDIC\nNewFileRecordTerminator=CR+LF\n",
  };
  const char alphabet[] = {'a', 'b', ' ', '\t', '\r', '\n', '\x0C', '\x1A', '\x25', '\x40', '\x05'};
  std::mt19937 rng(20240611);
  struct Result {
    V lines;
    std::string terminator;
    TaskMode mode;
    std::vector<std::string> messages;
  };
  auto run = [&](InputTuning tuning) {
    t.clearMessages();
    task = open("a.v", TaskMode::Browse, tuning);
    return Result{texts(*task), task->load.terminator, task->mode, t.messageTexts()};
  };
  for (const std::string& lines : settings) {
    profile("v", lines);
    for (int round = 0; round < 40; ++round) {
      std::string contents(std::uniform_int_distribution<int>(0, 120)(rng), 'a');
      for (char& c : contents)
        c = alphabet[std::uniform_int_distribution<std::size_t>(0, sizeof alphabet - 1)(rng)];
      t.file("a.v", contents);
      Result reference = run({1 << 20, true});
      for (InputTuning tuning : {InputTuning{1 << 20, false}, InputTuning{1, false},
                                 InputTuning{3, false}, InputTuning{2, true}}) {
        Result r = run(tuning);
        SCOPED_TRACE(::testing::PrintToString(contents) + " with " + lines);
        EXPECT_EQ(r.lines, reference.lines);
        EXPECT_EQ(r.terminator, reference.terminator);
        EXPECT_EQ(r.mode, reference.mode);
        EXPECT_EQ(r.messages, reference.messages);
      }
    }
  }
}

}  // namespace
}  // namespace kiv
