// Cursor movement on the top panel: arrows (scrolling at the edge of the
// data when the task says so), Tab between fields, Home, carriage return.
#pragma once

namespace kiv {

class Session;

void moveCursor(Session& s, int rows, int cols);
void tabToField(Session& s, bool backward);
void homeCursor(Session& s);

}  // namespace kiv
