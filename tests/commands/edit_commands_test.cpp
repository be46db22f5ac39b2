// The edit-panel commands typed on the command row: inserted lines, caps,
// hide, hex view, record length, the memory report, and the general
// commands that keep session settings, open files and leave the program.
#include "commands/edit_commands.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "commands/command_state.h"
#include "core/excluded.h"
#include "core/file_profile.h"
#include "core/hex_view.h"
#include "core/line_ops.h"
#include "screen/edit_panel.h"
#include "screen/screen_state.h"
#include "services/option_group.h"
#include "services/var_pool.h"
#include "support/editor_test.h"

namespace kiv {
namespace {

using platform::BoxAnswer;
using ::testing::ElementsAre;

class EditCommandsTest : public ::testing::Test {
 protected:
  EditCommandsTest() {
    setSearchPaths(s());
    installCommandExecutor(s());
    t.file("options/kivfileprof.rec.txt",
           "Recfm=VARIABLE\nMaxRecLen=20\nBounds=1,20\nTrailingBlanksOption=LeaveBlanksAsIs\n");
  }
  Session& s() { return t.session(); }
  void run(std::string_view text) { s().executeCommand(text); }
  std::string var(std::string_view name) { return varGet(s(), name); }

  // Opens a file whose profile has MaxRecLen 20; the cursor on data row `row`.
  Task& open(std::string_view contents, int row, std::string_view verb = "edit") {
    run(std::string(verb) + " " + t.file("a.rec", contents));
    EditPanel& p = *currentEditPanel(s());
    p.cursorRow = p.firstDataRow + row;
    p.cursorCol = p.prefixWidth() + 2;
    return *s().currentTask;
  }

  // Every line as its kind, with the text of TEXT and NOTE lines.
  std::vector<std::string> lines() {
    std::vector<std::string> out;
    for (const Line* l = s().currentTask->lines.first; l; l = l->next) {
      std::string kind(lineKindName(l->kind()));
      bool plain = l->is(LineKind::Text) || l->is(LineKind::Note);
      out.push_back(plain ? kind + " " + std::string(l->text()) : kind);
    }
    return out;
  }

