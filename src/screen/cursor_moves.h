// Cursor movement on the top panel: arrows (scrolling at the edge of the
// data when the task says so), Tab between fields, Home, carriage return.
// In a UTF-8 task the caret never rests on a wide character's right half.
#pragma once

namespace kiv {

class Session;
class EditPanel;

void moveCursor(Session& s, int rows, int cols);
void tabToField(Session& s, bool backward);
void homeCursor(Session& s);

// True when panel cell (row, col) shows the right half of a wide character
// of a line's data in a UTF-8 task. The first data cell never does: a
// character cut by the left edge stands there as a whole.
bool onWideRightHalf(EditPanel& e, int row, int col);
// Moves the caret from a wide character's right half onto its left half.
void keepCaretOnCharacter(EditPanel& e);

}  // namespace kiv
