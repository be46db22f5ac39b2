#include "commands/line_shift.h"

#include <algorithm>
#include <charconv>
#include <string>
#include <string_view>
#include <vector>

#include "commands/column_cells.h"
#include "core/file_profile.h"
#include "core/line_numbering.h"
#include "core/line_ops.h"
#include "core/session.h"
#include "core/task.h"
#include "core/text_columns.h"
#include "core/utf8_case.h"
#include "services/messages.h"
#include "services/var_pool.h"

namespace kiv {

namespace {

constexpr int kFallbackShift = 2;

bool fixedRecords(const Task& task) {
  return task.profile && task.profile->recfm == kRecfmFixed;
}

// Drops up to `n` pad bytes from the runs of `seg`, leftmost first, so that
// the text right of them moves left: a run at the left edge may go entirely
// unless a word stands right before the region (`wordAtEdge`), a run between
// words keeps one pad, and the run after the last word moves nothing and
// stays. The dropped pads come back at the right end.
std::string squeezeLeft(std::string_view seg, char pad, int n, bool wordAtEdge) {
  std::size_t last = seg.find_last_not_of(pad);
  if (last == std::string_view::npos) return std::string(seg);
  std::string out;
  out.reserve(seg.size());
  int removed = 0;
  std::size_t i = 0;
  while (i < seg.size()) {
    if (seg[i] != pad) {
      out += seg[i++];
      continue;
    }
    std::size_t j = seg.find_first_not_of(pad, i);
    if (j == std::string_view::npos) j = seg.size();
    int run = static_cast<int>(j - i);
    int keep = i > last ? run : (i == 0 && !wordAtEdge ? 0 : 1);
    int take = std::clamp(run - keep, 0, n - removed);
    removed += take;
    out.append(static_cast<std::size_t>(run - take), pad);
    i = j;
  }
  out.append(static_cast<std::size_t>(removed), pad);
  return out;
}

std::string squeezeRight(std::string_view seg, char pad, int n, bool wordAtEdge) {
  std::string reversed(seg.rbegin(), seg.rend());
  std::string out = squeezeLeft(reversed, pad, n, wordAtEdge);
  std::reverse(out.begin(), out.end());
  return out;
}

std::string shiftSegment(std::string_view seg, char pad, ShiftKind kind, int n, bool wordBefore,
                         bool wordAfter) {
  std::size_t k = std::min(static_cast<std::size_t>(n), seg.size());
  switch (kind) {
    case ShiftKind::ColumnsLeft:
      return std::string(seg.substr(k)) + std::string(k, pad);
    case ShiftKind::ColumnsRight:
      return std::string(k, pad) + std::string(seg.substr(0, seg.size() - k));
    case ShiftKind::DataLeft:
      return squeezeLeft(seg, pad, n, wordBefore);
    case ShiftKind::DataRight:
      return squeezeRight(seg, pad, n, wordAfter);
  }
  return std::string(seg);
}

// shiftSegment on a UTF-8 line's cells: whole characters move, and a wide
// one that a column shift pushes half past a bound is lost.
std::vector<Cell> shiftCells(std::vector<Cell> seg, char pad, ShiftKind kind, int n,
                             bool wordBefore, bool wordAfter) {
  auto k = static_cast<std::ptrdiff_t>(std::min(static_cast<std::size_t>(n), seg.size()));
  if (kind == ShiftKind::ColumnsLeft) {
    seg.erase(seg.begin(), seg.begin() + k);
    seg.insert(seg.end(), static_cast<std::size_t>(k), padCell(pad));
  } else if (kind == ShiftKind::ColumnsRight) {
    seg.erase(seg.end() - k, seg.end());
    seg.insert(seg.begin(), static_cast<std::size_t>(k), padCell(pad));
  } else {
    // A data shift moves only pads: squeeze a stand-in of the cells (the pad
    // or another byte each) and put the other cells back in their order.
    std::string shadow;
    for (const Cell& c : seg) shadow += isPad(c, pad) ? pad : static_cast<char>(pad ^ 1);
    std::string moved = shiftSegment(shadow, pad, kind, n, wordBefore, wordAfter);
    std::vector<Cell> out;
    auto next = seg.begin();
    for (char c : moved) {
      if (c == pad) {
        out.push_back(padCell(pad));
        continue;
      }
      while (isPad(*next, pad)) ++next;
      out.push_back(*next++);
    }
    return out;
  }
  repairCells(seg, pad);
  return seg;
}

// shiftLine for a UTF-8 line that is not plain ASCII: the bounds and the
// count are columns. A wide character across a bound stays where it is.
// The result has `text`; false when nothing is to shift.
bool shiftCharacters(std::string_view line, Bounds b, char pad, ShiftKind kind, int n, bool grows,
                     std::string& text) {
  std::vector<Cell> cells = toCells(line);
  int end = grows ? b.right : std::min(b.right, static_cast<int>(cells.size()));
  int begin = b.left - 1;
  if (begin >= end) return false;
  if (static_cast<int>(cells.size()) < end)
    cells.resize(static_cast<std::size_t>(end), padCell(pad));
  auto at = [&](int i) -> Cell& { return cells[static_cast<std::size_t>(i)]; };
  if (at(begin).second()) ++begin;
  if (begin < end && at(end - 1).cells == 2) --end;
  if (begin >= end) return false;
  bool wordBefore = begin > 0 && !isPad(at(begin - 1), pad);
  bool wordAfter = end < static_cast<int>(cells.size()) && !isPad(at(end), pad);
  std::vector<Cell> seg(cells.begin() + begin, cells.begin() + end);
  seg = shiftCells(std::move(seg), pad, kind, n, wordBefore, wordAfter);
  std::copy(seg.begin(), seg.end(), cells.begin() + begin);
  text = cellsText(cells);
  return true;
}

// EBCDIC letters: a-i 81-89, j-r 91-99, s-z A2-A9; upper case 40 higher.
bool isEbcdicLower(unsigned char c) {
  return (c >= 0x81 && c <= 0x89) || (c >= 0x91 && c <= 0x99) || (c >= 0xA2 && c <= 0xA9);
}

char convertLetter(char ch, bool upper, bool ebcdic) {
  auto c = static_cast<unsigned char>(ch);
  if (ebcdic) {
    if (upper && isEbcdicLower(c)) return static_cast<char>(c + 0x40);
    if (!upper && c >= 0xC1 && isEbcdicLower(static_cast<unsigned char>(c - 0x40)))
      return static_cast<char>(c - 0x40);
    return ch;
  }
  if (upper && c >= 'a' && c <= 'z') return static_cast<char>(c - 'a' + 'A');
  if (!upper && c >= 'A' && c <= 'Z') return static_cast<char>(c - 'A' + 'a');
  return ch;
}

// Puts the shifted text into the line: the pads added past the old end are
// kept only up to the last byte of text, and a line of UTF-8 characters
// that would no longer fit MaxRecLen in bytes is left as it was.
bool keepShifted(Task& task, Line* line, std::string& text, char pad) {
  std::size_t length = static_cast<std::size_t>(line->length());
  std::size_t keep = text.find_last_not_of(pad);
  keep = keep == std::string::npos ? 0 : keep + 1;
  text.resize(std::max(length, keep), pad);
  std::string aligned;  // a number field stays in its bytes
  TailPlace number = numberFieldPlace(task, *line, text, aligned);
  if (number == TailPlace::Moved) text = std::move(aligned);
  if (text == line->text()) return false;
  if (number == TailPlace::Stuck) {
    message(task.session, "",
            "Shift would move the line number field on a line, that line is left as it was.");
    setLineFlag(task, line, LineFlag::Error, true);
    return false;
  }
  if (text.size() > length && static_cast<int>(text.size()) > maxRecLenOf(task)) {
    message(task.session, "",
            "Shift would push text past MaxRecLen on a line, that line is left as it was.");
    setLineFlag(task, line, LineFlag::Error, true);
    return false;
  }
  return setLineText(task, line, text) == 0;
}

}  // namespace

Bounds textBounds(const Task& task) {
  Bounds b = task.profile && task.profile->boundLeft > 0
                 ? Bounds{task.profile->boundLeft, task.profile->boundRight}
                 : defaultBounds(task);
  b.right = std::min(b.right, maxRecLenOf(task));
  return b;
}

int defaultShiftAmount(Session& s) {
  std::string value = varGet(s, "ZEDIT.COLSHIFTAMOUNT");
  std::string_view text(value);
  std::size_t from = text.find_first_not_of(' ');
  std::size_t to = text.find_last_not_of(' ');
  if (from == std::string_view::npos) return kFallbackShift;
  text = text.substr(from, to - from + 1);
  int n = 0;
  auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), n);
  if (ec == std::errc::result_out_of_range && end == text.data() + text.size() && text[0] != '-')
    return kMaxLineLength;
  if (ec != std::errc() || end != text.data() + text.size() || n < 1) return kFallbackShift;
  return n;
}

