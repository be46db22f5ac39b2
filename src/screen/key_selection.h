// Selecting text in an edit panel with Shift and the arrow keys (a stream
// from where the first such key was pressed to the cursor, or the rectangle
// between them) or by dragging the mouse (a stream, or a rectangle with Ctrl).
#pragma once

namespace kiv {

class Session;

// Moves the cursor by rows and columns and stretches the selection to it: a
// stream up to the character before the cursor, or a rectangle through the
// cursor's cell. A selection made by keys or mouse keeps its anchor when the
// kind changes. false when the cursor is not in the data of an edit panel
// (the arrow then moves as usual).
bool selectWithArrow(Session& s, int rows, int cols, bool rectangle);

// The mouse, with the cursor already on the cell: a press marks where a
// drag would start; a drag stretches the selection through the cell (a
// rectangle with Ctrl). false when the cell is not in the data.
bool mouseSelect(Session& s, bool drag, bool rectangle);

}  // namespace kiv
