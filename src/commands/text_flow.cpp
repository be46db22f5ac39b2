#include "commands/text_flow.h"

#include <algorithm>
#include <cctype>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "commands/line_shift.h"
#include "core/file_profile.h"
#include "core/hex_view.h"
#include "core/line_numbering.h"
#include "core/line_ops.h"
#include "core/session.h"
#include "core/task.h"
#include "core/text_columns.h"
#include "core/translate_table.h"
#include "services/messages.h"
#include "services/var_pool.h"

namespace kiv {

namespace {

constexpr std::string_view kSplitCursor = "Cursor must be on SPLIT line, SPLIT ignored.";
constexpr std::string_view kSplitOutside = "SPLIT point outside BOUNDS, SPLIT ignored.";
constexpr std::string_view kSplitNoText = "No text right of SPLIT point, SPLIT ignored.";
constexpr std::string_view kSplitBound =
    "Line split not allowed when right bound is greater than MaxRecLen %d.";
constexpr std::string_view kSplitNonText = "Can't split non-text line.";
constexpr std::string_view kSplitRecfm = "Can't split RECFM=%c record.";

constexpr std::string_view kJoinOnNonText = "TJ not allowed on non-text line.";
constexpr std::string_view kJoinNonText = "Can't join non-text line.";
constexpr std::string_view kJoinRecfm = "Can't join RECFM=%c record.";
constexpr std::string_view kJoinTooLong = "TJ ignored, joined line would exceed MaxRecLen %d.";
constexpr std::string_view kJoinPastNumber =
    "TJ ignored, joined text would run into the line number field.";

constexpr std::string_view kFlowHex = "TF not allowed in hex mode.";
constexpr std::string_view kFlowNonText = "TF not allowed on non-text line.";
constexpr std::string_view kFlowNumbered = "TF not allowed in line numbered file.";
constexpr std::string_view kFlowWidthCut =
    "Requested width exceeds max allowed record length for this file type, using %d.";
constexpr std::string_view kFlowLeftOfBound = "TF ignored, end col %d is left of left BOUND %d.";
constexpr std::string_view kFlowRightOfBound = "TF ignored, end col %d is right of right BOUND %d.";
constexpr std::string_view kFlowMargin = "TF ignored, left margin matches or exceeds end col.";
constexpr std::string_view kFlowPending = "TF ended by line with pending line command.";
constexpr std::string_view kFlowSpans = "TF ended on word that spans right BOUND:  %s";
constexpr std::string_view kFlowTooWide =
    "TF ended on word that exceeds max width allowed %d:\n\n%s";

// Sentence ends in an EBCDIC file: '.', '?' and '!'.
constexpr char kEbcdicPeriod = 0x4B;
constexpr char kEbcdicQuestion = 0x6F;
constexpr char kEbcdicExclamation = 0x5A;

char recfmOf(const Task& task) {
  return task.profile && task.profile->recfm ? task.profile->recfm : kRecfmVariable;
}

bool numberedInRecords(const Task& task) {
  return task.profile && task.profile->numberType != NumberType::None &&
         task.profile->numberType != NumberType::HexOffset;
}

// The line after `line`, its hex view rows skipped.
Line* nextLine(Line* line) {
  Line* next = line->next;
  while (next && isHexViewLine(next)) next = next->next;
  return next;
}

// The first non-pad byte at or after `from` (0-based), npos when none.
std::size_t firstText(std::string_view text, char pad, int from) {
  if (from >= static_cast<int>(text.size())) return std::string_view::npos;
  return text.find_first_not_of(pad, static_cast<std::size_t>(from));
}

std::string_view trimTrailing(std::string_view text, char pad) {
  std::size_t last = text.find_last_not_of(pad);
  return last == std::string_view::npos ? std::string_view{} : text.substr(0, last + 1);
}

std::string_view trimLeading(std::string_view text, char pad) {
  std::size_t first = text.find_first_not_of(pad);
  return first == std::string_view::npos ? std::string_view{} : text.substr(first);
}

// A word as the user sees it: EBCDIC bytes in the display character set.
std::string shownWord(Task& task, std::string_view word) {
  std::string out(word);
  if (ebcdicFile(task)) {
    auto* bytes = reinterpret_cast<unsigned char*>(out.data());
    translate(task.session, displayTable(task.profile->charsetDisplay), bytes, bytes, out.size());
  }
  return out;
}

bool endsSentence(std::string_view word, bool ebcdic) {
  char c = word.back();
  if (ebcdic) return c == kEbcdicPeriod || c == kEbcdicQuestion || c == kEbcdicExclamation;
  return c == '.' || c == '?' || c == '!';
}

// The paragraph TF works on and its words.
struct Paragraph {
  std::vector<Line*> lines;
  std::vector<std::string> words;
  // The message that ended the paragraph early; empty when it ended quietly.
  std::string stop;
};

// Reads the words of one line from `from` (0-based) on; false, with the
// stop set, at a word that ends right of the right bound or is wider than
// `width`.
bool readWords(Task& task, std::string_view text, int from, Bounds b, int width, Paragraph& p,
               std::vector<std::string>& words) {
  char pad = padCharFor(task, LineKind::Text);
  TextColumns columns(task);
  std::size_t at = firstText(text, pad, static_cast<int>(columns.startOf(text, from + 1)));
  while (at != std::string_view::npos) {
    std::size_t end = text.find(pad, at);
    if (end == std::string_view::npos) end = text.size();
    std::string_view word = text.substr(at, end - at);
    if (columns.columnOf(text, end) - 1 > b.right) {
      p.stop = format(kFlowSpans, shownWord(task, word));
      return false;
    }
    if (columns.width(word) > width) {
      p.stop = format(kFlowTooWide, width, shownWord(task, word));
      return false;
    }
    words.emplace_back(word);
    at = firstText(text, pad, static_cast<int>(end));
  }
  return true;
}

// `first` and the lines that follow it while they belong to the paragraph
// (see flowText in the header).
Paragraph readParagraph(Task& task, Line* first, int margin, Bounds b, int width) {
  Paragraph p;
  char pad = padCharFor(task, LineKind::Text);
  for (Line* line = first; line; line = nextLine(line)) {
    std::string_view text = line->text();
    if (line != first) {
      if (!line->is(LineKind::Text) || !line->shown()) break;
      std::size_t inside = TextColumns(task).startOf(text, b.left);
      if (firstText(text, pad, static_cast<int>(inside)) == std::string_view::npos) break;
      std::string_view outside = text.substr(0, inside);
      if (outside.find_first_not_of(pad) != std::string_view::npos) break;
      if (line->hasPendingCommand()) {
        p.stop = kFlowPending;
        break;
      }
    }
    std::vector<std::string> words;
    if (!readWords(task, text, line == first ? margin - 1 : b.left - 1, b, width, p, words)) break;
    p.lines.push_back(line);
    p.words.insert(p.words.end(), words.begin(), words.end());
  }
  return p;
}

}  // namespace

std::vector<std::string> packWords(Task& task, const std::vector<std::string>& words, int width,
                                   int maxBytes) {
  char pad = padCharFor(task, LineKind::Text);
  TextColumns columns(task);
  auto fits = [&](const std::string& row, std::size_t gap, const std::string& word) {
    if (maxBytes > 0 && row.size() + gap + word.size() > static_cast<std::size_t>(maxBytes))
      return false;
    if (!columns.utf8()) return row.size() + gap + word.size() <= static_cast<std::size_t>(width);
    return columns.width(row) + static_cast<int>(gap) + columns.width(word) <= width;
  };
  std::string check = varGet(task.session, "ZEDIT.CHECKFULLSTOP");
  std::transform(check.begin(), check.end(), check.begin(),
                 [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
  bool fullStop = check == "TRUE";
  bool ebcdic = ebcdicFile(task);
  std::vector<std::string> out;
  std::string row;
  std::size_t gap = 1;
  for (const std::string& word : words) {
    if (row.empty()) {
      row = word;
    } else if (fits(row, gap, word)) {
      row.append(gap, pad);
      row += word;
    } else {
      out.push_back(std::move(row));
      row = word;
    }
    gap = fullStop && endsSentence(word, ebcdic) ? 2 : 1;
  }
  if (!row.empty()) out.push_back(std::move(row));
  return out;
}

namespace {

// Writes the packed rows into the paragraph's lines, inserting and deleting
// lines as their number differs.
void writeRows(Task& task, const Paragraph& p, const std::vector<std::string>& rows, int margin,
               Bounds b) {
  char pad = padCharFor(task, LineKind::Text);
  bool fixed = recfmOf(task) == kRecfmFixed;
  TextColumns columns(task);
  Line* placed = nullptr;
  for (std::size_t i = 0; i < rows.size(); ++i) {
    Line* line = i < p.lines.size() ? p.lines[i] : nullptr;
    std::string text;
    if (line) text = line->text().substr(0, columns.startOf(line->text(), b.left));
    text.append(static_cast<std::size_t>(std::max(0, margin - 1 - columns.width(text))), pad);
    text += rows[i];
    if (fixed) {
      int length = line ? line->length() : maxRecLenOf(task);
      if (static_cast<int>(text.size()) < length)
        text.resize(static_cast<std::size_t>(length), pad);
    }
    if (line) {
      if (text != line->text()) setLineText(task, line, text);
      placed = line;
      continue;
    }
    Line* fresh = createLine(task, text, LineKind::Text);
    if (!fresh) return;
    linkBelow(task, placed, fresh);
    placed = fresh;
  }
  for (std::size_t i = rows.size(); i < p.lines.size(); ++i) deleteLine(task, p.lines[i], true);
}

// Where the number field of a numbered line begins when it lies right of
// the bounds `b`; the text's length otherwise.
std::size_t numberKeptAt(const Task& task, std::string_view text, Bounds b) {
  std::optional<NumberField> f = task.profile ? numberFieldOf(*task.profile) : std::nullopt;
  auto first = f ? static_cast<std::size_t>(f->first) : text.size();
  if (!f || f->first < b.right || text.size() < static_cast<std::size_t>(f->end)) return text.size();
  return first;
}

}  // namespace

int splitLine(Task& task, Line* line, int column) {
  Session& s = task.session;
  if (column < 1) {
    message(s, "TASKLINE30", kSplitCursor);
    return -1;
  }
  if (!line || !line->is(LineKind::Text)) {
    message(s, "TASKLINE50", kSplitNonText);
    return -1;
  }
  if (recfmOf(task) == kRecfmFixed) {
    messagef(s, "TASKLINE55", kSplitRecfm, recfmOf(task));
    return -1;
  }
  int maxRecLen = maxRecLenOf(task);
  if (task.profile && task.profile->boundRight > maxRecLen) {
    messagef(s, "TASKLINE45", kSplitBound, maxRecLen);
    return -1;
  }
  Bounds b = textBounds(task);
  // A number field that characters before it pulled into the bounds is not data.
  b.right = rightBeforeFence(line->text(), numberFence(task, b.right), b.right);
  if (column < b.left || column > b.right) {
    message(s, "TASKLINE25", kSplitOutside);
    return -1;
  }
  char pad = padCharFor(task, LineKind::Text);
  std::string_view text = line->text();
  TextColumns columns(task);
  auto at = static_cast<int>(columns.startOf(text, column));
  if (firstText(text, pad, at) == std::string_view::npos) {
    message(s, "TASKLINE35", kSplitNoText);
    return -1;
  }
  std::size_t indent = firstText(text, pad, static_cast<int>(columns.startOf(text, b.left)));
  std::string moved(static_cast<std::size_t>(columns.columnOf(text, indent) - 1), pad);
  // A line number right of the bounds stays in its bytes on this line.
  std::size_t keep = numberKeptAt(task, text, b);
  auto from = static_cast<std::size_t>(at);
  moved += trimLeading(trimTrailing(text.substr(from, std::max(keep, from) - from), pad), pad);
  if (moved.find_first_not_of(pad) == std::string::npos) {
    message(s, "TASKLINE35", kSplitNoText);
    return -1;
  }
  Line* fresh = createLine(task, moved, LineKind::Text);
  if (!fresh) return -1;
  std::string stays(text.substr(0, from));
  if (keep < text.size()) stays.append(keep - from, pad).append(text.substr(keep));
  setLineText(task, line, stays);
  trimTrailingBlanks(task, line);
  linkBelow(task, line, fresh);
  return 0;
}

int joinLines(Task& task, Line* line) {
  Session& s = task.session;
  if (!line || !line->is(LineKind::Text)) {
    message(s, "", kJoinOnNonText);
    return -1;
  }
  if (recfmOf(task) == kRecfmFixed) {
    messagef(s, "TASKLINE20", kJoinRecfm, recfmOf(task));
    return -1;
  }
  Line* next = nextLine(line);
  if (!next || !next->is(LineKind::Text)) {
    message(s, "TASKLINE15", kJoinNonText);
    return -1;
  }
  char pad = padCharFor(task, LineKind::Text);
  // In a numbered file the texts before the numbers join; the line keeps
  // its own number in its bytes, the next line's goes with it.
  Bounds b = textBounds(task);
  std::string_view first = line->text(), second = next->text();
  std::size_t keep = numberKeptAt(task, first, b);
  std::string joined(trimTrailing(first.substr(0, keep), pad));
  std::size_t keepNext = numberKeptAt(task, second, b);
  std::string_view tail = keepNext < second.size()
                              ? trimLeading(trimTrailing(second.substr(0, keepNext), pad), pad)
                              : trimLeading(second, pad);  // no number: the whole line joins
  if (!joined.empty() && !tail.empty()) joined += pad;
  joined += tail;
  if (keep < first.size()) {
    if (joined.size() > keep) return message(s, "", kJoinPastNumber), -1;
    joined.append(keep - joined.size(), pad).append(first.substr(keep));
  }
  if (static_cast<int>(joined.size()) > maxRecLenOf(task)) {
    messagef(s, "", kJoinTooLong, maxRecLenOf(task));
    return -1;
  }
  if (setLineText(task, line, joined) != 0) return -1;
  deleteLine(task, next, true);
  return 0;
}

int flowText(Task& task, Line* first, int endColumn) {
  Session& s = task.session;
  if (task.profile && task.profile->hexView) {
    message(s, "LCMDDISP70", kFlowHex);
    return -1;
  }
  if (!first || !first->is(LineKind::Text)) {
    message(s, "LCMDDISP75", kFlowNonText);
    return -1;
  }
  if (numberedInRecords(task)) {
    message(s, "LCMDDISP80", kFlowNumbered);
    return -1;
  }
  Bounds b = textBounds(task);
  int maxRecLen = maxRecLenOf(task);
  int end = endColumn > 0 ? endColumn : b.right;
  bool noted = false;
  if (end > maxRecLen) {
    messagef(s, "", kFlowWidthCut, maxRecLen);
    end = maxRecLen;
    noted = true;
  }
  if (end < b.left) {
    messagef(s, "", kFlowLeftOfBound, end, b.left);
    return -1;
  }
  if (end > b.right) {
    messagef(s, "", kFlowRightOfBound, end, b.right);
    return -1;
  }
  TextColumns columns(task);
  std::string_view text = first->text();
  std::size_t at = firstText(text, padCharFor(task, LineKind::Text),
                             static_cast<int>(columns.startOf(text, b.left)));
  if (at == std::string_view::npos) return noted ? -1 : 0;  // a blank line: nothing to flow
  int margin = columns.columnOf(text, at);
  if (margin >= end) {
    message(s, "", kFlowMargin);
    return -1;
  }
  Paragraph p = readParagraph(task, first, margin, b, end - margin + 1);
  if (!p.lines.empty()) {
    for (Line* line : p.lines) trimTrailingBlanks(task, line);
    writeRows(task, p, packWords(task, p.words, end - margin + 1, maxRecLen - (margin - 1)), margin,
              b);
  }
  if (!p.stop.empty()) message(s, "", p.stop);
  return noted || !p.stop.empty() ? -1 : 0;
}

}  // namespace kiv
