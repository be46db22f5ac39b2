#include "commands/char_edit.h"

#include <algorithm>
#include <cctype>
#include <optional>
#include <string>

#include "commands/selection_ops.h"
#include "core/file_profile.h"
#include "core/hex_view.h"
#include "core/line.h"
#include "core/line_numbering.h"
#include "core/line_ops.h"
#include "core/profile_write.h"
#include "core/selection.h"
#include "core/session.h"
#include "core/task.h"
#include "core/task_life.h"
#include "core/text_columns.h"
#include "core/utf8_case.h"
#include "core/translate_table.h"
#include "services/format.h"
#include "services/messages.h"
#include "services/var_pool.h"

namespace kiv {

namespace {

constexpr std::string_view kNotModifiable = "This line is not modifiable.";

// The bytes a character operation stays within: the number columns of a
// numbered file, or the stretch of data before or after them.
struct Field {
  int start;
  int end;  // exclusive
  bool number;
};

Field fieldAt(const Task& task, std::size_t byte) {
  auto column = static_cast<int>(std::min<std::size_t>(byte, kWholeLineEnd));
  int max = maxRecLenOf(task);
  std::optional<NumberField> f = task.profile ? numberFieldOf(*task.profile) : std::nullopt;
  if (!f) return {0, max, false};
  if (column >= f->first && column < f->end) return {f->first, f->end, true};
  return column < f->first ? Field{0, f->first, false} : Field{f->end, max, false};
}

bool numbered(const Task& task) {
  return task.profile && numberFieldOf(*task.profile);
}

bool isHexRow(const Line* line) {
  return line->is(LineKind::HexHigh) || line->is(LineKind::HexLow);
}

// Lines whose text the user may change: data, notes, the mask, and the hex
// rows under a data line (which change its bytes).
bool modifiable(const Line* line) {
  if (line->has(LineFlag::HexHighNote) || line->has(LineFlag::HexLowNote)) return false;
  return line->is(LineKind::Text) || line->is(LineKind::Note) || line->is(LineKind::Mask) || isHexRow(line);
}

EditResult refuse(Task& task, std::string_view id, std::string_view text) {
  message(task.session, id, text);
  return {};
}

EditResult at(Line* line, int column) {
  return {true, line, std::max(column, 0)};
}

// The byte where 0-based `column` begins, and the column of a byte: one a
// byte except in a UTF-8 task (core/text_columns.h).
std::size_t byteAt(const Task& task, std::string_view text, int column) {
  return TextColumns(task).byteOf(text, column + 1);
}

int columnAt(const Task& task, std::string_view text, std::size_t byte) {
  return TextColumns(task).columnOf(text, byte) - 1;
}

// The bytes of the character at `pos` as editing takes it: in a UTF-8 task
// a whole (wide) character with the combining marks after it.
std::size_t charLength(const Task& task, std::string_view text, std::size_t pos) {
  if (pos >= text.size()) return 0;
  if (!utf8Task(task)) return 1;
  std::size_t end = pos + static_cast<std::size_t>(glyphAt(text, pos).bytes);
  while (end < text.size() && glyphAt(text, end).cells == 0) end += static_cast<std::size_t>(glyphAt(text, end).bytes);
  return end - pos;
}

// A combining mark: typed, it joins the character before the cursor.
bool joins(const Task& task, std::string_view bytes) {
  if (!utf8File(task) || bytes.empty()) return false;
  Glyph g = glyphAt(bytes, 0);
  return !g.invalid && codeCells(g.code) == 0;
}

// Caps mode: the letters of a changed line go upper case (EBCDIC by way of
// the display's character set).
void upperCase(Task& task, const Line* line, std::string& text) {
  if (!task.capsOn) return;
  if (utf8File(task)) {  // letters beyond ASCII too, the line keeping its length
    text = utf8Case(text, true, true);
    return;
  }
  const unsigned char* shown = nullptr;
  const unsigned char* typed = nullptr;
  if (ebcdicFile(task) && line->is(LineKind::Text)) {
    shown = translateTable(task.session, displayTable(task.profile->charsetDisplay));
    typed = translateTable(task.session, typedTable(task.profile->charsetDisplay));
  }
  for (char& ch : text) {
    auto b = static_cast<unsigned char>(ch);
    unsigned char d = shown ? shown[b] : b;
    if (d >= 'a' && d <= 'z') ch = static_cast<char>(typed ? typed[d - 32] : d - 32);
  }
}

// A typed character as the line stores it: EBCDIC files' data in EBCDIC.
char storedByte(Task& task, const Line* line, unsigned char c) {
  if (!ebcdicFile(task) || !line->is(LineKind::Text)) return static_cast<char>(c);
  const unsigned char* typed = translateTable(task.session, typedTable(task.profile->charsetDisplay));
  return static_cast<char>(typed ? typed[c] : c);
}

// Writes a changed text: caps, then the line store; a MASK line also sets
// the profile's mask.
bool write(Task& task, Line* line, std::string text) {
  upperCase(task, line, text);
  if (text != line->text() && setLineText(task, line, text) != 0) return false;
  if (line->is(LineKind::Mask) && task.profile) {
    task.profile->maskLine = text;
    writeProfile(task.session, *task.profile, true);
  }
  return true;
}

bool mayModify(Task& task, std::string_view browseId) {
  if (task.mode != TaskMode::Browse) return true;
  message(task.session, browseId, kBrowseNoModify);
  return false;
}

int hexDigit(char32_t code) {
  if (code >= 0x80) return -1;
  auto c = static_cast<unsigned char>(code);
  if (std::isdigit(c)) return c - '0';
  c = static_cast<unsigned char>(std::toupper(c));
  return c >= 'A' && c <= 'F' ? c - 'A' + 10 : -1;
}

// A digit typed on a hex row sets the high or low half of the byte above.
EditResult typeHexDigit(Task& task, Line* row, int column, char32_t c) {
  Line* owner = row->prev;
  while (owner && isHexViewLine(owner)) owner = owner->prev;
  int digit = hexDigit(c);
  if (!owner || !owner->is(LineKind::Text) || digit < 0)
    return refuse(task, "", "Only hex digits 0-9 and A-F can be typed on a hex line.");
  if (column >= maxRecLenOf(task)) return refuse(task, "CHAR100", "Overtype string would exceed maximum record length.");
  std::string text(owner->text());
  if (static_cast<int>(text.size()) <= column) text.resize(static_cast<std::size_t>(column) + 1, '\0');
  auto byte = static_cast<unsigned char>(text[static_cast<std::size_t>(column)]);
  byte = row->is(LineKind::HexHigh) ? static_cast<unsigned char>((byte & 0x0F) | (digit << 4))
                                    : static_cast<unsigned char>((byte & 0xF0) | digit);
  text[static_cast<std::size_t>(column)] = static_cast<char>(byte);
  if (!write(task, owner, std::move(text))) return {};
  return at(row, column + 1);
}

EditResult insertAt(Task& task, Line* line, int column, std::string_view bytes) {
  std::string text(line->text());
  std::size_t pos = byteAt(task, text, column);
  Field f = fieldAt(task, pos);
  if (f.number)
    return refuse(task, "CHAR80", "Not allowed to insert chars in line number field, use overtype.");
  char pad = padCharFor(task, line->kind());
  if (text.size() < pos) text.resize(pos, pad);
  auto end = static_cast<std::size_t>(f.end);
  // A full field makes room by giving up the blanks at its end, a byte for
  // each byte that goes in.
  for (std::size_t n = 0; n < bytes.size() && text.size() + n >= end; ++n) {
    std::size_t last = std::min(end, text.size()) - 1;
    if (last < pos || text[last] != pad) {
      if (numbered(task))
        return refuse(task, "CHAR75", "Insert would exceed maximum record length or overrun line number field.");
      return refuse(task, "CHAR85", "Insert would exceed maximum record length.");
    }
    text.erase(last, 1);
  }
  text.insert(pos, bytes);
  std::size_t after = pos + bytes.size();
  if (!write(task, line, text)) return {};
  return at(line, columnAt(task, text, after));
}

// The number field, a field that more of the line follows, and any field
// of a FIXED record keep their byte length through a change that made the
// field `grown` bytes longer (shorter, below 0): pad bytes at its end are
// given up, or added there. `fieldEnd` is where it ended before, `changed`
// where the change ends now. False when the bytes to give up are not pad
// bytes after the change. In UTF-8 (`utf8`) pad bytes go in before a
// character that runs over the field's end, never into it.
bool keepFieldLength(std::string& text, std::size_t fieldEnd, std::size_t changed, long grown,
                     char pad, bool utf8) {
  if (grown < 0) {
    auto n = static_cast<std::size_t>(-grown);
    std::size_t at = std::min(text.size(), fieldEnd > n ? fieldEnd - n : 0);
    for (int k = 0; utf8 && k < 3 && at > changed && at < text.size() &&
                    (static_cast<unsigned char>(text[at]) & 0xC0) == 0x80;
         ++k)
      --at;
    text.insert(at, n, pad);
    return true;
  }
  auto n = static_cast<std::size_t>(grown);
  std::size_t end = std::min(text.size(), fieldEnd + n);
  if (end < changed + n) return false;
  for (std::size_t k = end - n; k < end; ++k)
    if (text[k] != pad) return false;
  text.erase(end - n, n);
  return true;
}

bool keepsLength(const Task& task, std::size_t size, const Field& f) {
  return f.number || size > static_cast<std::size_t>(f.end) ||
         (task.profile && task.profile->recfm == kRecfmFixed);
}

// Overtype puts the character over the whole character at the column: a
// narrow one over a wide one leaves the line a column shorter. Where the
// field keeps its length, a character of more or fewer bytes than the one
// it replaces takes or gives pad bytes at the field's end.
EditResult overtypeAt(Task& task, Line* line, int column, std::string_view bytes) {
  std::string text(line->text());
  std::size_t pos = byteAt(task, text, column);
  Field f = fieldAt(task, pos);
  if (f.number && task.profile && task.profile->numberAuto != NumberAuto::None)
    return refuse(task, "CHAR95", "Not allowed to overtype line number field when NUMAUTO is on.");
  std::size_t old = charLength(task, text, pos);
  std::size_t size = std::max(text.size(), pos) - old + bytes.size();
  auto max = static_cast<std::size_t>(maxRecLenOf(task));
  // A line short of the field's end has room to grow.
  bool kept = pos < text.size() && keepsLength(task, text.size(), f) &&
              (bytes.size() < old ||
               (bytes.size() > old && text.size() >= static_cast<std::size_t>(f.end)));
  constexpr std::string_view kPastMax = "Overtype string would exceed maximum record length.";
  if (pos + bytes.size() > max || (!kept && size > text.size() && size > max))
    return refuse(task, "CHAR100", kPastMax);
  char pad = padCharFor(task, line->kind());
  if (text.size() < pos) text.resize(pos, pad);
  std::size_t fieldEnd = std::min(static_cast<std::size_t>(f.end), text.size());
  text.replace(pos, old, bytes);
  long grown = static_cast<long>(bytes.size()) - static_cast<long>(old);
  if (kept && !keepFieldLength(text, fieldEnd, pos + bytes.size(), grown, pad, utf8File(task))) {
    if (numbered(task))
      return refuse(task, "",
                    "Overtype would exceed maximum record length or overrun line number field.");
    return refuse(task, "CHAR100", kPastMax);
  }
  std::size_t after = pos + bytes.size();
  if (!write(task, line, text)) return {};
  return at(line, columnAt(task, text, after));
}

// Word wrap: a character typed past the wrap column takes the word it ends
// to a new line below: the line is cut after its last blank at or before
// the wrap column, and the word, the character and the rest of the line
// follow on the new line.
std::optional<EditResult> wrapWord(Task& task, Line* line, int column, std::string_view bytes, bool typedBlank, bool insert) {
  if (task.wrapColumn <= 0 || typedBlank || column < task.wrapColumn || !line->is(LineKind::Text))
    return std::nullopt;
  char pad = padCharFor(task, LineKind::Text);
  std::string text(line->text());
  std::size_t at0 = byteAt(task, text, column);
  std::size_t old = insert ? 0 : charLength(task, text, at0);
  if (text.size() < at0) text.resize(at0, pad);
  std::size_t blank = text.find_last_of(pad, byteAt(task, text, task.wrapColumn - 1));
  if (blank == std::string::npos)
    return refuse(task, "CHAR20", "Current line full, has no blanks, can not wrap word.");
  std::string moved = text.substr(blank + 1, at0 - blank - 1);
  moved += bytes;
  int cursor = columnAt(task, moved, moved.size());
  moved += text.substr(std::min(text.size(), at0 + old));
  text.resize(blank + 1);
  Line* fresh = createLine(task, {}, LineKind::Text);
  if (!fresh) return EditResult{};
  if (!write(task, line, std::move(text))) {
    freeLine(task, fresh);
    return EditResult{};
  }
  linkBelow(task, line, fresh);
  if (!write(task, fresh, std::move(moved))) return EditResult{};
  noteKeystroke(task);
  return at(fresh, cursor);
}

// A stream or rectangle selection holding `line`: typing or deleting there
// takes the selected text away first. Whole-line selections are left to
// the commands that use them.
std::optional<SelectionStart> takeSelection(Task& task, Line* line) {
  const Selection& sel = task.selection;
  if (!sel.active() || sel.mode == SelectionMode::WholeLine || !selectedColumns(task, *line)) return std::nullopt;
  return deleteSelection(task);
}

}  // namespace

namespace {

// One character as typed: its bytes in the display's set (UTF-8 in a UTF-8
// file), put in or over the text at `column`.
EditResult typeBytes(Task& task, Line* line, int column, std::string_view typed, bool insert) {
  if (!line || !modifiable(line))
    return refuse(task, insert ? "CHAR90" : "CHAR105", kNotModifiable);
  if (!mayModify(task, "CHAR10")) return {};
  if (std::optional<SelectionStart> start = takeSelection(task, line)) {
    line = start->line;  // the character takes the selection's place
    column = start->column;
    insert = true;
  }
  if (isHexRow(line))
    return typeHexDigit(task, line, column, typed.size() == 1 ? static_cast<unsigned char>(typed[0]) : 0);
  std::string bytes(typed);
  if (!utf8File(task)) bytes[0] = storedByte(task, line, static_cast<unsigned char>(typed[0]));
  insert = insert || joins(task, bytes);
  std::optional<EditResult> wrapped;
  if (!joins(task, bytes)) wrapped = wrapWord(task, line, column, bytes, typed == " ", insert);
  if (wrapped) return *wrapped;
  EditResult r = insert ? insertAt(task, line, column, bytes) : overtypeAt(task, line, column, bytes);
  if (r.ok) noteKeystroke(task);
  return r;
}

}  // namespace

EditResult typeChar(Task& task, Line* line, int column, char32_t c, bool insert) {
  std::string bytes;
  if (utf8File(task)) {
    appendUtf8(bytes, c);
  } else {
    if (c > 0xFF) return refuse(task, "", format(kNotTypeable, static_cast<int>(c)));
    bytes.push_back(static_cast<char>(c));
  }
  return typeBytes(task, line, column, bytes, insert);
}

EditResult typeText(Task& task, Line* line, int column, std::string_view text, bool insert) {
  EditResult r = at(line, column);
  bool utf8 = utf8File(task);
  for (std::size_t i = 0; i < text.size();) {
    auto n = utf8 ? static_cast<std::size_t>(glyphAt(text, i).bytes) : 1;
    if (!(r = typeBytes(task, r.line, r.column, text.substr(i, n), insert)).ok) break;
    i += n;
  }
  return r;
}

EditResult deleteChar(Task& task, Line* line, int column) {
  if (!line) return refuse(task, "CHAR120", "Cursor must be on data line for DELETE to work.");
  if (!mayModify(task, "CHAR110")) return {};
  if (std::optional<SelectionStart> start = takeSelection(task, line)) return at(start->line, start->column);
  if (isHexViewLine(line))
    return refuse(task, "CHAR139", "Not allowed to delete character on hex data line.\nDelete the character on the text line.");
  if (!modifiable(line)) return refuse(task, "CHAR140", kNotModifiable);
  std::string text(line->text());
  std::size_t pos = byteAt(task, text, column);
  Field f = fieldAt(task, pos);
  if (f.number) return refuse(task, "CHAR135", "Not allowed to delete chars in the line number field, use overtype.");
  if (pos >= text.size()) return at(line, column);
  int start = columnAt(task, text, pos);
  std::size_t n = charLength(task, text, pos);
  text.erase(pos, n);
  char pad = padCharFor(task, line->kind());
  std::size_t size = line->text().size();
  if (keepsLength(task, size, f))  // the field closes up; what lies beyond it stays in its columns
    keepFieldLength(text, std::min(static_cast<std::size_t>(f.end), size), pos,
                    -static_cast<long>(n), pad, utf8File(task));
  if (!write(task, line, std::move(text))) return {};
  return at(line, start);
}

EditResult backspace(Task& task, Line* line, int column, bool insert) {
  if (!line) return refuse(task, "CHAR150", "Cursor must be on data line for BACKSPACE to work.");
  if (task.mode != TaskMode::Browse)
    if (std::optional<SelectionStart> start = takeSelection(task, line)) return at(start->line, start->column);
  if (column <= 0) return at(line, 0);
  bool destructive = insert || varGet(task.session, "ZBACKSPACE") == "DESTRUCTIVE";
  if (!destructive) return at(line, column - 1);
  return deleteChar(task, line, column - 1);  // the whole character before the cursor
}

EditResult deleteToEnd(Task& task, Line* line, int column) {
  if (!line) return refuse(task, "CHAR130", "Cursor must be on data line for DELEOL to work.");
  if (!mayModify(task, "CHAR125")) return {};
  if (!modifiable(line) || isHexRow(line)) return refuse(task, "CHAR140", kNotModifiable);
  std::string text(line->text());
  std::size_t pos = byteAt(task, text, column);
  Field f = fieldAt(task, pos);
  if (pos >= text.size()) return at(line, column);
  int start = columnAt(task, text, pos);
  char pad = padCharFor(task, line->kind());
  if (static_cast<int>(text.size()) > f.end ||
      (task.profile && task.profile->recfm == kRecfmFixed)) {
    std::size_t stop = std::min(static_cast<std::size_t>(f.end), text.size());
    std::fill(text.begin() + static_cast<std::ptrdiff_t>(std::min(pos, stop)), text.begin() + static_cast<std::ptrdiff_t>(stop), pad);
  } else {
    text.resize(pos);
  }
  if (!write(task, line, std::move(text))) return {};
  return at(line, start);
}

EditResult deleteWord(Task& task, Line* line, int column) {
  if (!mayModify(task, "CHAR116")) return {};
  if (!line || !modifiable(line) || isHexRow(line))
    return refuse(task, "CHAR119", "Cursor must be in data area, command ignored.");
  char pad = padCharFor(task, line->kind());
  std::string_view text = line->text();
  // Blanks are single bytes in every set, so the word is found byte by byte.
  std::size_t pos = byteAt(task, text, column);
  if (pos >= text.size() || text[pos] == pad)
    return refuse(task, "CHAR118", "Cursor must be on non-blank, command ignored.");
  Field f = fieldAt(task, pos);
  std::size_t start = pos;
  while (start > static_cast<std::size_t>(f.start) && text[start - 1] != pad) --start;
  std::size_t end = pos;
  std::size_t fieldEnd = std::min(text.size(), static_cast<std::size_t>(f.end));
  while (end < fieldEnd && text[end] != pad) ++end;
  while (end < fieldEnd && text[end] == pad) ++end;
  std::string out(text);
  out.erase(start, end - start);
  if (text.size() > fieldEnd) out.insert(fieldEnd - (end - start), end - start, pad);
  int cursor = columnAt(task, text, start);
  if (!write(task, line, std::move(out))) return {};
  return at(line, cursor);
}

EditResult hexIn(Task& task, Line* line, int column, std::string_view digits) {
  if (!line || !line->is(LineKind::Text)) return refuse(task, "CHAR65", "HEXIN cursor must be on text line.");
  if (column < 0) return refuse(task, "CHAR70", "HEXIN cursor must in data portion of text line.");
  if (!mayModify(task, "CHAR10")) return {};
  std::string bytes;
  for (char c : digits) {
    if (c == ' ') continue;
    if (hexDigit(static_cast<unsigned char>(c)) < 0) return refuse(task, "CHAR55", "HEXIN digit must be in range 0..9  A..F");
    bytes += c;
  }
  if (bytes.empty() || bytes.size() % 2 != 0) return refuse(task, "CHAR60", "HEXIN input must be in pairs.");
  std::string text(line->text());
  std::size_t pos = byteAt(task, text, column);
  std::size_t end = pos + bytes.size() / 2;
  if (end > static_cast<std::size_t>(maxRecLenOf(task)))
    return refuse(task, "CHAR100", "Overtype string would exceed maximum record length.");
  if (text.size() < end) text.resize(end, padCharFor(task, LineKind::Text));
  for (std::size_t i = 0; i < bytes.size(); i += 2)
    text[pos + i / 2] = static_cast<char>(
        hexDigit(static_cast<unsigned char>(bytes[i])) * 16 + hexDigit(static_cast<unsigned char>(bytes[i + 1])));
  int cursor = columnAt(task, text, end);
  if (!write(task, line, std::move(text))) return {};
  return at(line, cursor);
}

EditResult splitAt(Task& task, Line* line, int column) {
  if (!line || !line->is(LineKind::Text)) return refuse(task, "", "Can't split non-text line.");
  if (!mayModify(task, "CHAR10")) return {};
  if (task.profile && task.profile->recfm == kRecfmFixed)
    return refuse(task, "", "Can't split a FIXED record.");
  std::string text(line->text());
  std::size_t pos = std::min(text.size(), byteAt(task, text, column));
  Line* fresh = createLine(task, text.substr(pos), LineKind::Text);
  if (!fresh) return {};
  text.resize(pos);
  if (!write(task, line, std::move(text))) return {};
  linkBelow(task, line, fresh);
  return at(fresh, 0);
}

EditResult joinNext(Task& task, Line* line) {
  if (!line || !line->is(LineKind::Text)) return refuse(task, "", "Can't join non-text line.");
  if (!mayModify(task, "CHAR10")) return {};
  Line* next = line->next;
  while (next && isHexViewLine(next)) next = next->next;
  if (!next || !next->is(LineKind::Text)) return refuse(task, "", "Can't join non-text line.");
  std::string text(line->text());
  int column = TextColumns(task).width(text);
  text += next->text();
  if (static_cast<int>(text.size()) > maxRecLenOf(task))
    return refuse(task, "", format("Join would exceed MaxRecLen %d.", maxRecLenOf(task)));
  if (!write(task, line, std::move(text))) return {};
  deleteLine(task, next, true);
  return at(line, column);
}

namespace {

struct Editing : CharacterEditing {
  explicit Editing(Session&) {}
  EditResult type(Task& t, Line* l, int c, char32_t ch, bool insert) override { return typeChar(t, l, c, ch, insert); }
  EditResult erase(Task& t, Line* l, int c) override { return deleteChar(t, l, c); }
  EditResult backspace(Task& t, Line* l, int c, bool insert) override { return kiv::backspace(t, l, c, insert); }
  EditResult eraseToEnd(Task& t, Line* l, int c) override { return deleteToEnd(t, l, c); }
};

}  // namespace

void provideCharacterEditing(Session& s) {
  if (!s.findFeature<CharacterEditing>()) s.provide<CharacterEditing>(std::make_unique<Editing>(s));
}

}  // namespace kiv
