#include "commands/exclude_command.h"

#include <string>
#include <unordered_set>
#include <vector>

#include "commands/command_task.h"
#include "commands/find_command.h"
#include "commands/line_range_ops.h"
#include "core/hex_view.h"
#include "core/line.h"
#include "core/session.h"
#include "core/task.h"
#include "services/messages.h"

namespace kiv {

namespace {

// Hides `lines` (in file order), one excludeRange for each stretch of them
// that nothing shown separates, so that the work stays linear.
void hideLines(Task& task, const std::vector<Line*>& lines) {
  std::size_t i = 0;
  while (i < lines.size()) {
    Line* from = lines[i];
    Line* to = from;
    for (++i; i < lines.size(); ++i) {
      Line* p = to->next;
      while (p && p != lines[i] && (isHexViewLine(p) || !p->shown())) p = p->next;
      if (p != lines[i]) break;
      to = p;
    }
    excludeRange(task, from, to);
  }
}

// Lines whose text (within the columns) an earlier line in scope has.
std::vector<Line*> duplicateLines(const SearchRun& run) {
  std::unordered_set<std::string> seen;
  std::vector<Line*> out;
  for (Line* p = run.from(run.first); p; p = run.after(p)) {
    std::string_view text = p->text();
    ByteRange r = run.matcher.span(text);
    std::size_t from = std::min(text.size(), r.first);
    std::string key(text.substr(from, std::max(r.end, from) - from));
    if (!seen.insert(std::move(key)).second && p->shown()) out.push_back(p);
  }
  return out;
}

std::vector<Line*> matchingLines(const SearchRun& run) {
  std::vector<Line*> out;
  for (Line* p = run.from(run.first); p; p = run.after(p))
    if (p->shown() && run.matcher.first(p->text())) out.push_back(p);
  return out;
}

}  // namespace

void excludeCommand(CommandContext& ctx) {
  Task* task = taskFor(ctx);
  if (!task) return;
  SearchRun run(*task);
  if (!run.prepare(ctx.params, SearchVerb::Exclude)) return;
  if (run.params.position == Position::DupLines) {
    std::vector<Line*> dups = duplicateLines(run);
    hideLines(*task, dups);
    return messagef(ctx.session, "FIND197", "%d duplicate lines found", static_cast<long>(dups.size()));
  }
  std::vector<Line*> lines;
  if (run.params.dir == SearchDir::All) {
    lines = matchingLines(run);
  } else {
    // The next line that is still shown.
    if (run.params.filter == ExcludedFilter::Any) run.params.filter = ExcludedFilter::Shown;
    if (std::optional<Found> hit = findFromCursor(run, run.params.dir)) lines.push_back(hit->line);
  }
  if (lines.empty()) {
    if (!run.params.quiet) message(ctx.session, "FIND50", run.notFound());
    return;
  }
  hideLines(*task, lines);
  if (!run.params.quiet) messagef(ctx.session, "FIND10", "Excluded %d lines", static_cast<long>(lines.size()));
}

}  // namespace kiv
