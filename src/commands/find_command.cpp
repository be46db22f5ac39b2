#include "commands/find_command.h"

#include <algorithm>
#include <climits>
#include <memory>
#include <utility>
#include <string>
#include <vector>

#include "commands/command_task.h"
#include "commands/line_range_ops.h"
#include "core/line.h"
#include "core/line_ops.h"
#include "core/session.h"
#include "core/task.h"
#include "core/text_columns.h"
#include "services/messages.h"
#include "services/var_pool.h"

namespace kiv {

namespace {

bool backward(SearchDir dir) {
  return dir == SearchDir::Prev || dir == SearchDir::Last;
}

// The line a search from the cursor starts on, within the range; null when
// the cursor is past it in the search's direction.
Line* clampToRange(SearchRun& run, Line* line, bool back, int& column) {
  Task& task = run.task;
  long at = ordinalOf(task, line), lo = ordinalOf(task, run.first), hi = ordinalOf(task, run.last);
  if (at < lo) {
    column = 0;
    return back ? nullptr : run.first;
  }
  if (at > hi) {
    column = INT_MAX;
    return back ? run.last : nullptr;
  }
  return line;
}

// The matches of a FIND ALL, found again on each line of its range as it
// is painted.
class AllMatches : public FoundMarks {
 public:
  explicit AllMatches(SearchRun& run)
      : matcher_(std::move(run.matcher)),
        lo_(ordinalOf(run.task, run.first)),
        hi_(ordinalOf(run.task, run.last)) {}
  void marks(Task& task, const Line& line, std::vector<std::pair<int, int>>& out) const override {
    if (!line.is(LineKind::Text)) return;
    long at = ordinalOf(task, &line);
    if (at < lo_ || at > hi_) return;
    std::string_view text = line.text();
    for (auto m = matcher_.first(text); m && m->length > 0; m = matcher_.first(text, m->at + m->length))
      out.emplace_back(m->at, m->length);
  }

