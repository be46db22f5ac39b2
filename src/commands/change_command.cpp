#include "commands/change_command.h"

#include <algorithm>
#include <cctype>
#include <climits>
#include <optional>
#include <string>
#include <vector>

#include "commands/command_task.h"
#include "commands/find_command.h"
#include "commands/line_range_ops.h"
#include "commands/line_shift.h"
#include "commands/search_picture.h"
#include "core/file_profile.h"
#include "core/line_numbering.h"
#include "core/line.h"
#include "core/line_ops.h"
#include "core/session.h"
#include "core/task.h"
#include "core/text_columns.h"
#include "services/messages.h"

namespace kiv {

namespace {

constexpr std::string_view kOverMaxRecLen =
    "Change would overflow max record length\n\nSee OPTIONS, item PROFILES, dbl-click on your file "
    "type, press F1 for HELP, review field 'MaxRecLen'.";
constexpr std::string_view kOverBound =
    "Change would overflow right bound\n\nSee HELP, item QUICK REF, item EDITPRMARY COMMANDS, review "
    "command BOUNDS.";
constexpr std::string_view kPastBound =
    "BOUNDS error, change would cause non-blank to move past right bound.\n\n%s";
constexpr std::string_view kShiftsRight = "BOUNDS error, change would cause data right of bounds to be shifted.";

// One change on one line's text; empty `why` when it could be made.
struct Edit {
  std::string text;
  std::string why;
  std::string_view id;
};

class Changer {
 public:
  explicit Changer(SearchRun& run) : run_(run), task_(run.task) {
    right_ = textBounds(task_).right;
    maxRecLen_ = maxRecLenOf(task_);
    pad_ = padCharFor(task_, LineKind::Text);
    const SearchString& s2 = run.params.str2;
    with_ = s2.kind == StringKind::Hex ? s2.bytes : run.matcher.fileBytes(s2.bytes);
    picture_ = s2.kind == StringKind::Picture;
    fixed_ = task_.profile && task_.profile->recfm == kRecfmFixed;
    // Columns per the display; on other lines than UTF-8 ones the bytes are columns.
    byteLimit_ = columns_.utf8() ? maxRecLen_ : std::min(right_, maxRecLen_);
    if (task_.profile) numbers_ = numberFieldOf(*task_.profile);
    utf8Numbers_ = numbers_ && columns_.utf8();
    if (run.params.startCol == 0) fence_ = numberFence(task_, right_);
  }
  // The text with the match replaced; the match's new length in `length`.
  Edit apply(std::string_view text, const SearchMatch& m, int& length) const;
  // Changes every match on `line` (the count), or none after a refusal.
  long changeAll(Line* line);
  std::optional<std::string> inOnePass(std::string_view text, long& n) const;
  // Changes one match; its new length, or -1 after a refusal.
  int changeOne(Line* line, const SearchMatch& m);
  long refused = 0;  // lines left unchanged by a refusal

 private:
  std::string replacement(std::string_view text, const SearchMatch& m) const;
  int width(std::string_view text) const { return columns_.width(text); }
  // The byte where 0-based column `column` of `text` begins (its end past it).
  std::size_t byteAt(std::string_view text, int column) const {
    return std::min(text.size(), columns_.byteOf(text, column + 1));
  }
  Edit keepColumnsBeyond(std::string_view text, const SearchMatch& m, const std::string& with,
                         int right) const;
  bool keepNumberBytes(std::string_view was, const SearchMatch& m, std::string& out) const;

