// FIXED and RDP records: whole blocks per chunk, the length modulo 65536 with
// MaxRecLen growth, and what an ended RDP load keeps. Records, padding,
// static parts and the messages are checked by tests/cases/load-fixed and
// tests/cases/load-rdp.
#include <gtest/gtest.h>

#include "core/file_load.h"
#include "core/file_load_fixture.h"

namespace kiv {
namespace {

using test::LoadTest;
using V = std::vector<std::string>;

class LoadFixedTest : public LoadTest {};

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

TEST_F(LoadRdpTest, AnEndedLoadKeepsOnlyTheRecordsBeforeTheBadOne) {
  profile("r", rdp("IBM"));
  std::string good = record("one", false);
  std::string badBefore = record("two", false);
  badBefore[0] = 'X';
  std::string badAfter = record("two", false);
  badAfter[4] = '\x01';
  for (const std::string& tail : {badBefore + good, badAfter, record("two", false).substr(0, 6),
                                  std::string("\xAB\x00\x07\xCD", 4)}) {
    SCOPED_TRACE(::testing::PrintToString(tail));
    t.file("a.r", good + tail);
    EXPECT_EQ(texts(*open("a.r")), V{"one"});
  }
  profile("r", rdp("IBM") + "RDPStaticBefore=ABC\n");
  EXPECT_EQ(shape(*open("a.r")), "TB") << "a bad static part in the profile loads nothing";
}

}  // namespace
}  // namespace kiv
