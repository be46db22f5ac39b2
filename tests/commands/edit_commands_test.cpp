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
    return *s().currentTask();
  }

  // Every line as its kind, with the text of TEXT and NOTE lines.
  std::vector<std::string> lines() {
    std::vector<std::string> out;
    for (const Line* l = s().currentTask()->lines.first; l; l = l->next) {
      std::string kind(lineKindName(l->kind()));
      bool plain = l->is(LineKind::Text) || l->is(LineKind::Note);
      out.push_back(plain ? kind + " " + std::string(l->text()) : kind);
    }
    return out;
  }

  test::EditorTest t;
};

// The refusals' messages, the unchanged file, caps and MaxRecLen are checked by
// the case tests/cases/commands/refusals-change-nothing; here the other settings.
TEST_F(EditCommandsTest, RefusalsChangeNothing) {
  Task& task = open("x\n", 0);
  run("hide y;ruler sideways;backup sometimes;setname my-name;pfshow Sideways;hex maybe");
  EXPECT_FALSE(s().hideExcludedMarkers || task.profile->ruler || task.profile->hexView);
  EXPECT_EQ(var("ZBACKUP") + var("ZSESSIONNAME") + var("ZPFSHOW.GLOBAL"), "");
}

// Where DATALINE, INSERTLINE and EPCMD put lines, quotes, caps and BROWSE are
// the case edit-commands/inserted-lines-land-after-the-current-or-numbered-line.
TEST_F(EditCommandsTest, DataLineOnAnExcludedMarkerFollowsTheExcludedRun) {
  Task& task = open("one\ntwo\n", 1);
  Line* one = task.lines.first->next;
  setLineFlag(task, one, LineFlag::Shown, false);
  linkLineBefore(task, one, createExcludedMarker(task, 1));
  currentEditPanel(s())->refreshData();  // the marker on the cursor's row
  run("caps on;dataline Mixed;noteline 'a note; kept'");
  EXPECT_THAT(lines(), ElementsAre("TOF", "EXCLUDED", "TEXT one", "NOTE a note; kept", "TEXT MIXED",
                                   "TEXT two", "BOF"));
  EXPECT_EQ(task.profile->capsMode, CapsMode::On);
  run("caps off ");
  EXPECT_FALSE(task.capsOn || task.profile->capsInForce);
}

TEST_F(EditCommandsTest, HexViewTogglesAndHideHidesTheMarkersHexLines) {
  Task& task = open("ab\n", 4);  // TOF with its three hex lines, then ab
  run("hex;hex on;dataline cd");
  EXPECT_THAT(lines(),
              ElementsAre("TOF", "HEXHIGH", "HEXLOW", "HEXSEP", "TEXT ab", "HEXHIGH", "HEXLOW",
                          "HEXSEP", "TEXT cd", "HEXHIGH", "HEXLOW", "HEXSEP", "BOF"));
  Line* marker = createExcludedMarker(task, 0);
  linkLineBefore(task, task.lines.first->next->next->next->next, marker);
  insertHexLinesAfter(task, marker);
  run("hide ex");
  EXPECT_TRUE(s().hideExcludedMarkers);
  for (Line* h = marker->next; isHexViewLine(h); h = h->next) EXPECT_FALSE(h->shown());
  run("hex");
  EXPECT_THAT(lines(), ElementsAre("TOF", "EXCLUDED", "TEXT ab", "TEXT cd", "BOF"));
  EXPECT_FALSE(task.profile->hexView);
}

// The plain count, the bound that follows MAXRECLEN and the profile written
// are the case edit-commands/maxreclen-grows-the-right-bound-and-showram-counts.
TEST_F(EditCommandsTest, MaxRecLenShowsTheRuler) {
  std::string data;
  for (int i = 0; i < 20; ++i) data += std::string(19, static_cast<char>('a' + i)) + "\n";
  Task& task = open(data, 0);
  run("maxreclen 30");
  EXPECT_TRUE(task.profile->ruler);
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

// OPEN by ZFLIST.MODE, EXIT's order and its stop, RETURN's question: the case
// task-commands/open-follows-the-list-mode-and-exit-ends-from-the-top.
TEST_F(EditCommandsTest, ExitIsRequestedOnlyOnceEveryTaskHasEnded) {
  varSet(s(), "ZEDIT.PROMPTONEXIT", "TRUE");
  open("x\n", 0);
  run("dataline y");
  t.answer(BoxAnswer::Cancel);
  run("exit");
  EXPECT_EQ(s().tasks.size(), 1u);
  EXPECT_FALSE(s().exitRequested);
  t.answer(BoxAnswer::No);
  run("return");
  EXPECT_TRUE(s().tasks.empty());
  run("return");  // every jump runs RETURN first: on the idle screen it ends nothing
  EXPECT_FALSE(s().exitRequested);
  run("exit");
  EXPECT_TRUE(s().exitRequested);
}

}  // namespace
}  // namespace kiv
