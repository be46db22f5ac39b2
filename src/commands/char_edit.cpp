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
#include "core/translate_table.h"
#include "services/messages.h"
#include "services/var_pool.h"

namespace kiv {

namespace {

constexpr std::string_view kNotModifiable = "This line is not modifiable.";

// The columns a character operation stays within: the number columns of a
// numbered file, or the stretch of data before or after them.
struct Field {
  int start;
  int end;  // exclusive
  bool number;
};

Field fieldAt(const Task& task, int column) {
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

// Caps mode: the letters of a changed line go upper case (EBCDIC by way of
// the display's character set).
void upperCase(Task& task, const Line* line, std::string& text) {
  if (!task.capsOn) return;
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

int hexDigit(unsigned char c) {
  if (std::isdigit(c)) return c - '0';
  c = static_cast<unsigned char>(std::toupper(c));
  return c >= 'A' && c <= 'F' ? c - 'A' + 10 : -1;
}

// A digit typed on a hex row sets the high or low half of the byte above.
EditResult typeHexDigit(Task& task, Line* row, int column, unsigned char c) {
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

EditResult insertAt(Task& task, Line* line, int column, char byte) {
  Field f = fieldAt(task, column);
  if (f.number)
    return refuse(task, "CHAR80", "Not allowed to insert chars in line number field, use overtype.");
  char pad = padCharFor(task, line->kind());
  std::string text(line->text());
  if (static_cast<int>(text.size()) < column) text.resize(static_cast<std::size_t>(column), pad);
  if (static_cast<int>(text.size()) >= f.end) {  // the field is full: its last character goes
    if (text[static_cast<std::size_t>(f.end - 1)] != pad) {
      if (numbered(task))
        return refuse(task, "CHAR75", "Insert would exceed maximum record length or overrun line number field.");
      return refuse(task, "CHAR85", "Insert would exceed maximum record length.");
    }
    text.erase(static_cast<std::size_t>(f.end - 1), 1);
  }
  text.insert(static_cast<std::size_t>(column), 1, byte);
  if (!write(task, line, std::move(text))) return {};
  return at(line, column + 1);
}

EditResult overtypeAt(Task& task, Line* line, int column, char byte) {
  Field f = fieldAt(task, column);
  if (f.number && task.profile && task.profile->numberAuto != NumberAuto::None)
    return refuse(task, "CHAR95", "Not allowed to overtype line number field when NUMAUTO is on.");
  if (column >= maxRecLenOf(task))
    return refuse(task, "CHAR100", "Overtype string would exceed maximum record length.");
  std::string text(line->text());
  if (static_cast<int>(text.size()) <= column)
    text.resize(static_cast<std::size_t>(column) + 1, padCharFor(task, line->kind()));
  text[static_cast<std::size_t>(column)] = byte;
  if (!write(task, line, std::move(text))) return {};
  return at(line, column + 1);
}

// Word wrap: a character typed past the wrap column takes the word it ends
// to a new line below: the line is cut after its last blank at or before
// the wrap column, and the word, the character and the rest of the line
// follow on the new line.
std::optional<EditResult> wrapWord(Task& task, Line* line, int column, unsigned char c, bool insert) {
  if (task.wrapColumn <= 0 || c == ' ' || column < task.wrapColumn || !line->is(LineKind::Text))
    return std::nullopt;
  char pad = padCharFor(task, LineKind::Text);
  std::string text(line->text());
  if (static_cast<int>(text.size()) < column) text.resize(static_cast<std::size_t>(column), pad);
  std::size_t blank = text.find_last_of(pad, static_cast<std::size_t>(task.wrapColumn - 1));
  if (blank == std::string::npos)
    return refuse(task, "CHAR20", "Current line full, has no blanks, can not wrap word.");
  auto at0 = static_cast<std::size_t>(column);
  std::string moved = text.substr(blank + 1, at0 - blank - 1) + storedByte(task, line, c) +
                      text.substr(std::min(text.size(), insert ? at0 : at0 + 1));
  text.resize(blank + 1);
  Line* fresh = createLine(task, {}, LineKind::Text);
  if (!fresh) return EditResult{};
  if (!write(task, line, std::move(text))) {
    freeLine(task, fresh);
    return EditResult{};
  }
  linkBelow(task, line, fresh);
  int cursor = static_cast<int>(at0 - blank);
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

EditResult typeChar(Task& task, Line* line, int column, unsigned char c, bool insert) {
  if (!line || !modifiable(line))
    return refuse(task, insert ? "CHAR90" : "CHAR105", kNotModifiable);
  if (!mayModify(task, "CHAR10")) return {};
  if (std::optional<SelectionStart> start = takeSelection(task, line)) {
    line = start->line;  // the character takes the selection's place
    column = start->column;
    insert = true;
  }
  if (isHexRow(line)) return typeHexDigit(task, line, column, c);
  if (std::optional<EditResult> wrapped = wrapWord(task, line, column, c, insert)) return *wrapped;
  char byte = storedByte(task, line, c);
  EditResult r = insert ? insertAt(task, line, column, byte) : overtypeAt(task, line, column, byte);
  if (r.ok) noteKeystroke(task);
  return r;
}

EditResult typeText(Task& task, Line* line, int column, std::string_view text, bool insert) {
  EditResult r = at(line, column);
  for (char c : text)
    if (!(r = typeChar(task, r.line, r.column, static_cast<unsigned char>(c), insert)).ok) break;
  return r;
}

EditResult deleteChar(Task& task, Line* line, int column) {
  if (!line) return refuse(task, "CHAR120", "Cursor must be on data line for DELETE to work.");
  if (!mayModify(task, "CHAR110")) return {};
  if (std::optional<SelectionStart> start = takeSelection(task, line)) return at(start->line, start->column);
  if (isHexViewLine(line))
    return refuse(task, "CHAR139", "Not allowed to delete character on hex data line.\nDelete the character on the text line.");
  if (!modifiable(line)) return refuse(task, "CHAR140", kNotModifiable);
  Field f = fieldAt(task, column);
  if (f.number) return refuse(task, "CHAR135", "Not allowed to delete chars in the line number field, use overtype.");
  std::string text(line->text());
  if (column >= static_cast<int>(text.size())) return at(line, column);
  text.erase(static_cast<std::size_t>(column), 1);
  char pad = padCharFor(task, line->kind());
  bool keepsLength = static_cast<int>(line->text().size()) > f.end ||
                     (task.profile && task.profile->recfm == kRecfmFixed);
  if (keepsLength)  // the field closes up; what lies beyond it stays in its columns
    text.insert(std::min(text.size(), static_cast<std::size_t>(std::min(f.end, static_cast<int>(line->text().size())) - 1)), 1, pad);
  if (!write(task, line, std::move(text))) return {};
  return at(line, column);
}

EditResult backspace(Task& task, Line* line, int column, bool insert) {
  if (!line) return refuse(task, "CHAR150", "Cursor must be on data line for BACKSPACE to work.");
  if (task.mode != TaskMode::Browse)
    if (std::optional<SelectionStart> start = takeSelection(task, line)) return at(start->line, start->column);
  if (column <= 0) return at(line, 0);
  bool destructive = insert || varGet(task.session, "ZBACKSPACE") == "DESTRUCTIVE";
  if (!destructive) return at(line, column - 1);
  EditResult r = deleteChar(task, line, column - 1);
  return r.ok ? at(line, column - 1) : r;
}

EditResult deleteToEnd(Task& task, Line* line, int column) {
  if (!line) return refuse(task, "CHAR130", "Cursor must be on data line for DELEOL to work.");
  if (!mayModify(task, "CHAR125")) return {};
  if (!modifiable(line) || isHexRow(line)) return refuse(task, "CHAR140", kNotModifiable);
  Field f = fieldAt(task, column);
  std::string text(line->text());
  if (column >= static_cast<int>(text.size())) return at(line, column);
  char pad = padCharFor(task, line->kind());
  bool keepsLength = static_cast<int>(text.size()) > f.end || (task.profile && task.profile->recfm == kRecfmFixed);
  if (keepsLength) {
    int stop = std::min(f.end, static_cast<int>(text.size()));
    std::fill(text.begin() + column, text.begin() + stop, pad);
  } else {
    text.resize(static_cast<std::size_t>(column));
  }
  if (!write(task, line, std::move(text))) return {};
  return at(line, column);
}

EditResult deleteWord(Task& task, Line* line, int column) {
  if (!mayModify(task, "CHAR116")) return {};
  if (!line || !modifiable(line) || isHexRow(line))
    return refuse(task, "CHAR119", "Cursor must be in data area, command ignored.");
  char pad = padCharFor(task, line->kind());
  std::string_view text = line->text();
  if (column >= static_cast<int>(text.size()) || text[static_cast<std::size_t>(column)] == pad)
    return refuse(task, "CHAR118", "Cursor must be on non-blank, command ignored.");
  Field f = fieldAt(task, column);
  auto start = static_cast<std::size_t>(column);
  while (start > static_cast<std::size_t>(f.start) && text[start - 1] != pad) --start;
  std::size_t end = static_cast<std::size_t>(column);
  std::size_t fieldEnd = std::min(text.size(), static_cast<std::size_t>(f.end));
  while (end < fieldEnd && text[end] != pad) ++end;
  while (end < fieldEnd && text[end] == pad) ++end;
  std::string out(text);
  out.erase(start, end - start);
  if (text.size() > fieldEnd) out.insert(fieldEnd - (end - start), end - start, pad);
  if (!write(task, line, std::move(out))) return {};
  return at(line, static_cast<int>(start));
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
  if (column + static_cast<int>(bytes.size() / 2) > maxRecLenOf(task))
    return refuse(task, "CHAR100", "Overtype string would exceed maximum record length.");
  std::string text(line->text());
  std::size_t end = static_cast<std::size_t>(column) + bytes.size() / 2;
  if (text.size() < end) text.resize(end, padCharFor(task, LineKind::Text));
  for (std::size_t i = 0; i < bytes.size(); i += 2)
    text[static_cast<std::size_t>(column) + i / 2] = static_cast<char>(
        hexDigit(static_cast<unsigned char>(bytes[i])) * 16 + hexDigit(static_cast<unsigned char>(bytes[i + 1])));
  if (!write(task, line, std::move(text))) return {};
  return at(line, static_cast<int>(end));
}

EditResult splitAt(Task& task, Line* line, int column) {
  if (!line || !line->is(LineKind::Text)) return refuse(task, "", "Can't split non-text line.");
  if (!mayModify(task, "CHAR10")) return {};
  if (task.profile && task.profile->recfm == kRecfmFixed)
    return refuse(task, "", "Can't split a FIXED record.");
  std::string text(line->text());
  std::string moved = column < static_cast<int>(text.size()) ? text.substr(static_cast<std::size_t>(column)) : "";
  Line* fresh = createLine(task, moved, LineKind::Text);
  if (!fresh) return {};
  text.resize(std::min(text.size(), static_cast<std::size_t>(column)));
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
  int column = static_cast<int>(text.size());
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
  EditResult type(Task& t, Line* l, int c, unsigned char ch, bool insert) override { return typeChar(t, l, c, ch, insert); }
  EditResult erase(Task& t, Line* l, int c) override { return deleteChar(t, l, c); }
  EditResult backspace(Task& t, Line* l, int c, bool insert) override { return kiv::backspace(t, l, c, insert); }
  EditResult eraseToEnd(Task& t, Line* l, int c) override { return deleteToEnd(t, l, c); }
};

}  // namespace

void provideCharacterEditing(Session& s) {
  if (!s.findFeature<CharacterEditing>()) s.provide<CharacterEditing>(std::make_unique<Editing>(s));
}

}  // namespace kiv
