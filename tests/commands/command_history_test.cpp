#include "commands/command_history.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <initializer_list>
#include <string>

#include "commands/command_state.h"
#include "services/var_pool.h"
#include "support/editor_test.h"

namespace kiv {
namespace {

class HistoryTest : public ::testing::Test {
 protected:
  HistoryTest() { installCommandExecutor(s()); }
  Session& s() { return t.session(); }
  CommandHistory& history() { return commandState(s()).history; }
  std::string field() { return commandState(s()).commandField; }

  test::EditorTest t;
};

TEST_F(HistoryTest, RecordingRules) {
  using Texts = std::initializer_list<std::string>;
  for (const std::string& c : Texts{"xy", "up 5", "rfind;nop", "UPPER", std::string(1023, 'a')})
    EXPECT_TRUE(isRecordable(c)) << c;
  for (const std::string& c :
       Texts{"x", "encrypt file", "CMDHISTORYSAVE;nop", "rfind", "Up  ", std::string(1024, 'a')})
    EXPECT_FALSE(isRecordable(c)) << c;
}

TEST_F(HistoryTest, RepeatMovesToTopAndOldestFallsOut) {
  recordCommand(s(), "f a");
  recordCommand(s(), "f b");
  recordCommand(s(), "f a");
  EXPECT_EQ(history().count, 2);
  EXPECT_EQ(history().slots[0], "f a");
  EXPECT_EQ(history().slots[1], "f b");
  EXPECT_TRUE(history().changed);
  for (int i = 0; i < 32; ++i) recordCommand(s(), "c" + std::to_string(i));
  EXPECT_EQ(history().count, 32);
  EXPECT_EQ(history().slots[0], "c31");
  EXPECT_EQ(history().slots[31], "c0");  // "f a" and "f b" pushed out
}

TEST_F(HistoryTest, RetrieveCyclesAndBackGoesTheOtherWay) {
  s().executeCommand("RETRIEVE");  // empty history: nothing placed
  EXPECT_EQ(field(), "");
  recordCommand(s(), "older");
  recordCommand(s(), "newer");
  s().executeCommand("retrieve");
  EXPECT_EQ(field(), "newer");
  s().executeCommand("retrieve");
  EXPECT_EQ(field(), "older");
  s().executeCommand("retrieve");
  EXPECT_EQ(field(), "newer");
  recordCommand(s(), "third");  // the cursor returns to 1
  s().executeCommand("retrieve back");
  EXPECT_EQ(field(), "older");
  s().executeCommand("retrieve back");
  EXPECT_EQ(field(), "newer");
  s().executeCommand("retrieve back");
  EXPECT_EQ(field(), "third");
  varSet(s(), "ZRETRIEVEPCMDHISTORY", "TRUE");
  s().executeCommand("retrieve");  // RPCMD: the history dialog's stand-in retrieves
  EXPECT_EQ(field(), "third");
}

TEST_F(HistoryTest, SaveAndRestoreByName) {
  recordCommand(s(), "f one");
  recordCommand(s(), "f two");
  s().executeCommand("CMDHISTORYSAVE Set1");
  EXPECT_EQ(t.read(t.optionsDir() + "/KivPcmdHistory.Set1.txt"), "f two\nf one\n");

  recordCommand(s(), "f three");
  s().executeCommand("cmdhistoryrestore Set1  ");
  EXPECT_EQ(history().count, 2);
  EXPECT_EQ(history().slots[0], "f two");
  EXPECT_EQ(history().slots[2], "");
  EXPECT_EQ(history().cursor, 1);
}

// The messages of saving, restoring, bad names and a missing file are the case
// history/save-restore-names-and-missing-files; here what they leave.
TEST_F(HistoryTest, MissingFileKeepsTheHistoryUnreadableOneEmptiesIt) {
  s().executeCommand("CMDHISTORYSAVE a b");
  EXPECT_FALSE(t.exists(t.optionsDir() + "/KivPcmdHistory.a b.txt"));
  recordCommand(s(), "f kept");
  s().executeCommand("CMDHISTORYRESTORE nothere");
  EXPECT_EQ(history().slots[0], "f kept");

  std::filesystem::create_directory(t.optionsDir() + "/KivPcmdHistory.dir.txt");
  s().executeCommand("CMDHISTORYRESTORE dir");
  EXPECT_EQ(t.lastMessage().id, "CMDHISTORY06");
  EXPECT_EQ(t.lastMessage().text,
            "CMDHISTORY  'dir'  not restored.  Command history buffers are now empty.");
  EXPECT_EQ(history().count, 0);
  EXPECT_EQ(history().slots[0], "");
}

TEST_F(HistoryTest, DefaultFileWrittenOnlyWhenChanged) {
  std::string path = t.optionsDir() + "/KivPcmdHistory.txt";
  EXPECT_EQ(loadDefaultCommandHistory(s()), 0);  // no file yet
  EXPECT_EQ(saveDefaultCommandHistory(s()), 0);
  EXPECT_FALSE(t.exists(path));
  recordCommand(s(), "f a");
  recordCommand(s(), "f b");
  EXPECT_EQ(saveDefaultCommandHistory(s()), 0);
  EXPECT_EQ(t.read(path), "f b\nf a\n");
  EXPECT_FALSE(history().changed);

  t.file("options/KivPcmdHistory.txt", "one\r\n" + std::string(300, 'z') + "\n");
  ASSERT_EQ(loadDefaultCommandHistory(s()), 0);
  EXPECT_EQ(history().slots[0], "one");
  EXPECT_EQ(history().slots[1], std::string(256, 'z'));  // a longer line reads on as a further line
  EXPECT_EQ(history().slots[2], std::string(44, 'z'));
  EXPECT_EQ(history().count, 3);
}

}  // namespace
}  // namespace kiv
