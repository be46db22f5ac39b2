// The loader's one-pass record scan against a plain loop, on random buffers
// of the bytes it looks for, with windows that end inside a block, at the
// buffer's end and short of it.
#include "core/record_scan.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

namespace kiv {
namespace {

RecordScan expected(const std::string& buf, std::size_t window, unsigned char first,
                    unsigned char second, unsigned char special) {
  RecordScan s;
  std::size_t i = 0;
  for (; i < window; ++i) {
    auto c = static_cast<unsigned char>(buf[i]);
    if (c == first || c == second) break;
    s.highBit = s.highBit || c >= 0x80;
    s.special = s.special || c == special || c == 0 || c == 0x1A;
  }
  s.end = i;
  return s;
}

TEST(RecordScanTest, AgreesWithAPlainLoop) {
  std::mt19937 rng(11);
  const unsigned char kBytes[] = {'a', 'b', 0x0A, 0x0D, 0x09, 0x00, 0x1A, 0xC3, 0xFF, ' '};
  int ended = 0, high = 0, special = 0;
  for (int round = 0; round < 20000; ++round) {
    std::string buf(rng() % 150, 'x');
    int rare = 1 + static_cast<int>(rng() % 200);  // how seldom a byte is not a letter
    for (char& c : buf)
      if (static_cast<int>(rng() % static_cast<unsigned>(rare)) == 0)
        c = static_cast<char>(kBytes[rng() % 10]);
    std::size_t window = buf.empty() ? 0 : rng() % (buf.size() + 1);
    unsigned char first = round % 2 ? 0x0A : 0x0D, second = round % 2 ? 0x0D : 0x0A;
    RecordScan want = expected(buf, window, first, second, 0x09);
    RecordScan got = scanRecord(buf, window, first, second, 0x09);
    ASSERT_EQ(got.end, want.end) << ::testing::PrintToString(buf) << " window " << window;
    ASSERT_EQ(got.highBit, want.highBit) << ::testing::PrintToString(buf) << " window " << window;
    ASSERT_EQ(got.special, want.special) << ::testing::PrintToString(buf) << " window " << window;
    ended += want.end < window;
    high += want.highBit;
    special += want.special;
  }
  // Every answer was tried often.
  EXPECT_GT(ended, 1000);
  EXPECT_GT(high, 1000);
  EXPECT_GT(special, 1000);
  EXPECT_GT(20000 - ended, 1000);
}

}  // namespace
}  // namespace kiv
