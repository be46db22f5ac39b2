// What the screen layer keeps in the editor session, and the panel on top of
// the session's frame stack.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "core/line_observer.h"
#include "core/session.h"
#include "platform/grid.h"
#include "screen/colour_scheme.h"
#include "screen/panel.h"
#include "screen/row_overlay.h"
#include "screen/found_overlay.h"
#include "screen/selection_overlay.h"

namespace kiv {

class EditPanel;

// Tells a task's panel about changes to its lines: a changed text or field
// repaints the line's row; a flag, a kind or the structure lays the rows out
// again.
struct PanelLines : LineObserver {
  void beforeChange(Task& task, Line* line, LineChange what) override;
  void afterInsert(Task& task, Line*) override { stale(task); }
  void beforeRemove(Task& task, Line*) override { stale(task); }
  void beforeMove(Task& task, Line*, Line*, Line*) override { stale(task); }
  void beforeReorder(Task& task, std::span<Line* const>, std::span<Line* const>) override { stale(task); }
  static void stale(Task& task);
};

// The screen layer's state in the session: the colour scheme, the grid last
// painted, the insert mode, the row overlays; the message row of the panel
// on top is reached through it.
struct ScreenState : MessageRow {
  explicit ScreenState(Session& s);
  ~ScreenState() override;
  bool show(std::string_view text) override;
  void clear() override;

  Session& session;
  ColourScheme scheme = builtinScheme();
  platform::Grid grid;
  bool insertMode = false;
  const Panel* shown = nullptr;  // the panel painted last
  // The short message pending on the message row (while the session's
  // message-pending flag is set): a panel built later shows it too, so that
  // a message given while a task was being opened is not lost.
  std::string pendingShort;
  PanelLines panelLines;
  // Colours over the data rows, asked in order (screen/row_overlay.h): the
  // selection stays last, over colorization and found text.
  FoundOverlay foundOverlay{scheme};
  SelectionOverlay selectionOverlay{scheme};
  std::vector<RowOverlay*> overlays{&foundOverlay, &selectionOverlay};
};

// Installs the screen layer in the session (once).
ScreenState& screenState(Session& s);
// The screen layer's state when it is installed, else null.
ScreenState* findScreenState(Session& s);

// The panel of the frame on top: a task's panel (made when it has none),
// the frame's own, else the idle panel.
Panel& topPanel(Session& s);
// The current task's panel, or null when no task is on top.
EditPanel* currentEditPanel(Session& s);

// Brings the top panel up to date, paints the rows that changed and hands
// the grid and the caret to the platform.
void refreshScreen(Session& s);
// Rebuilds every panel (after a resize or a change of display settings).
void rebuildPanels(Session& s);

// Characters the command field holds.
inline constexpr std::size_t kCommandFieldWidth = 399;

// The top panel's command field: its text and the view at its start; with
// `moveCursor` the cursor goes after the text.
std::string commandFieldText(Session& s);
void setCommandFieldText(Session& s, std::string_view text, bool moveCursor = true);

// The command row's label: ZPCMDLBLCURRENT, else ZPCMDLBLCOMMAND.
std::string commandLabel(Session& s);

// A Z-variable's value, or `fallback` when it is missing or empty.
std::string setting(Session& s, std::string_view name, std::string_view fallback);
bool settingTrue(Session& s, std::string_view name, bool fallback);

}  // namespace kiv
