#include <gtest/gtest.h>

#include "commands/program_command_line.h"
#include "screen_fixture.h"

namespace kiv::test {
namespace {

using platform::Key;

// Short messages reach the message row and stay there until the next key,
// whichever way the command came and wherever the row stands.
TEST(MessagesShown, ShortMessagesStayOnTheMessageRowUntilTheNextKey) {
  for (const char* row : {"2 Above PF Keys", "1 Below Primary Command"}) {
    ScreenTest t(8, 60);
    varSet(t.session(), "ZMSGROW", row);
    varSet(t.session(), "ZCTRL.S.MAP", "SAVE");
    t.session().messageActions.push_back({"FILE91", "ShowShortMsg"});
    t.open("a.txt", "one\n");
    const std::string shown = "FILE91: File not modified, SAVE command ignored.";
    t.command("save");
    EXPECT_NE(t.screen().find(shown), std::string::npos) << row << "\n" << t.screen();
    t.press({.key = Key::Char, .ch = U'x'});  // the next key takes it away
    EXPECT_EQ(t.screen().find(shown), std::string::npos) << row << "\n" << t.screen();
    t.press({.key = Key::Char, .ch = U's', .ctrl = true});
    EXPECT_NE(t.screen().find(shown), std::string::npos) << row << "\n" << t.screen();
  }
}

TEST(MessagesShown, TheViewNoticeOfTheCommandLineShowsOnTheFirstScreen) {
  ScreenTest t(8, 70);
  t.session().messageActions.push_back({"VIEW05", "ShowShortMsg"});
  std::string path = t.file("a.txt", "one\n");
  ASSERT_EQ(processCommandLine(t.session(), {"/V", path}), 0);
  t.draw();
  EXPECT_NE(t.screen().find("VIEW05: In VIEW mode, if you modify this file"), std::string::npos)
      << t.screen();

  // A message of the load itself, given before the task has a panel.
  t.session().messageActions.push_back({"FILE30", "ShowShortMsg"});
  t.press({.key = Key::Char, .ch = U'x'});
  ASSERT_EQ(processCommandLine(t.session(), {t.file("m.txt", "a\r\nb\n")}), 0);
  t.draw();
  EXPECT_NE(t.screen().find("FILE30: File: "), std::string::npos) << t.screen();
}

TEST(IdleScreen, EditFromTheIdleScreenThenEndReturnsToIt) {
  ScreenTest t(8, 70);
  std::string path = t.file("a.txt", "one\n");
  t.draw();
  t.type("e " + path);
  t.press({Key::Enter});
  ASSERT_EQ(t.session().tasks.size(), 1u) << t.screen();
  t.type("end");
  EXPECT_EQ(commandFieldText(t.session()), "end") << t.screen();
  t.press({Key::Enter});
  EXPECT_TRUE(t.session().tasks.empty()) << t.screen();
}

}  // namespace
}  // namespace kiv::test
