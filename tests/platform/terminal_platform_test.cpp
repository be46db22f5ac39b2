// The parts of the terminal platform that need no terminal, the colours and
// the characters it shows; the rest is tested end to end in tmux
// (tests/e2e/terminal_e2e.sh).
#include "platform/terminal_platform.h"

#include <gtest/gtest.h>
#include <iconv.h>

#include <clocale>
#include <cwchar>
#include <set>

#include "platform/color_match.h"
#include "platform/display_charset.h"
#include "platform/terminal_type.h"

namespace kiv::platform {
namespace {

TEST(DisplayTerminal, OnlyChangedRowsAreSent) {
  Grid shown(4, 10);
  Grid next = shown;
  EXPECT_TRUE(changedRows(shown, next).empty());
  next.set(2, 9, Cell{U'x', 0x70});
  next.set(0, 0, Cell{U' ', 0x17});  // a colour change alone counts too
  EXPECT_EQ(changedRows(shown, next), (std::vector<int>{0, 2}));
  EXPECT_EQ(changedRows(Grid(), next), (std::vector<int>{0, 1, 2, 3}));
  EXPECT_EQ(changedRows(Grid(4, 11), next).size(), 4u);
}

TEST(DisplayTerminal, TrueColourDescriptions) {
  EXPECT_TRUE(wantsTrueColour("truecolor"));
  EXPECT_TRUE(wantsTrueColour("24bit"));
  EXPECT_FALSE(wantsTrueColour("yes"));
  EXPECT_FALSE(wantsTrueColour(nullptr));
  EXPECT_EQ(directColourCandidates("xterm-256color"), std::vector<std::string>{"xterm-direct"});
  EXPECT_EQ(directColourCandidates("tmux-256color"),
            (std::vector<std::string>{"tmux-direct", "xterm-direct"}));
  EXPECT_EQ(directColourCandidates("xterm"), std::vector<std::string>{"xterm-direct"});
  // Without true colour asked for, TERM is taken as it is.
  EXPECT_EQ(chooseTerminalType("xterm-256color", nullptr), "xterm-256color");
  EXPECT_EQ(chooseTerminalType(nullptr, "truecolor"), "");
  EXPECT_EQ(chooseTerminalType("no-such-terminal", "truecolor"), "no-such-terminal");
}

TEST(DisplayTerminal, RefusesWithoutATerminal) {
  if (isatty(0) && isatty(1)) GTEST_SKIP() << "run on a terminal";
  std::string error;
  EXPECT_EQ(TerminalPlatform::open(error), nullptr);
  EXPECT_EQ(error, "standard input and output must be a terminal");
}

TEST(DisplayColours, EveryCubeAndGreyColourIsItsOwnNearest) {
  for (int i = 16; i < 256; ++i) {
    EXPECT_EQ(nearestXterm256(xtermColor(i)), i) << "colour " << i;
  }
  EXPECT_EQ(xtermColor(-1), Rgb{});
  EXPECT_EQ(xtermColor(256), Rgb{});
}

TEST(DisplayColours, NearestOf256ForTypicalPaletteColours) {
  EXPECT_EQ(nearestXterm256({0, 0, 0}), 16);  // the cube's black, not a grey
  EXPECT_EQ(nearestXterm256({255, 255, 255}), 231);
  EXPECT_EQ(nearestXterm256({255, 0, 0}), 196);
  EXPECT_EQ(nearestXterm256({0, 0, 170}), 19);    // (0, 0, 175)
  EXPECT_EQ(nearestXterm256({170, 85, 0}), 130);  // (175, 95, 0)
  EXPECT_EQ(nearestXterm256({128, 128, 128}), 244);
  EXPECT_EQ(nearestXterm256({40, 40, 40}), 235);  // a dark grey takes the ramp
  EXPECT_EQ(nearestXterm256({250, 250, 250}), 231);
}

TEST(DisplayColours, AnsiAndDirectColours) {
  EXPECT_EQ(nearestAnsi({0, 0, 0}, 8), 0);
  EXPECT_EQ(nearestAnsi({255, 255, 255}, 16), 15);
  EXPECT_EQ(nearestAnsi({255, 255, 255}, 8), 7);
  EXPECT_EQ(nearestAnsi({0, 0, 170}, 8), 4);
  EXPECT_EQ(nearestAnsi({255, 85, 85}, 16), 9);
  EXPECT_EQ(directColor({0x12, 0x34, 0x56}), 0x123456u);
  EXPECT_EQ(directColor({0, 0, 0}), 0x000100u);  // never an ANSI number
  EXPECT_GE(directColor({0, 0, 7}), 8u);
}

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
