#include "screen/field_edit.h"

#include <algorithm>

#include "core/session.h"
#include "core/text_columns.h"
#include "platform/utf8.h"
#include "screen/edit_panel.h"
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

// The field's characters, contentWidth of them; edited, they go back as UTF-8.
std::u32string charsOf(const ScreenObject& f) {
  std::u32string chars = platform::decodeText(f.content);
  chars.resize(static_cast<std::size_t>(std::max(f.contentWidth, 0)), U' ');
  return chars;
}

void store(ScreenObject& f, const std::u32string& chars) {
  f.content.clear();
  for (char32_t c : chars) platform::appendUtf8(f.content, c);
}

}  // namespace

bool typeIntoField(Panel& p, ScreenObject& f, char32_t c, bool insert) {
  std::u32string chars = charsOf(f);
  int pos = f.contentIndex(p.cursorCol);
  // On the last cell at the end of the content only a blank may be overtyped:
  // the cursor cannot move on, so a second character would replace the first.
  bool atEnd = p.cursorCol >= lastTextColumn(f) && pos == f.contentWidth - 1 &&
               chars[static_cast<std::size_t>(pos)] != U' ';
  if (pos < 0 || pos >= f.contentWidth || (atEnd && !insert)) {
    message(p.session, "DLM130", "Field is full.");
    return false;
  }
  auto at = chars.begin() + pos;
  if (insert) {
    if (chars.back() != U' ') {
      message(p.session, "DLM125", "Field is full.");
      return false;
    }
    chars.insert(at, c);
    chars.pop_back();
  } else {
    *at = c;
  }
  store(f, chars);
  advance(p, f);
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
  std::u32string chars = charsOf(f);
  chars.erase(chars.begin() + pos);
  chars.push_back(U' ');
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
