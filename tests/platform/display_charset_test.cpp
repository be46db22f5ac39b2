#include "platform/display_charset.h"

#include <gtest/gtest.h>
#include <iconv.h>

#include <clocale>
#include <cwchar>
#include <set>

namespace kiv::platform {
namespace {

bool isControl(char32_t c) {
  return c < 0x20 || (c >= 0x7F && c < 0xA0);
}

TEST(DisplayCharset, Iso8859ShowsLatin1AndSubstitutesControls) {
  const auto& t = displayTable(DisplayCharset::AsciiIso8859);
  for (int b = 0; b < 256; ++b) {
    auto byte = static_cast<unsigned char>(b);
    if (isControl(static_cast<char32_t>(b))) {
      EXPECT_EQ(t[byte], controlSubstitute(byte)) << b;
    } else {
      EXPECT_EQ(t[byte], static_cast<char32_t>(b)) << b;
    }
  }
  EXPECT_EQ(t[0x00], U'␀');
  EXPECT_EQ(t[0x09], U'␉');
  EXPECT_EQ(t[0x7F], U'␡');
  EXPECT_EQ(t[0x85], U'\uFFFD');
}

TEST(DisplayCharset, IbmPcShowsEveryByteAsADistinctGlyph) {
  const auto& t = displayTable(DisplayCharset::AsciiIbmPc);
  std::set<char32_t> seen(t.begin(), t.end());
  EXPECT_EQ(seen.size(), 256u);
  EXPECT_EQ(t[0x01], U'☺');
  EXPECT_EQ(t[0x1F], U'▼');
  EXPECT_EQ(t[0x41], U'A');
  EXPECT_EQ(t[0x7F], U'⌂');
  EXPECT_EQ(t[0xB3], U'│');
  EXPECT_EQ(t[0xE1], U'ß');
  EXPECT_EQ(t[0xFF], U'\u00A0');
}

// Each cell takes one column and nothing reaches the terminal as a control.
TEST(DisplayCharset, EveryCodePointIsOnePrintableColumn) {
  const char* old = std::setlocale(LC_CTYPE, nullptr);
  std::string saved = old != nullptr ? old : "C";
  ASSERT_NE(std::setlocale(LC_CTYPE, "C.UTF-8"), nullptr);
  for (auto cs : {DisplayCharset::AsciiIso8859, DisplayCharset::AsciiIbmPc}) {
    for (int b = 0; b < 256; ++b) {
      char32_t c = displayChar(cs, static_cast<unsigned char>(b));
      EXPECT_FALSE(isControl(c)) << b;
      EXPECT_EQ(wcwidth(static_cast<wchar_t>(c)), 1)
          << "byte " << b << " U+" << std::hex << static_cast<unsigned>(c);
    }
  }
  std::setlocale(LC_CTYPE, saved.c_str());
}

// The upper half agrees with the C library's code page 437.
TEST(DisplayCharset, IbmPcUpperHalfMatchesTheCLibrary) {
  iconv_t cd = iconv_open("UTF-32LE", "CP437");
  if (cd == reinterpret_cast<iconv_t>(-1)) GTEST_SKIP() << "no CP437 converter";
  const auto& t = displayTable(DisplayCharset::AsciiIbmPc);
  for (int b = 0x80; b < 0x100; ++b) {
    char in = static_cast<char>(b);
    char32_t out = 0;
    char* inp = &in;
    auto* outp = reinterpret_cast<char*>(&out);
    std::size_t inLeft = 1;
    std::size_t outLeft = sizeof out;
    ASSERT_NE(iconv(cd, &inp, &inLeft, &outp, &outLeft), static_cast<std::size_t>(-1)) << b;
    EXPECT_EQ(t[static_cast<std::size_t>(b)], out) << "byte " << b;
  }
  iconv_close(cd);
}

}  // namespace
}  // namespace kiv::platform
