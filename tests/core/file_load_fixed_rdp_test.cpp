// FIXED and RDP records: blocks, the short last record, static parts in both
// byte orders, the length modulo 65536, MaxRecLen growth and cut files.
#include <gtest/gtest.h>

#include "core/file_load.h"
#include "core/file_load_fixture.h"

namespace kiv {
namespace {

using test::LoadTest;
using V = std::vector<std::string>;

constexpr std::string_view kFixed = "Recfm=FIXED\nMaxRecLen=8\nBounds=1,8\n";

class LoadFixedTest : public LoadTest {};

TEST_F(LoadFixedTest, EveryByteIsDataAndAShortLastRecordIsPaddedAndReportedInEdit) {
  profile("f", kFixed);
  std::string file = t.file("a.f", "ab\r\ncd\n\t12345678xyz");
  auto task = open("a.f");
  ASSERT_TRUE(task);
  EXPECT_EQ(texts(*task), (V{"ab\r\ncd\n\t", "12345678", "xyz     "}));
  EXPECT_EQ(shape(*task), "TxxxB");
  EXPECT_EQ(task->load.terminator, "");
  EXPECT_EQ(task->mode, TaskMode::Edit);
  EXPECT_FALSE(task->modified);
  EXPECT_EQ(t.lastMessage().text,
            "RecordFormat=Fixed,  RecordLength=8,  Last record is short.\n\nActual record length "
            "does not match File Profile.\n\nSee OPTIONS, item FILE PROFILES, edit File Profile  "
            "F,  set field 'RecordLength' to evenly divide file size.\n\n" +
                file);

  t.clearMessages();
  task = open("a.f", TaskMode::Browse);
  EXPECT_EQ(texts(*task).back(), "xyz     ");
  EXPECT_TRUE(t.messages().empty()) << "reported in EDIT only";
}

TEST_F(LoadFixedTest, EbcdicPadAndEmptyFile) {
  profile("f", std::string(kFixed) + "CharsetFile=EBCDIC\n");
  t.file("a.f", "\xC1\xC2");
  auto task = open("a.f", TaskMode::View);
  EXPECT_EQ(texts(*task), V{"\xC1\xC2\x40\x40\x40\x40\x40\x40"});
  EXPECT_TRUE(task->lines.first->next->ebcdic);
  t.file("a.f", "");
  task = open("a.f");
  EXPECT_EQ(shape(*task), "TB");
}

TEST_F(LoadFixedTest, BinaryBytesArriveUnchangedInEveryFormat) {
  std::string all;
  for (int b = 0; b < 256; ++b) all += static_cast<char>(b);
  profile("f", "Recfm=FIXED\nMaxRecLen=64\n");
  t.file("a.f", all);
  auto task = open("a.f", TaskMode::View);
  EXPECT_EQ(texts(*task),
            (V{all.substr(0, 64), all.substr(64, 64), all.substr(128, 64), all.substr(192)}));
  profile("f", "Recfm=RDP\nRDPStaticBefore=00fF\nRDPReclenByteOrder=IBM\n");  // hex in any case
  t.file("a.f", std::string("\x00\xFF\x01\x00", 4) + all + std::string("\x00\xFF\x00\x00", 4));
  task = open("a.f", TaskMode::View);
  EXPECT_EQ(texts(*task), (V{all, ""}));
  t.file("a.f", "");
  EXPECT_EQ(shape(*open("a.f")), "TB");
  profile("f", "");
  t.file("a.f", std::string("a\0b\n\0\n", 6));
  EXPECT_TRUE(t.messages().empty());
  EXPECT_EQ(texts(*open("a.f")), (V{std::string("a\0b", 3), std::string(1, '\0')}));
  EXPECT_EQ(t.lastMessage().id, "FILE30") << "NUL bytes in a VARIABLE file are said";
}

TEST_F(LoadFixedTest, AChunkReadsWholeBlocksAndMayRunPast200Records) {
  varSet(s(), "ZEDIT.VIRTUALLOAD", "TRUE");
  profile("f", "Recfm=FIXED\nMaxRecLen=3000\n");
  t.file("a.f", std::string(3000 * 250, 'r'));
  auto task = open("a.f");
  EXPECT_EQ(task->lines.count, 1u + 210u) << "5 blocks of 42 records";
  EXPECT_FALSE(task->load.complete);
  EXPECT_EQ(loadChunk(*task), 0);
  EXPECT_EQ(task->lines.count, 1u + 250u + 1u);
}

class LoadRdpTest : public LoadTest {
 protected:
  // Profile lines of an RDP file with static parts AB before and CD 00
  // after the length field, 4 added to the data length.
  static std::string rdp(std::string_view order) {
    return "Recfm=RDP\nMaxRecLen=8\nBounds=1,8\nRDPStaticBefore=AB\nRDPStaticAfter=CD00\n"
           "RDPAddToReclen=4\nRDPReclenByteOrder=" +
           std::string(order) + "\n";
  }
  static std::string record(std::string_view data, bool intel) {
    std::size_t field = data.size() + 4;
    char lo = static_cast<char>(field & 0xFF), hi = static_cast<char>(field >> 8);
    std::string out = "\xAB";
    out += intel ? lo : hi;
    out += intel ? hi : lo;
    return out + std::string("\xCD\x00", 2) + std::string(data);
  }
};

TEST_F(LoadRdpTest, BothByteOrdersReadTheSameRecords) {
  for (bool intel : {true, false}) {
    profile("r", rdp(intel ? "Intel" : "IBM"));
    t.file("a.r", record("hello", intel) + record("", intel) + record("tab\t  ", intel));
    auto task = open("a.r");
    ASSERT_TRUE(task);
    EXPECT_EQ(texts(*task), (V{"hello", "", "tab\t  "})) << intel;
    EXPECT_TRUE(t.messages().empty());
  }
}

TEST_F(LoadRdpTest, LengthBelowTheAddedValueWrapsAndMaxRecLenGrows) {
  profile("r", rdp("Intel") + "RDPStaticBefore=None\nRDPStaticAfter=None\n");
  std::string data(65534, 'w');
  t.file("a.r", std::string("\x02\x00", 2) + data + std::string("\x0C\x00", 2) + "12345678");
  auto task = open("a.r");
  ASSERT_EQ(texts(*task), (V{data, "12345678"}));
  EXPECT_EQ(task->profile->maxRecLen, 65534);
  EXPECT_EQ(task->profile->boundRight, 65534);
  EXPECT_NE(t.read("options/kivfileprof.r.txt").find("MaxRecLen=65534\n"), std::string::npos);
}

TEST_F(LoadRdpTest, StaticPartsThatDoNotMatchEndTheLoad) {
  profile("r", rdp("Intel"));
  std::string good = record("one", true);
  std::string badBefore = record("two", true);
  badBefore[0] = 'X';
  t.file("a.r", good + badBefore + good);
  auto task = open("a.r");
  EXPECT_EQ(texts(*task), V{"one"});
  EXPECT_EQ(task->mode, TaskMode::View);
  EXPECT_EQ(t.lastMessage().text,
            "Record 1, static data expected before Record Length field was not found.\n\nFile "
            "load aborted.");

  std::string badAfter = record("two", true);
  badAfter[4] = '\x01';
  t.file("a.r", good + good + badAfter);
  task = open("a.r", TaskMode::Browse);
  EXPECT_EQ(texts(*task), (V{"one", "one"}));
  EXPECT_EQ(task->mode, TaskMode::Browse);
  EXPECT_EQ(t.lastMessage().text,
            "Record 2, static data expected after Record Length field was not found.\n\nFile "
            "load aborted.");
}

TEST_F(LoadRdpTest, CutFilesEndTheLoadWithAClearMessage) {
  profile("r", rdp("IBM"));
  std::string good = record("one", false);
  const std::string inPrefix =
      "Record 2, the file ends inside the record prefix (static data and Record Length "
      "field).\n\nFile load aborted.";
  struct Case {
    std::string tail;
    std::string message;
  } cases[] = {
      {record("two", false).substr(0, 6),
       "Record 2, data length 3 runs past the end of the file (1 bytes left).\n\nFile load "
       "aborted."},
      {"\xAB\x00", inPrefix},
      {std::string("\xAB\x00\x07\xCD", 4), inPrefix},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::PrintToString(c.tail));
    t.file("a.r", good + c.tail);
    auto task = open("a.r");
    EXPECT_EQ(texts(*task), V{"one"});
    EXPECT_EQ(task->mode, TaskMode::View);
    EXPECT_EQ(t.lastMessage().text, c.message);
  }
}

TEST_F(LoadRdpTest, BadHexInTheProfileIsReportedAndNothingIsLoaded) {
  t.file("a.r", record("one", true));
  profile("r", rdp("Intel") + "RDPStaticBefore=ABC\n");
  auto task = open("a.r");
  EXPECT_EQ(shape(*task), "TB");
  EXPECT_EQ(task->mode, TaskMode::View);
  EXPECT_EQ(t.lastMessage().text,
            "Hex string 'ABC' has a syntax error.\n\nError:  hex digits must be specified in "
            "pairs.");
  profile("r", rdp("Intel") + "RDPStaticAfter=CDG0\n");
  task = open("a.r");
  EXPECT_EQ(t.lastMessage().text,
            "Hex string 'CDG0' has a syntax error.\n\nError:  hex digits must be in set 0..9, "
            "A..F");
}

}  // namespace
}  // namespace kiv
