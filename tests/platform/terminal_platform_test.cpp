// The parts of the terminal platform that need no terminal; the rest is
// tested end to end in tmux (tests/e2e/terminal_e2e.sh).
#include "platform/terminal_platform.h"

#include <gtest/gtest.h>

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

}  // namespace
}  // namespace kiv::platform
