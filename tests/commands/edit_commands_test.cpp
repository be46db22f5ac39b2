// The edit-panel commands typed on the command row where a case cannot
// look: the window's title, the rows the panel has, the end of the program.
#include "commands/edit_commands.h"

#include <gtest/gtest.h>

#include "commands/command_state.h"
#include "core/hex_view.h"
#include "core/line.h"
#include "screen/edit_panel.h"
#include "screen/screen_state.h"
#include "services/option_group.h"
#include "services/var_pool.h"
#include "support/editor_test.h"

namespace kiv {
namespace {

using platform::BoxAnswer;

// A session with a file open in EDIT.
class EditCommandsTest : public ::testing::Test {
 protected:
  EditCommandsTest() {
    setSearchPaths(s());
    installCommandExecutor(s());
    run("edit " + t.file("a.txt", "x\n"));
  }
  Session& s() { return t.session(); }
  void run(std::string_view text) { s().executeCommand(text); }

  test::EditorTest t;
};

// The refusals (their messages, the file, the settings and the screen they
// leave as they were) are the case commands/refusals-change-nothing.
// MAXRECLEN (edit-commands/maxreclen-grows-the-right-bound-and-showram-counts),
// HEX, HIDE and the ruler as drawn (tests/cases/screen), and BACKUP, SETNAME,
// PANELID, PFSHOW, KEY and RULER as they set and toggle
// (edit-commands/session-settings-toggle-and-keep) are cases; here the
// window's title and the row the PF keys take.
TEST_F(EditCommandsTest, SetnameTitlesTheWindowAndPfshowTakesARow) {
  int dataRows = currentEditPanel(s())->dataRows;
  run("setname Build2;pfshow");
  EXPECT_EQ(t.platform().title(), "kiv - BUILD2");
  EXPECT_LT(currentEditPanel(s())->dataRows, dataRows) << "the PF-key row took a data row";
}

// HIDE EX hides an excluded marker's hex rows with it, which the screen
// (screen/hidden-markers-hide-their-hex-rows) does not tell from rows skipped.
TEST_F(EditCommandsTest, HideHidesTheMarkersHexLines) {
  run("locate 1");
  run(":x");
  run("hex on");
  run("hide ex");
  Line* marker = s().currentTask()->lines.first;
  while (marker && !marker->is(LineKind::Excluded)) marker = marker->next;
  ASSERT_TRUE(marker && isHexViewLine(marker->next));
  for (Line* h = marker->next; isHexViewLine(h); h = h->next) EXPECT_FALSE(h->shown());
}

// OPEN by ZFLIST.MODE, EXIT's order and its stop, RETURN's question: the case
// task-commands/open-follows-the-list-mode-and-exit-ends-from-the-top.
TEST_F(EditCommandsTest, ExitIsRequestedOnlyOnceEveryTaskHasEnded) {
  varSet(s(), "ZEDIT.PROMPTONEXIT", "TRUE");
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
