// The vector UTF-8 check against the byte-at-a-time one: random text made
// of valid characters of every length, then damaged at random.
#include <gtest/gtest.h>

#include <random>
#include <string>

#include "core/text_columns.h"
#include "core/utf8_check.h"

namespace kiv {
namespace {

std::string randomText(std::mt19937& rng, std::size_t characters) {
  static const char32_t kRanges[][2] = {{0x20, 0x7E},     {0x80, 0x7FF},      {0x800, 0xD7FF},
                                        {0xE000, 0xFFFF}, {0x10000, 0x10FFFF}};
  std::string out;
  for (std::size_t i = 0; i < characters; ++i) {
    const auto& r = kRanges[rng() % 5];
    appendUtf8(out, r[0] + static_cast<char32_t>(rng() % (r[1] - r[0] + 1)));
  }
  return out;
}

TEST(Utf8CheckTest, TheVectorCheckAgreesWithTheByteCheck) {
  if (!vectorUtf8Available()) GTEST_SKIP() << "no AVX2 here";
  std::mt19937 rng(7);
  int invalid = 0;
  for (int round = 0; round < 20000; ++round) {
    std::string text = randomText(rng, rng() % 60);
    int damage = static_cast<int>(rng() % 3);
    for (int d = 0; d < damage && !text.empty(); ++d) {
      std::size_t at = rng() % text.size();
      switch (rng() % 3) {
        case 0: text[at] = static_cast<char>(rng()); break;         // any byte
        case 1: text.erase(at, 1); break;                            // a byte lost
        default: text.insert(at, 1, static_cast<char>(0x80 | (rng() & 0x7F)));  // a stray continuation
      }
    }
    bool want = validUtf8(text);
    invalid += !want;
    ASSERT_EQ(vectorUtf8Valid(text), want) << ::testing::PrintToString(text);
  }
  EXPECT_GT(invalid, 5000);  // both answers were tried often
  EXPECT_LT(invalid, 15000);
  // Edges the random text rarely makes: each bad form at a block's end.
  for (std::string bad : {"\xC0\x80", "\xE0\x80\x80", "\xED\xA0\x80", "\xF4\x90\x80\x80", "\xF8", "\xE6\xBC"}) {
    std::string text(31 - bad.size() + 1, 'a');
    text += bad;
    EXPECT_FALSE(vectorUtf8Valid(text)) << ::testing::PrintToString(text);
    EXPECT_FALSE(vectorUtf8Valid(text + std::string(40, 'b'))) << ::testing::PrintToString(text);
  }
}

}  // namespace
}  // namespace kiv
