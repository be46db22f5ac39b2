// The data rows of an edit panel: which line stands on each row, how a row
// is composed (prefix area, then the data from the first shown column), the
// scroll bar, the message row and the information line.
#include <algorithm>
#include <array>

#include "core/bounds.h"
#include "core/excluded.h"
#include "core/file_profile.h"
#include "core/hex_view.h"
#include "core/line.h"
#include "core/line_ops.h"
#include "core/session.h"
#include "core/text_columns.h"
#include "core/translate_table.h"
#include "platform/display_charset.h"
#include "screen/cursor_moves.h"
#include "screen/edit_panel.h"
#include "screen/screen_state.h"
#include "screen/utf8_cells.h"
#include "services/format.h"
#include "services/messages.h"

namespace kiv {

namespace {

using platform::Cell;
using platform::Grid;

struct KindLook {
  LineKind kind;
  std::string_view marker;  // prefix area text; empty: numbers or commands
  Element element;
};

constexpr std::array<KindLook, 12> kLooks = {{
    {LineKind::Tof, "*", Element::TofBofLine},
    {LineKind::Bof, "*", Element::TofBofLine},
    {LineKind::Bnds, "<BNDS>", Element::BoundsLine},
    {LineKind::Cols, "<COLS>", Element::ColsLine},
    {LineKind::Excluded, "- - - - - - - - -", Element::ExcludeLine},
    {LineKind::HexHigh, " ", Element::HexLine},
    {LineKind::HexLow, " ", Element::HexLine},
    {LineKind::HexSep, "---------", Element::HexLine},
    {LineKind::Mask, "<MASK>", Element::MaskLine},
    {LineKind::Note, "<NOTE>", Element::NoteLine},
    {LineKind::Tabs, "<TABS>", Element::TabsLine},
    {LineKind::Text, "", Element::EditText},
}};

const KindLook& lookOf(const Line* line) {
  for (const KindLook& k : kLooks)
    if (k.kind == line->kind()) return k;
  return kLooks.back();
}

std::string fitted(std::string_view text, int width) {
  std::string out(text.substr(0, static_cast<std::size_t>(width)));
  out.resize(static_cast<std::size_t>(width), ' ');
  return out;
}

// The last w characters of "%08d " for w of 4..9; blanks otherwise.
std::string numberField(long number, int w) {
  if (w < 4 || w > 9) return std::string(static_cast<std::size_t>(w), ' ');
  std::string n = format("%08d ", static_cast<int>(number % 100000000));
  return n.substr(n.size() - static_cast<std::size_t>(w));
}

// Column ruler from data column `first`: digits at tens, "+" at fives.
std::string rulerText(int first, int width) {
  std::string out;
  for (int c = first; c < first + width; ++c)
    out += c % 10 == 0 ? static_cast<char>('0' + (c / 10) % 10) : c % 5 == 0 ? '+' : '-';
  return out;
}

// Cells of the information line's "Cols" part, with its digit count.
std::string colsText(int first, int last) {
  static constexpr std::array<std::string_view, 5> kForms = {
      "Cols %02d %02d", "Cols %03d %03d", "Cols %04d %04d", "Cols %05d %05d", "Cols %06d %06d"};
  std::size_t form = last < 100 ? 0 : last < 1000 ? 1 : last < 10000 ? 2 : last < 100000 ? 3 : 4;
  return format(kForms[form], first, last);
}

// A hex view row: the high or low digits of the TEXT line it stands under,
// or dashes under them for the separator.
std::string hexRowText(const Line* line, int from, int width) {
  const Line* owner = line->is(LineKind::HexLow) && line->prev ? line->prev->prev : line->prev;
  if (line->is(LineKind::HexSep) || !owner || !owner->is(LineKind::Text)) return {};
  std::string_view text = owner->text();
  if (from >= static_cast<int>(text.size())) return {};
  text = text.substr(static_cast<std::size_t>(from), static_cast<std::size_t>(width));
  return hexDigits(text, line->is(LineKind::HexHigh));
}

// True when the first `columns` bytes of the text are ASCII: there a byte is
// a column in any task.
bool asciiUpTo(std::string_view text, int columns) {
  std::size_t n = std::min(text.size(), static_cast<std::size_t>(std::max(columns, 0)));
  return asciiPrefix(text.substr(0, n)) == n;
}

std::string_view modeName(TaskMode m) {
  return m == TaskMode::Browse ? "Browse" : m == TaskMode::View ? "View" : "Edit";
}

}  // namespace

bool hiddenOnPanel(const Task& task, const Line* line) {
  if (hiddenLine(task, line)) return true;
  if (!isHexViewLine(line)) return false;
  const Line* owner = line->prev;
  while (owner && isHexViewLine(owner)) owner = owner->prev;
  return !owner || !owner->is(LineKind::Text);
}

int EditPanel::dataIndex(int row) const {
  int i = row - firstDataRow;
  return i >= 0 && i < dataRows ? i : -1;
}

void EditPanel::layout() {
  prefixWidth_ = prefixSetting();
  showNumbers_ = settingTrue(task.session, "ZEDIT.SHOWLINENUM", true);
  rowLines_.assign(static_cast<std::size_t>(dataRows), nullptr);
  Line* line = task.topLine ? task.topLine : task.lines.first;
  long skipped = 0;
  if (line && hiddenOnPanel(task, line)) line = hiddenRuns.after(task, line, skipped);
  task.topLine = line;
  topOrdinal_ = line ? kiv::ordinalOf(task, line) : 0;
  longLine_ = false;
  textShown_ = 0;
  int end = displayOffset() + dataWidth();
  bool utf8 = utf8Task(task);  // a line longer in bytes may still fit in columns
  rowNumbers_.assign(static_cast<std::size_t>(dataRows), 0);
  long before = topOrdinal_;  // TEXT lines before `line`, hidden ones too
  for (int i = rulerShown() ? 1 : 0; i < dataRows && line; ++i) {
    rowLines_[static_cast<std::size_t>(i)] = line;
    if (line->is(LineKind::Text)) {
      rowNumbers_[static_cast<std::size_t>(i)] = ++before;
      ++textShown_;
      if (line->length() > end && (!utf8 || TextColumns(true).width(line->text()) > end))
        longLine_ = true;
    }
    line = nextLoadedLine(task, line);
    if (line && hiddenOnPanel(task, line)) line = hiddenRuns.after(task, line, before);
  }
  layoutValid_ = true;
  laidStructure_ = task.structureChanges;
  laidCount_ = task.lines.count;
  markDirty(firstDataRow, dataRows);
}

void EditPanel::repaintLine(const Line* line) {
  if (stale()) return;  // the next layout paints every row
  for (std::size_t i = 0; i < rowLines_.size(); ++i) {
    if (rowLines_[i] != line) continue;
    std::size_t end = i + 1;  // its hex view rows show its digits
    while (end < rowLines_.size() && isHexViewLine(rowLines_[end])) ++end;
    markDirty(firstDataRow + static_cast<int>(i), static_cast<int>(end - i));
  }
}

Line* EditPanel::lineAtRow(int row) {
  int i = dataIndex(row);
  if (i < 0) return nullptr;
  if (stale()) layout();
  return rowLines_[static_cast<std::size_t>(i)];
}

Line* EditPanel::currentLine() {
  Line* line = dataIndex(cursorRow) >= 0 ? lineAtRow(cursorRow) : nullptr;
  return line ? line : lineAtRow(firstDataRow + (rulerShown() ? 1 : 0));
}

long EditPanel::lineNumber(Line* line) {
  if (!line || !line->is(LineKind::Text)) return 0;
  if (stale()) layout();
  for (std::size_t i = 0; i < rowLines_.size(); ++i)
    if (rowLines_[i] == line) return rowNumbers_[i];
  return kiv::ordinalOf(task, line) + 1;
}

void EditPanel::update() {
  if (stale()) layout();
  keepCaretOnCharacter(*this);  // after a click, a scroll or a move up or down
  Session& s = task.session;
  if (s.messagePending || task.lines.empty()) return;
  std::string info = informationLine();
  if (info == shownInfo_) return;
  shownInfo_ = info;
  showMessage(info, true);
}

void EditPanel::showMessage(std::string_view text, bool information) {
  ScreenObject* row = findObject(*this, "MSGROW");
  if (!row) return;
  if (!information) shownInfo_.clear();
  setContent(*row, fitToRow(text, row->displayWidth));
  const ColourScheme& scheme = screenState(task.session).scheme;
  ColourPair c = scheme.pair(information ? Element::StatusLine : Element::MessageLine);
  row->fg = c.fg;
  row->bg = c.bg;
  markDirty(row->row, 1);
}

std::string EditPanel::informationLine() {
  Session& s = task.session;
  int D = dataWidth();
  int recLen = task.profile ? maxRecLenOf(task) : kDefaultMaxRecLen;
  int first = std::min(displayOffset() + 1, recLen);
  int last = std::min(recLen, first + D - 1);
  std::string out = displayOffset() > 0 ? "<<< " : "";
  out += colsText(first, last);
  Line* line = dataIndex(cursorRow) >= 0 ? lineAtRow(cursorRow) : nullptr;
  long number = lineNumber(line);
  out += number > 0 ? format("  Line %d", number) : std::string("  Line -");
  int dataCol = cursorCol - prefixWidth();  // data column 1 follows the prefix area
  bool inData = line && dataCol >= 1 && dataCol <= D;
  bool hex = task.profile && task.profile->hexView;
  int column = displayOffset() + dataCol;
  if (hex)
    out += inData ? format("  Xoffset %X", column - 1) : std::string("  Xoffset -");
  else
    out += inData ? format("  Col %d", column) : std::string("  Col -");
  Bounds b = task.profile && task.profile->boundLeft > 0
                 ? Bounds{task.profile->boundLeft, task.profile->boundRight}
                 : defaultBounds(task);
  out += format("  Bounds %d,%d", b.left, b.right);
  if (s.tasks.size() > 1) {
    std::size_t pos = 0;
    while (pos < s.tasks.size() && s.tasks[pos].get() != &task) ++pos;
    out += format("  Task %d of %d", static_cast<int>(pos + 1), static_cast<int>(s.tasks.size()));
  }
  if (!task.pendingLines.empty()) out += "  LcmdPending";
  out += format("  Mode(%s)  ", modeName(task.mode));
  if (!settingTrue(s, "ZSCROLLBTN", true))
    out += "Scroll(" + setting(s, "ZEDIT.SCROLL.V.MODE", "PAGE") + ")";
  int width = msgWidth;
  if (longLine_ && width - static_cast<int>(out.size()) >= 3) {
    out.resize(static_cast<std::size_t>(width - 3), ' ');
    out += ">>>";
  }
  return out;
}

bool EditPanel::rulerShown() const {
  return task.profile && task.profile->ruler && dataRows > 1;
}

void EditPanel::drawEditLine(const ScreenObject& o, Grid& grid, const ColourScheme& scheme) {
  Line* line = lineAtRow(o.row);
  int w = prefixWidth();
  int D = dataWidth();
  std::uint8_t textAttr =
      scheme.attr(task.mode == TaskMode::Browse ? Element::BrowseText : Element::EditText);
  int r = o.row - 1;
  for (int c = 0; c < o.displayWidth; ++c) grid.set(r, o.col - 1 + c, Cell{U' ', textAttr});
  if (rulerShown() && o.row == firstDataRow) {
    std::uint8_t attr = scheme.attr(Element::RulerLine);
    grid.put(r, o.col - 1, fitted("<COLS>", w), attr);
    grid.put(r, o.col - 1 + w, rulerText(displayOffset() + 1, D), attr);
    return;
  }
  if (!line) return;
  auto [prefix, prefixElement] = prefixOf(line, w);
  grid.put(r, o.col - 1, prefix, scheme.attr(prefixElement));
  composeData(line, grid, r, o.col - 1 + w, D, scheme);
}

// The prefix area of a line: hex view rows always show their own marker;
// otherwise a pending line command, the label, the error or changed mark,
// and last the marker of the line's kind or its number.
std::pair<std::string, Element> EditPanel::prefixOf(Line* line, int w) {
  const KindLook& look = lookOf(line);
  if (isHexViewLine(line)) return {fitted(look.marker, w), look.element};
  if (line->hasPendingCommand()) return {fitted(line->lineCommand(), w), Element::LineCommands};
  if (line->hasLabel()) return {fitted(line->label(), w), Element::LineLabels};
  if (line->error() || line->changed())
    return {fitted(line->error() ? "==ERR>" : "==CHG>", w), Element::LineCommands};
  if (line->is(LineKind::Tof) || line->is(LineKind::Bof))
    return {std::string(static_cast<std::size_t>(w), '*'), look.element};
  if (!look.marker.empty()) return {fitted(look.marker, w), look.element};
  if (showNumbers_) return {numberField(lineNumber(line), w), Element::LineNumbers};
  return {std::string(static_cast<std::size_t>(w), ' '), look.element};
}

void EditPanel::composeData(Line* line, Grid& grid, int r, int c0, int D,
                            const ColourScheme& scheme) {
  const KindLook& look = lookOf(line);
  std::uint8_t attr =
      line->is(LineKind::Text)
          ? scheme.attr(task.mode == TaskMode::Browse ? Element::BrowseText : Element::EditText)
          : scheme.attr(look.element);
  if (line->is(LineKind::Tof) || line->is(LineKind::Bof)) {
    std::string_view text = line->is(LineKind::Tof) ? " Top of Data" : " Bottom of Data";
    grid.put(r, c0, text.substr(0, static_cast<std::size_t>(D)), attr);
    return;
  }
  if (line->is(LineKind::Cols)) {
    grid.put(r, c0, rulerText(displayOffset() + 1, D), attr);
    return;
  }
  if (isHexViewLine(line)) {
    grid.put(r, c0, hexRowText(line, displayOffset(), D), attr);
    return;
  }
  int from = line->is(LineKind::Excluded) ? 0 : displayOffset();
  std::string_view text = line->text();
  if (utf8Task(task) && !asciiUpTo(text, from + D)) {
    ShownText shown = shownText(text, from);
    // The bytes the overlays colour: the rest of a short line and a byte a
    // column past it, which costs no walk to the last shown column.
    std::size_t rest = text.size() - std::min(shown.first, text.size());
    std::size_t n = rest <= static_cast<std::size_t>(4 * D) ? rest + static_cast<std::size_t>(D)
                                                            : shownEnd(text, from, D) - shown.first;
    std::span<std::uint8_t> attrs =
        overlaid(*line, static_cast<int>(shown.first), static_cast<int>(n), attr);
    drawUtf8({grid, r, c0, D, attr, attrs}, text, from, shown);
    return;
  }
  const unsigned char* table = nullptr;
  if (task.profile && task.profile->charset == Charset::Ebcdic && line->is(LineKind::Text))
    table = translateTable(task.session, displayTable(task.profile->charsetDisplay));
  auto charset = task.profile && task.profile->charsetDisplay == Charset::AsciiIbmPc
                     ? platform::DisplayCharset::AsciiIbmPc
                     : platform::DisplayCharset::AsciiIso8859;
  int n = std::clamp(static_cast<int>(text.size()) - from, 0, D);
  std::span<std::uint8_t> attrs = overlaid(*line, from, D, attr);
  auto attrAt = [&](int i) { return attrs.empty() ? attr : attrs[static_cast<std::size_t>(i)]; };
  const platform::DisplayTable& glyphs = platform::displayTable(charset);
  for (int i = 0; i < n; ++i) {
    auto byte = static_cast<unsigned char>(text[static_cast<std::size_t>(from + i)]);
    if (table) byte = table[byte];
    grid.set(r, c0 + i, Cell{glyphs[byte], attrAt(i)});
  }
  // Past the text an overlay may still colour the row (a whole-line selection).
  for (int i = n; i < static_cast<int>(attrs.size()); ++i)
    if (attrAt(i) != attr) grid.set(r, c0 + i, Cell{U' ', attrAt(i)});
}

std::span<std::uint8_t> EditPanel::overlaid(const Line& line, int from, int n, std::uint8_t attr) {
  const std::vector<RowOverlay*>& chain = screenState(task.session).overlays;
  if (chain.empty() || !line.is(LineKind::Text) || n <= 0) return {};
  rowAttrs_.assign(static_cast<std::size_t>(n), attr);
  for (RowOverlay* o : chain) o->colour(task, line, from, rowAttrs_);
  return rowAttrs_;
}

void EditPanel::drawScroll(const ScreenObject& o, Grid& grid, const ColourScheme& scheme) {
  std::uint8_t track = scheme.attr(Element::FieldbarLine);
  int n = o.contentWidth;
  // The top line's place among the data lines that can stand at the top
  // (special lines such as hex view rows count in neither), so that the
  // thumb is at the end once the last data line is on the screen.
  long range = std::max<long>(task.textLines - textShown_, 1);
  int thumb = n <= 1 ? 0 : static_cast<int>(std::min<long>(topOrdinal_ * (n - 1) / range, n - 1));
  for (int i = 0; i < n; ++i)
    grid.set(o.row - 1 + i, o.col - 1, Cell{i == thumb ? U'\u2588' : U'\u2502', track});
}

}  // namespace kiv
