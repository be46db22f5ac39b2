#include "services/messages.h"

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
  answerPopup(BoxAnswer::No);
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
  answerPopup(BoxAnswer::Yes);
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
  answerPopup(BoxAnswer::No);  // to the first message
  answerPopup(BoxAnswer::No);  // to OPTIONS40, which then goes short too
  message(s, "X5", "first");
  EXPECT_EQ(last().id, "OPTIONS40");
  EXPECT_EQ(last().text, "OPTIONS40: Unable to write option file 'Messages'");
  EXPECT_EQ(last().kind, MessageKind::Short);
}

TEST_F(MessageTest, QuestionsStoreTheirAnswers) {
  answer(BoxAnswer::Yes);
  EXPECT_EQ(askYesNo(s, "Sure?"), "YES");
  answer(BoxAnswer::No);
  EXPECT_EQ(askYesNo(s, "Sure?"), "NO");
  answer(BoxAnswer::Closed);
  EXPECT_EQ(askYesNo(s, "Sure?"), "");  // closed: no answer, the old one stays stored
  EXPECT_EQ(varGet(s, "ZYESNOANSWER"), "NO");
  answer(BoxAnswer::Cancel);
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

}  // namespace
}  // namespace kiv::test
