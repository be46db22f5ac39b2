#include "screen/field_edit.h"

#include <algorithm>

#include "core/session.h"
#include "core/text_columns.h"
#include "platform/utf8.h"
#include "screen/edit_panel.h"
#include "screen/field_cells.h"
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

// The field's cells, contentWidth of them; edited, they go back as UTF-8.
std::u32string charsOf(const ScreenObject& f) {
  return cellsOf(f.content, f.contentWidth);
}

void store(ScreenObject& f, const std::u32string& chars) {
  f.content = textOfCells(chars);
}

// The cell of the character at `pos`: a wide character's tail is its head's.
int headOf(const std::u32string& chars, int pos) {
  bool tail = pos > 0 && pos < static_cast<int>(chars.size()) && chars[static_cast<std::size_t>(pos)] == kWideTail;
  return tail ? pos - 1 : pos;
}

// The cells the character at `pos` takes.
int widthAt(const std::u32string& chars, int pos) {
  auto next = static_cast<std::size_t>(pos + 1);
  return next < chars.size() && chars[next] == kWideTail ? 2 : 1;
}

// Blanks the characters that cover cells [pos, pos + n), halves included.
void clearCells(std::u32string& chars, int pos, int n) {
  int from = headOf(chars, pos), to = pos + n - 1;
  to = headOf(chars, to) + widthAt(chars, headOf(chars, to)) - 1;
  for (int i = from; i <= to && i < static_cast<int>(chars.size()); ++i) chars[static_cast<std::size_t>(i)] = U' ';
}

}  // namespace

bool typeIntoField(Panel& p, ScreenObject& f, char32_t c, bool insert) {
  std::u32string chars = charsOf(f);
  int pos = headOf(chars, f.contentIndex(p.cursorCol));
  int w = fieldCells(c);
  // On the last cell at the end of the content only a blank may be overtyped:
  // the cursor cannot move on, so a second character would replace the first.
  bool atEnd = p.cursorCol >= lastTextColumn(f) && pos == f.contentWidth - 1 &&
               chars[static_cast<std::size_t>(pos)] != U' ';
  if (pos < 0 || pos + w > f.contentWidth || (atEnd && !insert)) {
    message(p.session, "DLM130", "Field is full.");
    return false;
  }
  std::u32string typed(1, c);
  if (w == 2) typed.push_back(kWideTail);
  if (insert) {
    std::size_t used = chars.find_last_not_of(U' ') + 1;  // 0 when all blank
    if (used + static_cast<std::size_t>(w) > chars.size()) {
      message(p.session, "DLM125", "Field is full.");
      return false;
    }
    chars.insert(static_cast<std::size_t>(pos), typed);
    chars.resize(static_cast<std::size_t>(f.contentWidth));
  } else {
    clearCells(chars, pos, w);
    chars.replace(static_cast<std::size_t>(pos), typed.size(), typed);
  }
  store(f, chars);
  for (int i = 0; i < w; ++i) advance(p, f);
  p.markDirty(f.row, 1);
  return true;
}

void eraseFieldToEnd(Panel& p, ScreenObject& f) {
  std::u32string chars = charsOf(f);
  int pos = std::clamp(f.contentIndex(p.cursorCol), 0, f.contentWidth);
  std::fill(chars.begin() + pos, chars.end(), U' ');
  store(f, chars);
  p.markDirty(f.row, 1);
}

void deleteInField(Panel& p, ScreenObject& f, bool before) {
  std::u32string chars = charsOf(f);
  int pos = headOf(chars, f.contentIndex(p.cursorCol));
  if (before) {
    if (pos <= 0) return;
    int back = headOf(chars, pos - 1);
    for (; pos > back; --pos) {
      if (p.cursorCol > f.col)
        setCursor(p, p.cursorRow, p.cursorCol - 1);
      else if (f.firstShown > 0)
        --f.firstShown;
    }
  }
  if (pos < 0 || pos >= f.contentWidth) return;
  int w = widthAt(chars, pos);
  chars.erase(static_cast<std::size_t>(pos), static_cast<std::size_t>(w));
  chars.append(static_cast<std::size_t>(w), U' ');
  store(f, chars);
  p.markDirty(f.row, 1);
}

void setFieldText(Panel& p, ScreenObject& f, std::string_view text) {
  setContent(f, text);
  f.firstShown = 0;
  p.markDirty(f.row, 1);
}

bool fieldsTakeUtf8(Panel& p) {
  auto* edit = dynamic_cast<EditPanel*>(&p);
  return !edit || utf8File(edit->task);
}

std::string commandFromField(Panel& p, std::string_view text) {
  if (fieldsTakeUtf8(p)) return std::string(text);
  std::string out;
  for (char32_t c : platform::decodeText(text)) out.push_back(c > 0xFF ? '?' : static_cast<char>(c));
  return out;
}

std::string fieldFromCommand(Panel& p, std::string_view text) {
  if (fieldsTakeUtf8(p)) return std::string(text);
  std::string out;
  for (char c : text) platform::appendUtf8(out, static_cast<unsigned char>(c));
  return out;
}

}  // namespace kiv
