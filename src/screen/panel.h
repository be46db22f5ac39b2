// A screen panel: the objects of one edit task, dialog, file list or menu,
// placed on a grid of rows and columns, with the cursor and the rows waiting
// to be repainted. Panels are rebuilt from their owners and own no data.
#pragma once

#include <memory>
#include <string_view>
#include <vector>

#include "core/frame_stack.h"
#include "platform/grid.h"
#include "screen/colour_scheme.h"
#include "screen/screen_object.h"

namespace kiv {

class Session;

enum class PanelType { Task, Dialog, FileList, Menu };

inline constexpr int kMaxPanelRows = 200;
inline constexpr int kMaxPanelCols = 399;

class Panel : public FrameView {
 public:
  Panel(Session& session, PanelType type, int rows, int cols);
  ~Panel() override;
  Panel(const Panel&) = delete;
  Panel& operator=(const Panel&) = delete;

  Session& session;
  PanelType type;
  int rows;
  int cols;
  // Objects of row r at index r - 1, in the order they were added.
  std::vector<std::vector<std::unique_ptr<ScreenObject>>> objects;
  std::unique_ptr<ScreenObject> scroll;  // the vertical scroll object
  int cursorRow = 1;
  int cursorCol = 1;
  // Edit task panels: where the data rows are and what is below them.
  int firstDataRow = 0;
  int dataRows = 0;
  int pfRows = 0;
  int msgWidth = 0;

  // Rows waiting to be painted.
  bool dirty(int row) const {
    return row >= 1 && row <= rows && dirty_[static_cast<std::size_t>(row - 1)];
  }
  void clearDirty(int row) {
    if (row >= 1 && row <= rows) dirty_[static_cast<std::size_t>(row - 1)] = 0;
  }
  void markDirty(int first, int count);
  void markAllDirty() { markDirty(1, rows); }
  // Takes a new size (clamped); every row waits to be painted.
  void resize(int newRows, int newCols);

  // Keys and clicks reach the panel on top (screen/key_router.h routes them).
  void handleEvent(const platform::Event& event) override;
  // The message row: a short message, or blank again. The plain panel
  // writes its MSGROW object; false when it has none.
  virtual bool showShortMessage(std::string_view text);
  virtual void clearShortMessage() { showShortMessage(" "); }
  // Typing, Delete/Backspace and erase-to-end on an EDITLINE row, and
  // scrolling the rows; a panel without such rows refuses or ignores them.
  virtual void typeIntoRow(char32_t c);
  virtual void deleteInRow(bool before);
  virtual void eraseRowToEnd();
  virtual bool scrollBy(long /*lines*/) { return false; }

  // Paints an EDITLINE object; its owner composes it.
  virtual void drawEditLine(const ScreenObject& /*object*/, platform::Grid& /*grid*/,
                            const ColourScheme& /*scheme*/) {}
  // Paints the scroll object (the owner knows the position).
  virtual void drawScroll(const ScreenObject& object, platform::Grid& grid,
                          const ColourScheme& scheme);

 private:
  std::vector<char> dirty_;
};

// Adds an object after checking it; 0, or -1 after the message.
int DLMAddObj(Panel& panel, std::string_view name, std::string_view text,
              std::string_view commandOrVar, int type, int row, int col, int displayWidth,
              int contentWidth, int fg, int bg);

// The first object of that name, rows 1..R in order; null when none.
ScreenObject* findObject(Panel& panel, std::string_view name);
// The first object of the row that is not STATIC and covers the column.
ScreenObject* objectAt(Panel& panel, int row, int col);

void removeRowObjects(Panel& panel, int row);
// Moves the cursor, clamped into the panel.
void setCursor(Panel& panel, int row, int col);

// Paints the rows waiting to be painted into the grid (sized to the panel)
// and clears their marks.
void paintPanel(Panel& panel, platform::Grid& grid, const ColourScheme& scheme);

}  // namespace kiv
