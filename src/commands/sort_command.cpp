#include "commands/sort_command.h"

#include <algorithm>
#include <cctype>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "commands/command_split.h"
#include "commands/command_task.h"
#include "commands/labels.h"
#include "commands/line_shift.h"
#include "commands/sort_keys.h"
#include "core/file_load.h"
#include "core/line.h"
#include "core/line_ops.h"
#include "core/session.h"
#include "core/task.h"
#include "core/text_columns.h"
#include "screen/edit_panel.h"
#include "screen/screen_state.h"
#include "services/format.h"
#include "services/messages.h"
#include "services/var_pool.h"

namespace kiv {

namespace {

constexpr std::string_view kUseLabels =
    "Instead of SORT X, use labels to bracket lines to sort.\n\nPut label  .A  on first line to "
    "sort.  Put label  .B  on last line to sort.\n\nExample:   SORT  ...parms...  .A  .B";

using Field = SortField;

struct Request {
  std::vector<Field> fields;
  bool ignoreCase = false;
  bool shownOnly = false;
  std::vector<std::string> labels;
};

class Parser {
 public:
  Parser(Session& s, Task& task) : s_(s), task_(task) {}
  std::optional<Request> run(std::string_view text);

 private:
  bool word(std::string_view w, bool last);
  bool direction(char d, bool last);
  bool fail(std::string_view id, std::string_view text) {
    message(s_, id, text);
    return false;
  }
  std::string pendingSpec() const;

  Session& s_;
  Task& task_;
  Request r_;
  std::optional<char> dir_;  // A or D waiting for its columns
  int start_ = 0;            // a start column waiting for its end
  bool first_ = true;
};

std::string Parser::pendingSpec() const {
  std::string out = "Sort field specification error:\n\n";
  for (const Field& f : r_.fields)
    out += format("%c %05d %05d\n", f.descending ? 'D' : 'A', f.start, f.end);
  if (dir_) out += std::string(1, *dir_);
  return out;
}

bool Parser::direction(char d, bool last) {
  if (start_ > 0 || last)
    return fail(d == 'A' ? "SORT10" : "SORT20",
                format("'%c' must preceed column start/end parameters for field.", d));
  if (dir_) return fail("SORT70", pendingSpec());
  dir_ = d;
  return true;
}

bool Parser::word(std::string_view w, bool last) {
  bool isFirst = first_;
  first_ = false;
  if (w == "IGNORECASE" && isFirst) {
    r_.ignoreCase = true;
    return true;
  }
  if (w == "A" || w == "D") return direction(w[0], last);
  if (w.find_first_not_of("0123456789") == std::string_view::npos && w.size() < 7) {
    int n = std::stoi(std::string(w));
    if (start_ == 0) {
      start_ = std::max(n, 1);
      return true;
    }
    r_.fields.push_back({dir_ == 'D', start_, n});
    dir_.reset();
    start_ = 0;
    return true;
  }
  if (dir_) return fail("SORT70", pendingSpec());
  if (w.size() > 1 && w[0] == '.') {
    if (r_.labels.size() == 2) return fail("SORT50", "Too many labels.");
    r_.labels.emplace_back(w);
    return true;
  }
  if (w == "NX") {
    r_.shownOnly = true;
    return true;
  }
  if (w == "X" || w == "EX") return fail("", kUseLabels);
  return fail("SORT60", format("'%s' is not a valid parameter", w));
}

std::optional<Request> Parser::run(std::string_view text) {
  std::string upper(text);
  for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  for (std::string_view rest = upper; !firstWord(rest).empty(); rest = afterFirstWord(rest))
    if (!word(firstWord(rest), firstWord(afterFirstWord(rest)).empty())) return std::nullopt;
  Bounds b = textBounds(task_);
  if (start_ > 0) r_.fields.push_back({dir_ == 'D', start_, b.right});
  if (r_.fields.empty()) r_.fields.push_back({false, b.left, b.right});
  return r_;
}

// The fields against the lines: each within the bounds and the longest
// line (its end cut to it), none sharing a column.
bool validate(Session& s, Task& task, std::vector<Field>& fields, int longest) {
  Bounds b = textBounds(task);
  for (Field& f : fields) {
    std::string_view id, text;
    if (f.start > longest) id = "SORT110", text = "there is no non-blank text to right of start column.";
    else if (f.end < f.start) id = "SORT120", text = "end column is left of start column.";
    else if (f.start < b.left) id = "SORT130", text = "start column is left of left bound.";
    else if (f.start > b.right) id = "SORT140", text = "start column is right of right bound.";
    else if (f.end > b.right) id = "SORT150", text = "end column is right of right bound.";
    if (!id.empty()) {
      message(s, id, text);
      return false;
    }
    f.end = std::min(f.end, longest);
  }
  for (std::size_t i = 0; i < fields.size(); ++i)
    for (std::size_t j = i + 1; j < fields.size(); ++j)
      if (fields[i].start <= fields[j].end && fields[j].start <= fields[i].end) {
        message(s, "SORT80", "fields overlap");
        return false;
      }
  return true;
}

// The lines to sort: TEXT lines of the range, only the shown ones with NX.
bool linesToSort(Session& s, Task& task, const Request& r, std::vector<Line*>& out) {
  Line* first = task.lines.first;
  Line* last = task.lines.last;
  for (std::size_t i = 0; i < r.labels.size(); ++i) {
    Line* at = lineByLabel(task, r.labels[i]);
    if (!at) {
      messagef(s, i == 0 ? "SORT30" : "SORT40", "Label '%s' not found", r.labels[i]);
      return false;
    }
    (i == 0 ? first : last) = at;
  }
  if (r.labels.size() == 2 && ordinalOf(task, last) < ordinalOf(task, first)) std::swap(first, last);
  for (Line* p = first; p; p = p == last ? nullptr : p->next)
    if (p->is(LineKind::Text) && (!r.shownOnly || p->shown())) out.push_back(p);
  return true;
}

// The most columns a line takes, counted only until one reaches `enough`;
// a line takes no more columns than bytes, so only lines longer than the
// longest so far are measured.
int longestColumns(const std::vector<Line*>& lines, const TextColumns& columns, int enough) {
  int longest = 0;
  for (const Line* line : lines) {
    if (line->length() <= longest) continue;
    longest = std::max(longest, columns.width(line->text()));
    if (longest >= enough) break;
  }
  return longest;
}

}  // namespace

void sortCommand(CommandContext& ctx) {
  Session& s = ctx.session;
  Task* task = taskFor(ctx);
  if (!task) return;
  if (task->mode == TaskMode::Browse) return message(s, "", "In BROWSE, no modify allowed");
  varSet(s, "ZSORTPARMS", ctx.params);
  std::optional<Request> r = Parser(s, *task).run(ctx.params);
  if (!r) return;
  loadAll(*task);
  std::vector<Line*> lines;
  if (!linesToSort(s, *task, *r, lines)) return;
  TextColumns columns(*task);
  int enough = 0;
  for (const Field& f : r->fields) enough = std::max({enough, f.start, f.end});
  if (!validate(s, *task, r->fields, longestColumns(lines, columns, enough))) return;
  if (lines.size() >= 2) {
    std::vector<Line*> places = lines;  // in store order
    sortByFields(lines, r->fields, r->ignoreCase, columns.utf8());
    reorderLines(*task, places, lines);
  }
  if (EditPanel* panel = currentEditPanel(s)) panel->refreshData();
  message(s, "SORT100", "Sort complete.");
}

}  // namespace kiv