 private:
  Matcher matcher_;
  long lo_;
  long hi_;
};

// FINDHK: whether a new FIND or CHANGE keeps the highlights of earlier ones.
struct KeepHighlights : Feature {
  explicit KeepHighlights(Session&) {}
  bool keep = false;
};

// FIND ALL: every match counted, the hidden lines holding one shown, the
// cursor on the first.
void findAll(SearchRun& run) {
  long occurrences = 0, lines = 0;
  std::optional<Found> firstHit;
  std::vector<Line*> hidden;
  for (Line* p = run.from(run.first); p; p = run.after(p)) {
    long n = 0;
    for (auto m = run.matcher.first(p->text()); m; m = run.matcher.first(p->text(), m->at + std::max(m->length, 1))) {
      if (!firstHit) firstHit = Found{p, *m};
      ++n;
      if (run.params.emptyLine) break;
    }
    if (n == 0) continue;
    occurrences += n;
    ++lines;
    if (!p->shown()) hidden.push_back(p);
  }
  Task& task = run.task;
  publishCounts(task, occurrences, lines);
  if (!firstHit) {
    if (!run.params.quiet) message(task.session, "FIND50", run.notFound());
    return;
  }
  showHiddenLines(task, hidden);
  showMatch(task, firstHit->line, firstHit->match.at, firstHit->match.length);
  task.search.marked.push_back(std::make_shared<AllMatches>(run));
  if (!run.params.quiet)
    messagef(task.session, "FIND35", "Found %d occurrences in %d lines.", occurrences, lines);
}

}  // namespace

void startSearch(Task& task, const SearchParams& params) {
  rememberSearch(task, params);
  if (task.session.feature<KeepHighlights>().keep) return;
  task.search.marked.clear();
  task.search.highlight = false;
}

void findHighlightsCommand(CommandContext& ctx) {
  std::string word = ctx.paramsUpper.substr(0, ctx.paramsUpper.find_last_not_of(' ') + 1);
  word.erase(0, word.find_first_not_of(' ') == std::string::npos ? word.size() : word.find_first_not_of(' '));
  if (word != "ON" && word != "OFF") return message(ctx.session, "", "FINDHK requires one parameter:  ON or OFF");
  ctx.session.feature<KeepHighlights>().keep = word == "ON";
  if (word == "ON")
    return message(ctx.session, "FINDHK05", "FIND/CHANGE highlights will be kept across multiple FIND/CHANGE commands.");
  message(ctx.session, "FINDHK10",
          "FIND/CHANGE highlights will be reset on each new FIND/CHANGE command.\n\nRFIND / RCHANGE commands do not reset.");
}

std::optional<Found> findForward(const SearchRun& run, Line* line, int column) {
  for (Line* p = line ? run.from(line) : nullptr; p; p = run.after(p))
    if (auto m = run.matcher.first(p->text(), p == line ? column : 0)) return Found{p, *m};
  return std::nullopt;
}

std::optional<Found> findBackward(const SearchRun& run, Line* line, int column) {
  for (Line* p = line ? run.backFrom(line) : nullptr; p; p = run.before(p))
    if (auto m = run.matcher.last(p->text(), p == line ? column : INT_MAX)) return Found{p, *m};
  return std::nullopt;
}

std::optional<Found> findFromCursor(SearchRun& run, SearchDir dir) {
  if (dir == SearchDir::First) return findForward(run, run.first, 0);
  if (dir == SearchDir::Last) return findBackward(run, run.last, INT_MAX);
  bool back = backward(dir);
  // Off the data rows the search goes on from the last match, else from the
  // top of the screen. The cursor's column becomes a byte of its line.
  const SearchState& last = run.task.search;
  CursorSpot spot = cursorSpot(run.task);
  Line* line = spot.line ? spot.line : last.match.first ? last.match.first : run.task.topLine;
  if (!line) return std::nullopt;
  int column = spot.line ? static_cast<int>(TextColumns(run.task).byteOf(line->text(), spot.column + 1))
               : line == last.match.first ? last.column : 0;
  // On the last match a search goes on past it (past a change's new text).
  if (!back && line == last.match.first && column == last.column)
    column = last.lastWasChange ? column + last.length : run.matcher.next(line->text(), column);
  line = clampToRange(run, line, back, column);
  return back ? findBackward(run, line, column) : findForward(run, line, column);
}

void findCommand(CommandContext& ctx) {
  Task* task = taskFor(ctx);
  if (!task) return;
  SearchRun run(*task);
  if (!run.prepare(ctx.params, SearchVerb::Find)) return;
  startSearch(*task, run.params);
  if (run.params.dir == SearchDir::All) return findAll(run);
  std::optional<Found> hit = findFromCursor(run, run.params.dir);
  publishCounts(*task, hit ? 1 : 0, hit ? 1 : 0);
  if (!hit) {
    if (!run.params.quiet) message(ctx.session, "FIND50", run.notFound());
    return;
  }
  showMatch(*task, hit->line, hit->match.at, hit->match.length);
}

// RFIND: the last FIND's search again (or the last CHANGE's, when that came
// last) from the cursor; after one that found nothing, from the other end.
void rfindCommand(CommandContext& ctx) {
  Task* task = taskFor(ctx);
  if (!task) return;
  if (ctx.params.find_first_not_of(' ') != std::string_view::npos)
    return message(ctx.session, "", "RFIND: invalid parameters.");
  bool change = task->search.lastWasChange;
  const std::string& text = change ? task->settings.lastChangeParms : task->settings.lastFindParms;
  if (text.empty()) return message(ctx.session, "FIND30", "No previous FIND.");
  SearchRun run(*task);
  if (!run.prepare(text, change ? SearchVerb::Change : SearchVerb::Find)) return;
  bool back = backward(run.params.dir);
  std::optional<Found> hit;
  if (task->search.wrapped)
    hit = back ? findBackward(run, run.last, INT_MAX) : findForward(run, run.first, 0);
  else
    hit = findFromCursor(run, back ? SearchDir::Prev : SearchDir::Next);
  task->search.wrapped = !hit;
  if (!hit)
    return messagef(ctx.session, "FIND40", "%s%s not found.", back ? "RFIND at top, " : "RFIND at bottom, ",
                    run.shownString());
  showMatch(*task, hit->line, hit->match.at, hit->match.length);
}

}  // namespace kiv
