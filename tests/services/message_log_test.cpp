#include "services/message_log.h"

#include "services/messages.h"
#include "services/var_pool.h"
#include "services_fixture.h"

namespace kiv::test {
namespace {

class CommandServices : public Services {
 public:
  using Services::Services;
  std::vector<std::string> commands;
  void executeCommand(std::string_view text) override { commands.emplace_back(text); }
};

class MessageLogTest : public ServicesTest {
 protected:
  MessageLogTest() : s(platform) {
    s.dirs = services.dirs;
    varSet(s, "ZPATH.TEMP", s.dirs.options);
  }
  std::string logPath() const { return s.dirs.options + "/KIVmsglog.txt"; }
  CommandServices s;
};

TEST_F(MessageLogTest, LoggedMessagesAreWrittenNotShownAndOffered) {
  startMessageLog(s, "File List CHANGE");  // nothing logged: nothing offered
  stopMessageLog(s);
  offerMessageLog(s, true);
  EXPECT_TRUE(platform.boxes().empty());

  startMessageLog(s, "File List FIND");
  message(s, "FIND25", "not found\n");
  message(s, "", "");
  stopMessageLog(s);
  EXPECT_TRUE(platform.boxes().empty());
  const std::string rule = std::string(80, '-');
  EXPECT_EQ(read(logPath()), "\n" + rule + "\n\nMessage# 1    ID: FIND25\n\nnot found\n" + "\n" +
                                 rule + "\n\nMessage# 2    ID: None\n\n" + "\n");

  answer(platform::BoxAnswer::No);
  offerMessageLog(s, true);
  EXPECT_EQ(platform.boxes().back().text,
            "2 messages were logged during File List FIND.\n\nClick  'Yes'  to see these "
            "messages.");
  EXPECT_TRUE(s.commands.empty());
  answer(platform::BoxAnswer::Yes);
  offerMessageLog(s, true);
  offerMessageLog(s, false);
  EXPECT_EQ(s.commands, std::vector<std::string>(2, "BROWSE '" + logPath() + "'"));

  // After the stop, messages are shown again.
  message(s, "", "shown");
  EXPECT_EQ(platform.boxes().back().text, "shown");
}

TEST(LogFolding, BreaksAtTheFirstBlankFromColumnSeventy) {
  std::string word69(69, 'a');
  // Column 69 is the 70th character: a blank there is kept, one at 70 breaks.
  EXPECT_EQ(foldForLog(word69 + " b"), word69 + " b\n");
  EXPECT_EQ(foldForLog(word69 + "x   next"), word69 + "x\nnext\n");
  // A long word is never cut; the break waits for a blank.
  std::string word100(100, 'w');
  EXPECT_EQ(foldForLog(word100 + " tail"), word100 + "\ntail\n");
  // A line feed restarts the count.
  EXPECT_EQ(foldForLog("ab\n" + word69 + "x y"), "ab\n" + word69 + "x\ny\n");
  EXPECT_EQ(foldForLog("ends in a line feed\n"), "ends in a line feed\n");
  EXPECT_EQ(foldForLog(""), "");
}

}  // namespace
}  // namespace kiv::test
