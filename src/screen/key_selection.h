// Selecting text with Shift and the arrow keys in an edit panel: the
// selection runs as a stream from where the first such key was pressed to
// the cursor.
#pragma once

namespace kiv {

class Session;

// Moves the cursor by rows and columns and stretches the selection to it;
// false when the cursor is not in the data of an edit panel (the arrow
// then moves as usual).
bool selectWithArrow(Session& s, int rows, int cols);

}  // namespace kiv
