#include "services/messages.h"

#include <climits>

#include "services/format.h"
#include "services/message_log.h"
#include "services/option_group.h"
#include "services/path_search.h"
#include "services/var_pool.h"
#include "services_fixture.h"

namespace kiv::test {
namespace {

using platform::BoxAnswer;
using platform::BoxButtons;
using platform::MessageKind;
using platform::Sound;

// A services layer with a message row and a command executor that record.
class RecordingServices : public Services {
 public:
  using Services::Services;
  bool hasTask = true;
  std::vector<std::string> rows;
  std::vector<std::string> commands;
  bool showShortMessage(std::string_view text) override {
    if (hasTask) rows.push_back(fitToRow(text, 40));
    return hasTask;
  }
  void executeCommand(std::string_view text) override { commands.emplace_back(text); }
};

class MessageTest : public ServicesTest {
 protected:
  MessageTest() : s(platform) { s.dirs = services.dirs; }
  RecordingServices s;
};

const std::string kOffer =
    "\n______________________________________________________________________\n\n"
    "YES - continue 'popup' message\n\nNO - show 'short message' next time";

TEST_F(MessageTest, PopupWithoutIdentifierIsAPlainBox) {
  varSet(s, "ZMSGSOUND", "Sound3");
  message(s, "", "Plain\ntext");
  ASSERT_EQ(platform.boxes().size(), 1u);
  EXPECT_EQ(platform.boxes()[0].title, "KIV Message");
  EXPECT_EQ(platform.boxes()[0].text, "Plain\ntext");
  EXPECT_EQ(platform.boxes()[0].buttons, BoxButtons::Ok);
  EXPECT_EQ(platform.sounds(), std::vector<Sound>{Sound::Error});
  EXPECT_EQ(last().kind, MessageKind::Popup);
  EXPECT_TRUE(s.messageActions.empty());
}

TEST_F(MessageTest, AnsweringNoSwitchesTheIdentifierToShortMessages) {
  t.answerPopup(BoxAnswer::No);
  message(s, "FIND25", "String  not\n\nfound");
  ASSERT_EQ(platform.boxes().size(), 1u);
  EXPECT_EQ(platform.boxes()[0].text, "ID: FIND25\n\nString  not\n\nfound" + kOffer);
  EXPECT_EQ(platform.boxes()[0].buttons, BoxButtons::YesNo);
  ASSERT_EQ(s.messageActions.size(), 1u);
  EXPECT_EQ(read(s.dirs.options + "/kivoptions.messages.txt"),
            "MsgID=FIND25  Action=ShowShortMsg\n");

  message(s, "FIND25", "String  not\n\nfound  again, and this text is far too long for the row");
  EXPECT_EQ(platform.boxes().size(), 1u);
  EXPECT_EQ(last().kind, MessageKind::Short);
  EXPECT_EQ(last().text,
            "FIND25: String not found again, and this text is far too long for the row");
  ASSERT_EQ(s.rows.size(), 1u);
  EXPECT_EQ(s.rows[0], "FIND25: String not found again, and t...");
  EXPECT_TRUE(s.messagePending);
}

TEST_F(MessageTest, YesKeepsPopupsAndUnknownActionsShowNothing) {
  t.answerPopup(BoxAnswer::Yes);
  message(s, "DLM5", "x");
  EXPECT_TRUE(s.messageActions.empty());
  s.messageActions.push_back({"QUIET5", "Ignore"});
  message(s, "QUIET5", "never shown");
  EXPECT_EQ(platform.boxes().size(), 1u);
  EXPECT_EQ(platform.messages().size(), 1u);
  // A short message without a task shows nothing but is still recorded.
  s.messageActions.push_back({"SHORT5", "ShowShortMsg"});
  s.hasTask = false;
  message(s, "SHORT5", "no task");
  EXPECT_TRUE(s.rows.empty());
}

TEST_F(MessageTest, MessagesGroupReaderAcceptsOnlyWellFormedLines) {
  write(s.dirs.options + "/kivoptions.messages.txt",
        "MsgID=A5   Action=ShowShortMsg\n"
        "msgid=B5 Action=ShowShortMsg\n"
        "MsgID=C5\n"
        "MsgID= Action=ShowShortMsg\n"
        "MsgID=D5 Action=\n"
        "MsgID=E5 Act=ShowShortMsg\n"
        "MsgID=F5 Action=ShowPopupMsg\r\n");
  readMessagesGroup(s);
  ASSERT_EQ(s.messageActions.size(), 2u);
  EXPECT_EQ(s.messageActions[0].id, "A5");
  EXPECT_EQ(s.messageActions[1].id, "F5");
  EXPECT_EQ(s.messageActions[1].action, "ShowPopupMsg");
}

TEST_F(MessageTest, UnwritableMessagesGroupIsReportedOnceAsShort) {
  s.dirs.options = dir + "/missing";
  t.answerPopup(BoxAnswer::No);  // to the first message
  t.answerPopup(BoxAnswer::No);  // to OPTIONS40, which then goes short too
  message(s, "X5", "first");
  EXPECT_EQ(last().id, "OPTIONS40");
  EXPECT_EQ(last().text, "OPTIONS40: Unable to write option file 'Messages'");
  EXPECT_EQ(last().kind, MessageKind::Short);
}

TEST_F(MessageTest, QuestionsStoreTheirAnswers) {
  t.answer(BoxAnswer::Yes);
  EXPECT_EQ(askYesNo(s, "Sure?"), "YES");
  t.answer(BoxAnswer::No);
  EXPECT_EQ(askYesNo(s, "Sure?"), "NO");
  t.answer(BoxAnswer::Closed);
  EXPECT_EQ(askYesNo(s, "Sure?"), "");  // closed: no answer, the old one stays stored
  EXPECT_EQ(varGet(s, "ZYESNOANSWER"), "NO");
  t.answer(BoxAnswer::Cancel);
  EXPECT_EQ(askYesNoCancel(s, "Save?"), "CANCEL");
  EXPECT_EQ(varGet(s, "ZYESNOCANCELANSWER"), "CANCEL");
  EXPECT_EQ(platform.boxes().back().buttons, BoxButtons::YesNoCancel);
  EXPECT_EQ(platform.boxes().back().title, "KIV Message");
}

TEST_F(MessageTest, SoundFollowsZmsgsound) {
  const std::pair<const char*, std::vector<Sound>> cases[] = {
      {"Sound1", {Sound::Information}}, {"Sound2", {Sound::Warning}},
      {"Sound4", {Sound::Question}},    {"Sound5", {}},
      {"sound1", {}},                   {"Sound12", {}}};
  for (const auto& [value, expected] : cases) {
    platform.clearRecords();
    varSet(s, "ZMSGSOUND", value);
    messageSound(s);
    EXPECT_EQ(platform.sounds(), expected) << value;
  }
}

TEST(ShortText, CollapsesBlanksAndFitsTheRow) {
  EXPECT_EQ(shortMessageText("", "a\n\nb   c "), "a b c ");
  EXPECT_EQ(shortMessageText("ID5", " x"), "ID5:  x");
  EXPECT_EQ(fitToRow("abcdefgh", 8), "abcdefgh");
  EXPECT_EQ(fitToRow("abcdefghi", 8), "abcde...");
  EXPECT_EQ(fitToRow("abcdefghi", 2), "..");
  EXPECT_EQ(fitToRow("abc", 0), "");
}

class MessageLogTest : public ServicesTest {
 protected:
  MessageLogTest() : s(platform) {
    s.dirs = services.dirs;
    varSet(s, "ZPATH.TEMP", s.dirs.options);
  }
  std::string logPath() const { return s.dirs.options + "/KIVmsglog.txt"; }
  RecordingServices s;
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