  SearchRun& run_;
  Task& task_;
  int right_ = 0;
  int maxRecLen_ = 0;
  char pad_ = ' ';
  std::string with_;
  bool picture_ = false;
  bool fixed_ = false;
  TextColumns columns_{task_};
  int byteLimit_ = 0;  // the bytes a line changed in one pass may reach
  std::optional<NumberField> numbers_;  // the number columns of a numbered file
  bool utf8Numbers_ = false;            // numbered, and columns are not bytes
  std::size_t fence_ = std::string_view::npos;  // where a number right of the bounds begins
  // Writes a changed line: a FIXED record keeps its length.
  void write(Line* line, std::string text);
  void refuse(Line* line, const Edit& e);
};

// A picture STRING2 works in place: # and = keep the character, < and >
// change its case, anything else replaces it.
std::string Changer::replacement(std::string_view text, const SearchMatch& m) const {
  if (!picture_) return run_.matcher.expand(text, m, with_);
  std::string out(text.substr(static_cast<std::size_t>(m.at), static_cast<std::size_t>(m.length)));
  const std::string& typed = run_.params.str2.bytes;
  if (run_.matcher.utf8()) return utf8PictureChange(out, typed);
  for (std::size_t i = 0; i < out.size() && i < typed.size(); ++i) {
    char c = typed[i];
    auto shown = run_.matcher.shownByte(static_cast<unsigned char>(out[i]));
    if (c == '<') out[i] = run_.matcher.fileBytes(std::string(1, static_cast<char>(std::tolower(shown))))[0];
    else if (c == '>') out[i] = run_.matcher.fileBytes(std::string(1, static_cast<char>(std::toupper(shown))))[0];
    else if (c != '#' && c != '=') out[i] = with_[i];
  }
  return out;
}

// Bounds are columns; MaxRecLen is bytes. In a line of a byte a column the
// two meet, and this is the rule as it always was.
Edit Changer::apply(std::string_view text, const SearchMatch& m, int& length) const {
  if (numbers_ && m.at < numbers_->end && m.at + m.length > numbers_->first)
    return {{}, format("Not allowed to change line number field, columns %d to %d.", numbers_->first + 1, numbers_->end), ""};
  std::string with = replacement(text, m);
  length = static_cast<int>(with.size());
  auto after = static_cast<std::size_t>(m.at + m.length);
  int at = columns_.columnOf(text, static_cast<std::size_t>(m.at)) - 1;
  int grow = width(with) - (columns_.columnOf(text, after) - 1 - at);
  int size = width(text);
  int lineRight = rightBeforeFence(text, fence_, right_);
  // A match that explicit columns put past the right bound is bounded by MaxRecLen only.
  int right =
      columns_.columnOf(text, after) - 1 <= lineRight ? lineRight : std::max(maxRecLen_, size);
  if (length > m.length && m.at + length > maxRecLen_) return {{}, std::string(kOverMaxRecLen), ""};
  if (grow > 0 && at + width(with) > right) return {{}, std::string(kOverBound), ""};
  Edit e;
  if (size > right) {
    e = keepColumnsBeyond(text, m, with, lineRight);
  } else {  // the text right of the match moves; nothing may pass the right bound
    std::string out = std::string(text.substr(0, static_cast<std::size_t>(m.at))) + with + std::string(text.substr(after));
    if (width(out) > right) {
      std::size_t cut = byteAt(out, right);
      if (std::string_view(out).substr(cut).find_first_not_of(pad_) != std::string_view::npos)
        return {{}, format(kPastBound, std::string(text)), ""};
      out.resize(byteAt(out, std::max(right, size)));
    }
    e.text = std::move(out);
  }
  if (e.why.empty() && utf8Numbers_ && !keepNumberBytes(text, m, e.text))
    return {{}, std::string(kShiftsRight), ""};
  // A longer string in bytes may still reach past MaxRecLen: only blanks may go.
  if (e.why.empty() && static_cast<int>(e.text.size()) > std::max(maxRecLen_, static_cast<int>(text.size()))) {
    if (e.text.find_first_not_of(pad_, static_cast<std::size_t>(maxRecLen_)) != std::string::npos)
      return {{}, std::string(kOverMaxRecLen), ""};
    e.text.resize(static_cast<std::size_t>(maxRecLen_));
  }
  return e;
}

// A line longer than the right bound: its text beyond the bound keeps its
// columns, blanks go or come just before it.
Edit Changer::keepColumnsBeyond(std::string_view text, const SearchMatch& m,
                                const std::string& with, int right) const {
  // A wide character that begins on the bound belongs inside it.
  std::size_t split = columns_.bytesOf(text, 1, right).end;
  int beyondAt = columns_.columnOf(text, split) - 1;
  std::string mid = std::string(text.substr(0, static_cast<std::size_t>(m.at))) + with +
                    std::string(text.substr(static_cast<std::size_t>(m.at + m.length), split - static_cast<std::size_t>(m.at + m.length)));
  int w = width(mid);
  if (w > beyondAt) {
    std::size_t cut = byteAt(mid, beyondAt);
    if (std::string_view(mid).substr(cut).find_first_not_of(pad_) != std::string_view::npos)
      return {{}, std::string(kShiftsRight), ""};
    mid.resize(cut);
  }
  mid.append(static_cast<std::size_t>(std::max(0, beyondAt - width(mid))), pad_);
  return {mid + std::string(text.substr(split)), {}, ""};
}

// The number columns are bytes of the record (columns of the screen only
// where a byte is a column): a change before them leaves the number field
// and what follows in their bytes, the data giving up or gaining pad bytes
// just before the field. False when more than pad bytes would have to go.
bool Changer::keepNumberBytes(std::string_view was, const SearchMatch& m, std::string& out) const {
  auto first = static_cast<std::size_t>(numbers_->first);
  if (was.size() <= first || static_cast<std::size_t>(m.at) >= first) return true;
  std::string placed;
  switch (placeTail(was, first, out, pad_, true, placed)) {
    case TailPlace::InPlace:
      return true;
    case TailPlace::Moved:
      out = std::move(placed);
      return true;
    default:
      return false;
  }
}

void Changer::write(Line* line, std::string text) {
  if (fixed_ && static_cast<int>(text.size()) < line->length())
    text.resize(static_cast<std::size_t>(line->length()), pad_);
  if (text != line->text()) setLineText(task_, line, text);
  setLineFlag(task_, line, LineFlag::Changed, true);
}

// The first refusal of a command is said; every refused line is marked.
void Changer::refuse(Line* line, const Edit& e) {
  if (refused++ == 0) message(task_.session, e.id, e.why);
  setLineFlag(task_, line, LineFlag::Error, true);
}

// One pass over the line when no rule can refuse: the line and the result
// stay within the right bound and MaxRecLen, and no match touches the number
// columns. Nothing when a rule may apply (the caller goes match by match).
std::optional<std::string> Changer::inOnePass(std::string_view text, long& n) const {
  if (width(text) > right_) return std::nullopt;
  std::string out;
  std::size_t done = 0;
  n = 0;
  for (auto m = run_.matcher.first(text); m; m = run_.matcher.first(text, m->at + m->length)) {
    if (numbers_ && m->at < numbers_->end && m->at + m->length > numbers_->first) return std::nullopt;
    out.append(text.substr(done, static_cast<std::size_t>(m->at) - done));
    out += replacement(text, *m);
    done = static_cast<std::size_t>(m->at + m->length);
    ++n;
    if (static_cast<int>(out.size()) > byteLimit_) return std::nullopt;
  }
  out.append(text.substr(done));
  if (static_cast<int>(out.size()) > std::min(byteLimit_, maxRecLen_) || width(out) > right_) return std::nullopt;
  if (utf8Numbers_ && out.size() != text.size() &&
      text.size() > static_cast<std::size_t>(numbers_->first))
    return std::nullopt;  // the number field must keep its bytes
  return out;
}

long Changer::changeAll(Line* line) {
  if (!run_.matcher.first(line->text())) return 0;  // most lines: nothing to build
  long n = 0;
  if (std::optional<std::string> out = inOnePass(line->text(), n)) {
    if (n > 0) write(line, std::move(*out));
    return n;
  }
  std::string text(line->text());
  n = 0;
  for (auto m = run_.matcher.first(text); m;) {
    int length = 0;
    Edit e = apply(text, *m, length);
    if (!e.why.empty()) {
      refuse(line, e);
      return 0;
    }
    text = std::move(e.text);
    ++n;
    m = run_.matcher.first(text, m->at + length);  // after the new text
  }
  if (n > 0) write(line, std::move(text));
  return n;
}

int Changer::changeOne(Line* line, const SearchMatch& m) {
  int length = 0;
  Edit e = apply(line->text(), m, length);
  if (!e.why.empty()) {
    refuse(line, e);
    return -1;
  }
  write(line, std::move(e.text));
  return length;
}

void changeEvery(SearchRun& run) {
  Changer changer(run);
  long occurrences = 0, lines = 0;
  Line* firstChanged = nullptr;
  std::vector<Line*> hidden;
  for (Line* p = run.from(run.first); p; p = run.after(p)) {
    long n = changer.changeAll(p);
    if (n == 0) continue;
    occurrences += n;
    ++lines;
    if (!firstChanged) firstChanged = p;
    if (!p->shown()) hidden.push_back(p);
  }
  Task& task = run.task;
  publishCounts(task, occurrences, lines);
  if (!firstChanged) {
    if (!run.params.quiet && changer.refused == 0) message(task.session, "FIND50", run.notFound());
    return;
  }
  showHiddenLines(task, hidden);
  showMatch(task, firstChanged, 0, 0);
  task.search.highlight = false;
  if (!run.params.quiet)
    messagef(task.session, "FIND70", "Changed %d occurrences in %d lines.", occurrences, lines);
}

// One change at the next match from the cursor; false when none was found.
bool changeNext(SearchRun& run, SearchDir dir) {
  std::optional<Found> hit = findFromCursor(run, dir);
  publishCounts(run.task, hit ? 1 : 0, hit ? 1 : 0);
  if (!hit) return false;
  Changer changer(run);
  int length = changer.changeOne(hit->line, hit->match);
  // A refused match still counts as passed, so that RCHANGE goes on past it.
  showMatch(run.task, hit->line, hit->match.at, length >= 0 ? length : hit->match.length);
  run.task.search.lastWasChange = true;
  return true;
}

bool mayModify(Task& task) {
  if (task.mode != TaskMode::Browse) return true;
  message(task.session, "FIND55", "In BROWSE, no modify allowed");
  return false;
}

}  // namespace

void changeCommand(CommandContext& ctx) {
  Task* task = taskFor(ctx);
  if (!task || !mayModify(*task)) return;
  SearchRun run(*task);
  if (!run.prepare(ctx.params, SearchVerb::Change)) return;
  startSearch(*task, run.params);
  if (run.params.dir == SearchDir::All) return changeEvery(run);
  if (!changeNext(run, run.params.dir) && !run.params.quiet) message(ctx.session, "FIND50", run.notFound());
}

// RCHANGE: the last CHANGE at the next match; after one that found nothing,
// from the other end.
void rchangeCommand(CommandContext& ctx) {
  Task* task = taskFor(ctx);
  if (!task || !mayModify(*task)) return;
  if (task->settings.lastChangeParms.empty()) return message(ctx.session, "FIND20", "No previous CHANGE.");
  SearchRun run(*task);
  if (!run.prepare(task->settings.lastChangeParms, SearchVerb::Change)) return;
  bool back = run.params.dir == SearchDir::Prev || run.params.dir == SearchDir::Last;
  SearchDir dir = task->search.wrapped ? (back ? SearchDir::Last : SearchDir::First)
                                       : (back ? SearchDir::Prev : SearchDir::Next);
  task->search.lastWasChange = true;
  task->search.wrapped = !changeNext(run, dir);
  if (task->search.wrapped)
    messagef(ctx.session, "FIND45", "%s%s not found.", back ? "RCHANGE at top, " : "RCHANGE at bottom, ",
             run.shownString());
}

}  // namespace kiv
