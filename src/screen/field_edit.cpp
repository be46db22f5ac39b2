#include "screen/field_edit.h"

#include <algorithm>

#include "core/session.h"
#include "screen/panel.h"
#include "services/messages.h"

namespace kiv {

namespace {

// The last display cell that shows content (a CHOICE keeps two for its mark).
int lastTextColumn(const ScreenObject& f) {
  return f.col + std::max(f.textCells(), 1) - 1;
}

// Moves the cursor one cell right, or scrolls the field when the cursor is
// on its last text cell and the content continues.
void advance(Panel& p, ScreenObject& f) {
  if (p.cursorCol < lastTextColumn(f)) {
    setCursor(p, p.cursorRow, p.cursorCol + 1);
  } else if (f.contentIndex(p.cursorCol) + 1 < f.contentWidth) {
    ++f.firstShown;
  }
}

}  // namespace

bool typeIntoField(Panel& p, ScreenObject& f, char c, bool insert) {
  int pos = f.contentIndex(p.cursorCol);
  // On the last cell at the end of the content only a blank may be overtyped:
  // the cursor cannot move on, so a second character would replace the first.
  bool atEnd = p.cursorCol >= lastTextColumn(f) && pos == f.contentWidth - 1 &&
               f.content[static_cast<std::size_t>(pos)] != ' ';
  if (pos < 0 || pos >= f.contentWidth || (atEnd && !insert)) {
    message(p.session, "DLM130", "Field is full.");
    return false;
  }
  auto at = f.content.begin() + pos;
  if (insert) {
    if (f.content.back() != ' ') {
      message(p.session, "DLM125", "Field is full.");
      return false;
    }
    f.content.insert(at, c);
    f.content.pop_back();
  } else {
    *at = c;
  }
  advance(p, f);
  p.markDirty(f.row, 1);
  return true;
}

void eraseFieldToEnd(Panel& p, ScreenObject& f) {
  int pos = std::clamp(f.contentIndex(p.cursorCol), 0, f.contentWidth);
  std::fill(f.content.begin() + pos, f.content.end(), ' ');
  p.markDirty(f.row, 1);
}

void deleteInField(Panel& p, ScreenObject& f, bool before) {
  int pos = f.contentIndex(p.cursorCol);
  if (before) {
    if (pos <= 0) return;
    --pos;
    if (p.cursorCol > f.col)
      setCursor(p, p.cursorRow, p.cursorCol - 1);
    else if (f.firstShown > 0)
      --f.firstShown;
  }
  if (pos < 0 || pos >= f.contentWidth) return;
  f.content.erase(f.content.begin() + pos);
  f.content.push_back(' ');
  p.markDirty(f.row, 1);
}

void setFieldText(Panel& p, ScreenObject& f, std::string_view text) {
  setContent(f, text);
  f.firstShown = 0;
  p.markDirty(f.row, 1);
}

}  // namespace kiv