  t.answer(platform::BoxAnswer::No);
  offerMessageLog(s, true);
  EXPECT_EQ(platform.boxes().back().text,
            "2 messages were logged during File List FIND.\n\nClick  'Yes'  to see these "
            "messages.");
  EXPECT_TRUE(s.commands.empty());
  t.answer(platform::BoxAnswer::Yes);
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

TEST(Format, SubstitutesPrintfStyleTemplatesAndGroupsThousands) {
  EXPECT_EQ(format("%08d ", 123), "00000123 ");
  EXPECT_EQ(format("[%5s|%-5s|%.2s]", "ab", "cd", "xyz"), "[   ab|cd   |xy]");
  EXPECT_EQ(format("Uknown TAB stop type  %c", 'Q'), "Uknown TAB stop type  Q");
  EXPECT_EQ(format("100%% %ld %u %X", 5L, 7u, 255), "100% 5 7 FF");
  EXPECT_EQ(format("%05d", -42), "-0042");
  EXPECT_EQ(format("%x %08X %ld", 0xBEEF, 0xBEEF, LLONG_MIN), "beef 0000BEEF -9223372036854775808");
  EXPECT_EQ(groupThousands(0) + " " + groupThousands(999), "0 999");
  EXPECT_EQ(groupThousands(1000), "1,000");
  EXPECT_EQ(groupThousands(2147000000), "2,147,000,000");
}

TEST(Format, BadTemplatesNeverCrash) {
  EXPECT_EQ(format("%s and %s", "one"), "one and ");
  EXPECT_EQ(format("%d", "text"), "text");
  EXPECT_EQ(format("%s", 12), "12");
  EXPECT_EQ(format("trailing %"), "trailing %");
  EXPECT_EQ(format("%99999999d", 1).size(), 4096u);
  EXPECT_EQ(format("no args", 1, 2), "no args");
}

}  // namespace
}  // namespace kiv::test