bool shiftLine(Task& task, Line* line, ShiftKind kind, int n) {
  if (!line || !line->is(LineKind::Text) || n < 1) return false;
  n = std::min(n, kMaxLineLength);
  Bounds b = textBounds(task);
  b.right = rightBeforeFence(line->text(), numberFence(task, b.right), b.right);
  char pad = padCharFor(task, LineKind::Text);
  int length = line->length();
  // A shift to the right may grow a variable record up to the right bound;
  // everything else works on the text the line has.
  bool grows =
      !fixedRecords(task) && (kind == ShiftKind::ColumnsRight || kind == ShiftKind::DataRight);
  int end = grows ? b.right : std::min(b.right, length);
  int begin = b.left - 1;
  std::string text;
  if (utf8Task(task) && asciiPrefix(line->text()) < line->text().size()) {
    if (!shiftCharacters(line->text(), b, pad, kind, n, grows, text)) return false;
    return keepShifted(task, line, text, pad);
  }
  if (begin >= end) return false;
  text = line->text();
  if (static_cast<int>(text.size()) < end) text.resize(static_cast<std::size_t>(end), pad);
  bool wordBefore = begin > 0 && text[static_cast<std::size_t>(begin - 1)] != pad;
  bool wordAfter =
      end < static_cast<int>(text.size()) && text[static_cast<std::size_t>(end)] != pad;
  std::string_view seg = std::string_view(text).substr(static_cast<std::size_t>(begin),
                                                       static_cast<std::size_t>(end - begin));
  std::string shifted = shiftSegment(seg, pad, kind, n, wordBefore, wordAfter);
  text.replace(static_cast<std::size_t>(begin), shifted.size(), shifted);
  return keepShifted(task, line, text, pad);
}

