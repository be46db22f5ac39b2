// The Enter action and typing into the data rows, as a user meets them.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "commands/aliases.h"
#include "commands/command_state.h"
#include "core/line.h"
#include "core/line_ops.h"
#include "screen/cursor_moves.h"
#include "screen_fixture.h"
#include "services/messages.h"

namespace kiv::test {
namespace {

using platform::Key;

// Thirty lines, an unknown line command pending on the first: each run of
// the line commands shows its message, so the messages tell the order.
struct EnterWithLineCommand : ::testing::Test {
  EnterWithLineCommand() { setLineCommand(*task, task->lines.first->next, "QQ"); }
  ScreenTest t;
  Task* task = t.open("a.txt", numberedLines(30));
};

constexpr std::string_view kQQ = "'QQ' is not a valid line command.";

TEST(EnterAction, CommandFieldIsTakenRecordedAndKeptOnlyWithAmpersand) {
  ScreenTest t;
  t.open("a.txt", numberedLines(30));
  t.command("down 3");
  EXPECT_EQ(commandFieldText(t.session()), "");
  t.command("&down 2");
  EXPECT_EQ(commandFieldText(t.session()), "&down 2");
  EXPECT_EQ(std::string(t.panel().lineAtRow(t.panel().firstDataRow)->text()), "line 5");
  t.command("retrieve");
  EXPECT_EQ(commandFieldText(t.session()), "down 2");  // the newest entry, without "&"
}

TEST_F(EnterWithLineCommand, LineCommandsRunBeforeOrAfterTheCommandByItsVerb) {
  using V = std::vector<std::string>;
  auto enter = [&](std::string_view text) {
    t.clearMessages();
    t.command(text);
    V texts;
    for (const auto& m : t.messages()) texts.push_back(m.text);
    return texts;
  };
  const std::string noMacro = "Unable to find macro source file:\n\n";
  const std::string qq(kQQ);
  EXPECT_EQ(enter("nosuchverb"), (V{qq, noMacro + "nosuchverb.c"}));
  // The order follows the typed verb; aliases to unknown verbs make each
  // run show where it came (the macro runner is given the text as typed).
  auto& aliases = commandState(t.session()).commandAliases;
  ASSERT_EQ(defineAlias(t.session(), aliases, "RESET ZZRESET", false), 0);
  ASSERT_EQ(defineAlias(t.session(), aliases, "PASTE ZZPASTE", false), 0);
  EXPECT_EQ(enter("reset"), (V{noMacro + "reset.c", qq}));
  EXPECT_EQ(enter("paste"), (V{qq, noMacro + "paste.c"}));
  setCommandFieldText(t.session(), "paste");
  setCursor(t.panel(), t.panel().firstDataRow + 1, 10);
  t.clearMessages();
  t.press({Key::Enter});
  EXPECT_EQ(t.messages().size(), 1u) << "PASTE on a data row runs alone";
  EXPECT_EQ(enter(""), (V{qq}));
}

TEST_F(EnterWithLineCommand, CancelRunsAtOnceAndEmptyEnterMovesTheCursorOn) {
  t.command("can");
  for (const auto& m : t.messages()) EXPECT_NE(m.text, kQQ);
  EXPECT_TRUE(t.session().tasks.empty());  // unmodified: CANCEL ended it at once
  t.open("b.txt", numberedLines(30));
  EditPanel& p = t.panel();
  t.command("");
  EXPECT_EQ(p.cursorRow, p.firstDataRow);  // from the command row to the first data row
  setCursor(p, p.firstDataRow + p.dataRows - 1, 20);
  t.press({Key::Enter});  // on the last data row: the data moves up by one
  EXPECT_EQ(p.cursorRow, p.firstDataRow + p.dataRows - 1);
  EXPECT_EQ(p.cursorCol, 1);
  EXPECT_EQ(std::string(p.lineAtRow(p.firstDataRow)->text()), "line 1");
}

TEST(DataTyping, OvertypesDataAndPrefixAndRefusesWhatCannotChange) {
  ScreenTest t;
  Task* task = t.open("a.txt", "abc\n");
  EditPanel& p = t.panel();
  Line* line = p.lineAtRow(p.firstDataRow + 1);
  setCursor(p, p.firstDataRow + 1, p.prefixWidth() + 2);
  t.draw();
  handleEvent(t.session(), platform::KeyEvent{Key::Char, U'X'});
  for (int r = 1; r <= p.rows; ++r) EXPECT_EQ(p.dirty(r), r == p.firstDataRow + 1) << "row " << r;
  t.draw();
  setCursor(p, p.firstDataRow + 1, p.prefixWidth() + 6);
  t.type("Z");
  EXPECT_EQ(line->text(), "aXc  Z");
  EXPECT_TRUE(task->modified);
  setCursor(p, p.firstDataRow + 1, 1);
  t.type("dd");
  EXPECT_EQ(line->lineCommand(), "dd       ");
  EXPECT_NE(p.informationLine().find("LcmdPending"), std::string::npos);
  setCursor(p, p.firstDataRow, p.prefixWidth() + 2);  // the top-of-data row
  t.type("q");
  EXPECT_EQ(t.lastMessage().text, "PROTECTED");
  t.open("b.txt", "abc\n", TaskMode::Browse);
  setCursor(t.panel(), t.panel().firstDataRow + 1, 2);
  t.type("q");
  EXPECT_EQ(t.lastMessage().text, "In BROWSE, no modify allowed");
  EXPECT_EQ(t.lastMessage().id, "CHAR10");
}

TEST_F(EnterWithLineCommand, EnterMovesOnWhenNoLineCommandWasCarriedOut) {
  setLineCommand(*task, task->lines.first->next, "C");  // a copy awaiting its destination
  EditPanel& p = t.panel();
  setCursor(p, p.firstDataRow + 3, 12);
  t.press({Key::Enter});
  EXPECT_EQ(p.cursorRow, p.firstDataRow + 4);
  EXPECT_EQ(p.cursorCol, 1);
}

TEST(Keys, AltKeysByNameAndWhatARebuildKeeps) {
  ScreenTest t;
  t.open("a.txt", numberedLines(30));
  varSet(t.session(), "ZALT.COMMA", "DOWN 3");
  t.press({.key = Key::Char, .ch = U',', .alt = true});
  EXPECT_EQ(std::string(t.panel().lineAtRow(t.panel().firstDataRow)->text()), "line 3");
  t.press({.key = Key::Char, .ch = U'\u00e9', .alt = true});  // no variable names it
  EXPECT_EQ(
      t.lastMessage().text,
      "ALT+\u00e9  has no mapping value.\n\nInvoke OPTIONS, item KEYS, to assign a mapping value.");
  t.press({.key = Key::Char, .ch = U'q', .shift = true, .ctrl = true});
  EXPECT_EQ(t.lastMessage().id, "DLM96");
  EXPECT_TRUE(t.lastMessage().text.starts_with("CTRLSHIFT+Q  has no mapping value."));

  t.session().messageActions.push_back({"ZZ2", "ShowShortMsg"});
  homeCursor(t.session());
  t.type("dow");
  message(t.session(), "ZZ2", "still here");
  t.platform().resize(14, 50);
  handleEvent(t.session(), t.platform().nextEvent());
  t.draw();
  EXPECT_EQ(commandFieldText(t.session()), "dow");  // the half-typed command survives
  EXPECT_NE(t.screen().find("ZZ2: still here"), std::string::npos) << t.screen();
}

TEST(DataTyping, TinyAndHugeTerminalsAndResizing) {
  ScreenTest t(1, 1);
  t.open("a.txt", numberedLines(5));
  t.type("x");
  t.press({Key::F8});
  EXPECT_EQ(t.panel().dataRows, 0);
  EXPECT_EQ(t.panel().rows, 1);
  t.platform().resize(300, 500);
  t.press({Key::Down});
  handleEvent(t.session(), t.platform().nextEvent());  // the resize
  t.draw();
  EXPECT_EQ(t.platform().screen().rows(), 200);
  EXPECT_EQ(t.platform().screen().cols(), 399);
  EXPECT_EQ(t.panel().dataRows, 198);
}

}  // namespace
}  // namespace kiv::test
