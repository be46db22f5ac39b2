#include "commands/task_commands.h"

#include <gtest/gtest.h>

namespace kiv {
namespace {

// The commands themselves are cases: task-commands/open-bounds-save-end-then-
// the-general-table (an alias, a quoted name, BOUNDS, SAVE, END, then no task)
// and task-commands/swap-swapback-and-cancel-through-aliases.
TEST(Unquoted, DropsOnePairOfEnclosingQuotes) {
  EXPECT_EQ(unquoted("'a b'"), "a b");
  EXPECT_EQ(unquoted("\"x\"  "), "x");
  EXPECT_EQ(unquoted("'unclosed"), "'unclosed");
  EXPECT_EQ(unquoted("'"), "'");
  EXPECT_EQ(unquoted("plain"), "plain");
}

}  // namespace
}  // namespace kiv