void shiftLines(Task& task, Line* first, Line* last, ShiftKind kind, int n) {
  for (Line* line = first; line; line = line->next) {
    shiftLine(task, line, kind, n);
    if (line == last) break;
  }
}

namespace {

// A UTF-8 line's characters in `r` in the other case, beyond ASCII too; a
// letter whose other case takes another number of bytes changes only where
// the record may change length (not FIXED, within MaxRecLen).
std::string convertedUtf8(const Task& task, const std::string& text, ByteRange r, bool upper) {
  std::string_view part = std::string_view(text).substr(r.first, r.end - r.first);
  // A FIXED record, and a line with number columns, keep their length.
  bool fixed = task.profile && (task.profile->recfm == kRecfmFixed || numberFieldOf(*task.profile));
  std::string out = text.substr(0, r.first) + utf8Case(part, upper, fixed) + text.substr(r.end);
  if (static_cast<int>(out.size()) <= maxRecLenOf(task)) return out;
  return text.substr(0, r.first) + utf8Case(part, upper, true) + text.substr(r.end);
}

}  // namespace

void convertCase(Task& task, Line* first, Line* last, bool upper) {
  Bounds b = textBounds(task);
  bool ebcdic = ebcdicFile(task);
  TextColumns columns(task);
  std::size_t fence = numberFence(task, b.right);
  for (Line* line = first; line; line = line->next) {
    if (line->is(LineKind::Text)) {
      std::string text(line->text());
      if (columns.utf8()) {  // the characters that begin in the bounds' columns
        int right = rightBeforeFence(text, fence, b.right);
        text = convertedUtf8(task, text, columns.bytesOf(text, b.left, right), upper);
      } else {
        auto end = static_cast<std::size_t>(std::min(b.right, line->length()));
        for (auto at = static_cast<std::size_t>(b.left - 1); at < end; ++at)
          text[at] = convertLetter(text[at], upper, ebcdic);
      }
      if (text != line->text()) setLineText(task, line, text);
    }
    if (line == last) break;
  }
}

}  // namespace kiv
