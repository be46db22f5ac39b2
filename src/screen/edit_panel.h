// The panel of an edit task: the command row with its buttons, the message
// row, one EDITLINE per data row, the vertical scroll object and the PF-key
// rows. The task owns it; it keeps only the view: which lines stand on the
// data rows, the cursor, and the cached line number of the top line.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <utility>
#include <vector>

#include "core/task.h"
#include "screen/hidden_runs.h"
#include "screen/panel.h"

namespace kiv {

struct Line;

class EditPanel : public Panel {
 public:
  EditPanel(Task& task, int rows, int cols);
  ~EditPanel() override;

  Task& task;
  // The runs of hidden lines this panel has stepped over.
  HiddenRuns hiddenRuns;

  // Builds every object from the display settings (again after a resize or
  // a change of those settings).
  void build();
  // Lines and info line again after the task's data or position changed.
  void refreshData() { layoutValid_ = false; }
  void lineChanged(const Line* line, bool layout) override {
    if (layout)
      refreshData();
    else
      repaintLine(line);
  }
  // The row showing `line` and its hex view rows, if shown, wait to be
  // painted again.
  void repaintLine(const Line* line);

  int commandRow() const { return 1; }
  int msgRow() const { return msgRow_; }
  bool msgBelowCommand() const { return msgBelow_; }
  // Prefix (line-command) area width in this task's mode, read from the
  // settings whenever the rows are laid out.
  int prefixWidth() const { return prefixWidth_; }
  // Data cells of a row: the EDITLINE width less the prefix area.
  int dataWidth() const;
  int editLineWidth() const { return editWidth_; }
  int displayOffset() const { return task.displayOffset; }
  // The first data row shows a column ruler (the profile's RULER setting).
  bool rulerShown() const;
  // Data rows that show lines: all of them but the ruler's.
  int lineRows() const { return rulerShown() ? dataRows - 1 : dataRows; }

  // The line on data row `row` (panel row), loading as needed; null for a
  // row beyond the bottom or outside the data rows.
  Line* lineAtRow(int row);
  // Data row index 0..dataRows-1 of a panel row, -1 outside.
  int dataIndex(int row) const;
  // The line at the cursor, or the line on the first data row.
  Line* currentLine();
  // Number of the data line (1-based count of TEXT lines) or 0.
  long lineNumber(Line* line);

  // Lays out the data rows when stale and marks the rows that changed;
  // writes the information line unless a message is pending.
  void update();
  void drawEditLine(const ScreenObject& object, platform::Grid& grid,
                    const ColourScheme& scheme) override;
  void drawScroll(const ScreenObject& object, platform::Grid& grid,
                  const ColourScheme& scheme) override;

  // The message row: a short message or an informational text.
  void showMessage(std::string_view text, bool information);
  bool showShortMessage(std::string_view text) override {
    showMessage(text, false);
    return true;
  }
  void clearShortMessage() override { showMessage(" ", true); }
  // Typing and deleting in the data rows and the prefix area
  // (screen/data_typing.h); scrolling by lines.
  void typeIntoRow(char32_t c) override;
  void deleteInRow(bool before) override;
  void eraseRowToEnd() override;
  bool scrollBy(long lines) override;
  std::string informationLine();

 private:
  void buildCommandRow();
  void buildMessageRow();
  void buildDataRows();
  void buildPfRows();
  void layout();
  std::pair<std::string, Element> prefixOf(Line* line, int width);
  void composeData(Line* line, platform::Grid& grid, int row, int col, int width,
                   const ColourScheme& scheme);
  // The overlays' attributes for `n` bytes of the line from `from`; empty
  // when no overlay applies (every cell takes the row's attribute).
  std::span<std::uint8_t> overlaid(const Line& line, int from, int n, std::uint8_t attr);
  std::vector<std::uint8_t> rowAttrs_;

  int msgRow_ = 2;
  bool msgBelow_ = false;
  int editWidth_ = 0;
  int prefixWidth_ = 0;
  bool showNumbers_ = true;  // ZEDIT.SHOWLINENUM, read with the layout
  int prefixSetting() const;
  bool layoutValid_ = false;
  // The store as the rows were laid out: lines added or removed since then
  // (by any command, a load or the hex view) make the rows stale, so that a
  // row never points at a line that is gone.
  long laidStructure_ = -1;
  std::size_t laidCount_ = 0;
  bool stale() const {
    return !layoutValid_ || laidStructure_ != task.structureChanges ||
           laidCount_ != task.lines.count;
  }
  std::vector<Line*> rowLines_;
  std::vector<long> rowNumbers_;  // line number of each row's TEXT line, else 0
  bool longLine_ = false;
  long topOrdinal_ = 0;
  long textShown_ = 0;  // data lines laid out on the rows
  std::string shownInfo_;
};

// A line the panel does not give a row: hidden in the task, or a hex view
// line under a line that is not data (the top-of-data line).
bool hiddenOnPanel(const Task& task, const Line* line);

// The task's panel, made (and sized to the platform) when it has none.
EditPanel& editPanelOf(Task& task);

}  // namespace kiv