  test::EditorTest t;
};

// The refusals' messages and the unchanged file are checked by the case
// tests/cases/commands/refusals-change-nothing; here the settings they leave.
TEST_F(EditCommandsTest, RefusalsChangeNothing) {
  Task& task = open("x\n", 0);
  run("caps maybe;hide y;ruler sideways;maxreclen 8;backup sometimes;setname my-name");
  run("pfshow Sideways;hex maybe");
  EXPECT_THAT(lines(), ElementsAre("TOF", "TEXT x", "BOF"));
  EXPECT_FALSE(task.capsOn || s().hideExcludedMarkers || task.profile->ruler);
  EXPECT_EQ(task.profile->maxRecLen, 20);
  EXPECT_EQ(var("ZBACKUP") + var("ZSESSIONNAME") + var("ZPFSHOW.GLOBAL"), "");
}

TEST_F(EditCommandsTest, InsertedLinesLandAfterTheCursorLineOrTheNumberedOne) {
  Task& task = open("one\ntwo\nthree\n", 2);  // TOF, one, two
  run("dataline new data;noteline 'a note; with semicolon'");
  run("insertline 0  first;insertline 999 last;insertline 1 '  indented'");
  EXPECT_THAT(lines(), ElementsAre("TOF", "TEXT first", "TEXT   indented", "TEXT one", "TEXT two",
                                   "NOTE a note; with semicolon", "TEXT new data", "TEXT three",
                                   "TEXT last", "BOF"));
  // On an excluded marker the line follows the excluded run; caps applies.
  Line* one = task.lines.first->next->next->next;
  one->shown = false;
  task.lines.insertBefore(one, createExcludedMarker(task, 1));
  EditPanel& p = *currentEditPanel(s());
  p.refreshData();
  p.cursorRow = p.firstDataRow + 3;  // TOF, first, indented, marker
  run("caps on;dataline Mixed");
  EXPECT_EQ(std::string(one->next->text()), "MIXED");
  EXPECT_EQ(task.profile->capsMode, CapsMode::On);
  run("caps off ");
  EXPECT_FALSE(task.capsOn || task.profile->capsInForce);

  run("end;browse " + t.path("a.rec"));
  run("dataline y;insertline 1 y;noteline no data");
  EXPECT_EQ(t.messageTexts().end()[-2], "In BROWSE, no modify allowed");
  EXPECT_EQ(s().currentTask->lines.first->next->text(), "no data");
  EXPECT_EQ(lines().size(), 11u);
}

TEST_F(EditCommandsTest, HexViewTogglesAndHideHidesTheMarkersHexLines) {
  Task& task = open("ab\n", 4);  // TOF with its three hex lines, then ab
  run("hex;hex on;dataline cd");
  EXPECT_THAT(lines(),
              ElementsAre("TOF", "HEXHIGH", "HEXLOW", "HEXSEP", "TEXT ab", "HEXHIGH", "HEXLOW",
                          "HEXSEP", "TEXT cd", "HEXHIGH", "HEXLOW", "HEXSEP", "BOF"));
  Line* marker = createExcludedMarker(task, 0);
  task.lines.insertBefore(task.lines.first->next->next->next->next, marker);
  insertHexLinesAfter(task, marker);
  run("hide ex");
  EXPECT_TRUE(s().hideExcludedMarkers);
  for (Line* h = marker->next; isHexViewLine(h); h = h->next) EXPECT_FALSE(h->shown);
  run("hex");
  EXPECT_THAT(lines(), ElementsAre("TOF", "EXCLUDED", "TEXT ab", "TEXT cd", "BOF"));
  EXPECT_FALSE(task.profile->hexView);
}

TEST_F(EditCommandsTest, MaxRecLenGrowsWithRulerAndShowRamCountsLinesAndBuffers) {
  std::string data;
  for (int i = 0; i < 20; ++i) data += std::string(19, static_cast<char>('a' + i)) + "\n";
  Task& task = open(data, 0);
  // 22 lines of 84 bytes, 20 texts of 19, "*** Top of File ***" and
  // "*** Bottom of File ***": 2,269; colour and display buffers count too.
  run("showram");
  EXPECT_EQ(t.lastMessage().text, "Total lines = 22\nTotal RAM used = 2,269");
  ensureColourBuffer(task, task.lines.first->next);
  ensureDisplayBuffer(task, task.lines.first->next);
  run("showram");
  EXPECT_EQ(t.lastMessage().text, "Total lines = 22\nTotal RAM used = 2,307");

  run("maxreclen 30;dataline 123456789012345678901234567890");
  EXPECT_EQ(task.profile->boundRight, 30);
  EXPECT_TRUE(task.profile->ruler);
  EXPECT_NE(t.read("options/kivfileprof.rec.txt").find("MaxRecLen=30\n"), std::string::npos);
  EXPECT_EQ(task.lines.first->next->length(), 30);
}

TEST_F(EditCommandsTest, SessionSettingsToggleAndKeep) {
  Task& task = open("x\n", 0);
  int dataRows = currentEditPanel(s())->dataRows;
  run("backup Fileprof;setname Build2;panelid");
  EXPECT_EQ(var("ZBACKUP") + " " + var("ZSESSIONNAME") + " " + var("ZPANELID"),
            "FILEPROF BUILD2 TRUE");
  EXPECT_EQ(t.platform().title(), "kiv - BUILD2");
  run("panelid");
  EXPECT_EQ(t.lastMessage().text, "Panel ID is now OFF");
  run("pfshow");
  EXPECT_LT(currentEditPanel(s())->dataRows, dataRows) << "the PF-key row took a data row";
  run("pfshow;pfshow off");
  EXPECT_EQ(var("ZPFSHOW.GLOBAL"), "FALSE");
  run("key f5 rfind all  ;key PF48 exit;key f48");
  EXPECT_EQ(var("ZPF05.MAP") + "|" + var("ZPF48.MAP"), "rfind all|");
  run("ruler;ruler off");
  EXPECT_FALSE(task.profile->ruler);
}

TEST_F(EditCommandsTest, OpenReturnAndExitLeaveTasksThenTheProgram) {
  varSet(s(), "ZEDIT.PROMPTONEXIT", "TRUE");
  std::string a = t.file("a.txt", "a\n");
  std::string b = t.file("b.txt", "b\n");
  run("open " + a + ";dataline a2;open '" + b + "';dataline b2");
  // The task on top (b) is asked first and saved; a's question is cancelled.
  t.answer(BoxAnswer::Yes);
  t.answer(BoxAnswer::Cancel);
  run("exit");
  ASSERT_EQ(s().tasks.size(), 1u);
  EXPECT_TRUE(s().currentTask->modified);
  EXPECT_FALSE(s().exitRequested);
  EXPECT_EQ(t.read(b), "b2\nb\n");

  varSet(s(), "ZFLIST.MODE", "Browse");
  run("open " + b);
  EXPECT_EQ(s().currentTask->mode, TaskMode::Browse);
  run("return");
  t.answer(BoxAnswer::No);
  run("return");
  EXPECT_TRUE(s().tasks.empty());
  EXPECT_FALSE(s().exitRequested) << "the idle screen stays";
  EXPECT_EQ(t.read(a), "a\n");
  run("return");  // every jump runs RETURN first: on the idle screen it ends nothing
  EXPECT_FALSE(s().exitRequested);
  run("exit");
  EXPECT_TRUE(s().exitRequested);
}

}  // namespace
}  // namespace kiv
