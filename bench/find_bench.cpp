// Times FIND, CHANGE and EXCLUDE with ALL on a file of any size, for
// bench/find.sh. For each operation an editor session is started as the
// program starts it, over the headless platform, FILE is opened as an edit
// task and loaded whole (not timed), and then the command, typed as on the
// command row (executeCommandText: its own undo step), and one refreshScreen
// are timed:
//   find        FIND falcon ALL            (text string, any case)
//   findc       FIND C'Falcon' ALL         (exact case)
//   regex       FIND R'falc[o]n' ALL       (regular expression)
//   change      CHANGE falcon osprey ALL   (same length)
//   changelong  CHANGE falcon peregrine ALL (three bytes longer)
//   exclude     EXCLUDE falcon ALL
//   undo        CHANGE falcon peregrine ALL, then UNDO, then REDO (each
//               typed and timed with its repaint), and the undo journal's
//               bytes after the change
//   undodd      DD on the first and on the last line, carried out as Enter
//               carries it out (processLineCommands), then UNDO, each timed
//               with its repaint
//   scan        no command: the walk over the lines in scope alone, and the
//               matcher alone over every line for each of the three search
//               strings (counting as FIND ALL counts), to tell the scan
//               from the rest of a command.
// Prints one line per operation, "label: total ms (...)", with the command
// and the repaint, the user and system CPU time (getrusage) and the cost
// per line in nanoseconds, of wall time and of user time.
//
// The file is the one bench/find.sh writes: lines of words where "falcon"
// appears in several cases on a known share of lines (some twice), never
// inside another word, and "osprey" and "peregrine" never. --counts names
// the generator's tallies, one row each of "name occurrences lines":
//   any    falcon in any case     (FIND, CHANGE, EXCLUDE)
//   exact  Falcon exactly         (FIND C'Falcon')
//   lower  falcon in lower case   (FIND R'falc[o]n')
// The program checks its own work against them and exits with 1 when
// something is wrong: the task's counts, ZFIND.LAST.STRINGCOUNT and the
// message after FIND, the line the cursor went to; after CHANGE the counts,
// no falcon left, the new word as many times as falcon was there, every
// changed line flagged, sampled lines equal to an independent replacement;
// after EXCLUDE exactly the lines holding falcon hidden, the markers'
// counts adding up to them; after UNDO every text as loaded (a checksum of
// all texts taken before), no line flagged changed and something to redo;
// after REDO every text as the change left it; after DD no line left and one
// undo record a line. A walk with a plain search of its own (not timed)
// first checks the loaded file against the tallies. Tasks are
// destroyed with their modified flag cleared: the file is never written.
//
// With --utf8 the task's file is UTF-8 and the word "fälcon" (Fälcon,
// FÄLCON, fälCon) where "falcon" stands above: a text string with a letter
// beyond ASCII, in any case.
//
// Usage: kiv_findbench [--utf8] [--rows R] [--cols C] [--lines N] --counts FILE
//                      [--ops find,findc,regex,change,changelong,exclude,undo,undodd,scan]
//                      FILE
//   --lines  the number of lines the file must load to
#include <sys/resource.h>
#include <time.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "bench_args.h"
#include "bench_editor.h"
#include "bench_measure.h"
#include "commands/executor.h"
#include "commands/line_commands.h"
#include "commands/line_shift.h"
#include "commands/search_run.h"
#include "core/file_profile.h"
#include "core/line.h"
#include "core/line_ops.h"
#include "core/session.h"
#include "core/task.h"
#include "core/task_life.h"
#include "core/undo_journal.h"
#include "screen/screen_state.h"
#include "services/var_pool.h"

namespace {

namespace fs = std::filesystem;

// The words the generated file is made for; with --utf8 a file of mixed
// Latin and CJK text in UTF-8, where the word has a letter beyond ASCII.
std::string_view kWord = "falcon";
std::string_view kExactWord = "Falcon";
std::string_view kRegex = "R'falc[o]n'";
constexpr std::string_view kSame = "osprey";
constexpr std::string_view kLonger = "peregrine";

struct Options {
  int rows = 24;
  int cols = 80;
  long lines = 0;  // 0: not checked
  std::string counts;
  std::vector<std::string> ops{"find",    "findc", "regex",  "change", "changelong",
                               "exclude", "undo",  "undodd", "scan"};
  std::string file;
  bool utf8 = false;
};

// What the generator wrote: occurrences and lines holding one.
struct Tally {
  long occurrences = -1;
  long lines = -1;
};
using Tallies = std::map<std::string, Tally, std::less<>>;

// The settings the figures depend on, set in the pool so that option files
// do not change them.
constexpr std::pair<std::string_view, std::string_view> kSettings[] = {
    {"ZEDIT.VIRTUALLOAD", "TRUE"},
    {"ZEDIT.FIND.VERBOSE", "FALSE"},
};

using kiv::bench::BenchEditor;
using kiv::bench::Checks;
using kiv::bench::Cpu;
using kiv::bench::cpuNow;
using kiv::bench::eachText;
using kiv::bench::LoadTook;
using kiv::bench::msSince;
using kiv::bench::parseOps;
using kiv::bench::positive;
using kiv::bench::Steady;

// The checks' own search, kept plain on purpose: ASCII case folding (and
// the second byte of the UTF-8 word's 'Ä', 0xC3 0x84, to that of 'ä', which
// no other character in its place can have) and a comparison at every
// column; matches do not overlap.
unsigned char lower(unsigned char c) {
  if (c == 0x84) return 0xA4;
  return c >= 'A' && c <= 'Z' ? static_cast<unsigned char>(c + 32) : c;
}

bool sameAt(std::string_view text, std::size_t at, std::string_view word, bool anyCase) {
  if (at + word.size() > text.size()) return false;
  for (std::size_t i = 0; i < word.size(); ++i) {
    auto a = static_cast<unsigned char>(text[at + i]), b = static_cast<unsigned char>(word[i]);
    if (anyCase ? lower(a) != lower(b) : a != b) return false;
  }
  return true;
}

long countIn(std::string_view text, std::string_view word, bool anyCase) {
  long n = 0;
  for (std::size_t at = 0; at + word.size() <= text.size();)
    if (sameAt(text, at, word, anyCase)) {
      ++n;
      at += word.size();
    } else {
      ++at;
    }
  return n;
}

std::string replacedIn(std::string_view text, std::string_view word, std::string_view with) {
  std::string out;
  for (std::size_t at = 0; at < text.size();)
    if (sameAt(text, at, word, true)) {
      out += with;
      at += word.size();
    } else {
      out += text[at++];
    }
  return out;
}

// One of the three searches: how the checks find it and which tally it has.
struct Target {
  std::string_view word;
  bool anyCase;
  const char* tally;
};
Target kAny{kWord, true, "any"};
Target kExact{kExactWord, false, "exact"};
Target kLower{kWord, false, "lower"};

void useUtf8Words() {
  kWord = "f\xC3\xA4lcon";
  kExactWord = "F\xC3\xA4lcon";
  kRegex = "R'f\xC3\xA4lc[o]n'";
  kAny = {kWord, true, "any"};
  kExact = {kExactWord, false, "exact"};
  kLower = {kWord, false, "lower"};
}

struct Timing {
  double commandMs = 0;
  double repaintMs = 0;
  Cpu cpu;
};

// The command as typed on the command row, then the repaint.
Timing run(kiv::Session& s, const std::string& command) {
  Timing t;
  Cpu c0 = cpuNow();
  Steady::time_point t0 = Steady::now();
  kiv::executeCommandText(s, command);
  t.commandMs = msSince(t0);
  Steady::time_point t1 = Steady::now();
  kiv::refreshScreen(s);
  t.repaintMs = msSince(t1);
  Cpu c1 = cpuNow();
  t.cpu = {c1.user - c0.user, c1.sys - c0.sys};
  return t;
}

void printFigure(const std::string& label, const Timing& t, long lines, const std::string& what) {
  double total = t.commandMs + t.repaintMs;
  double n = lines > 0 ? static_cast<double>(lines) : 1;
  std::printf(
      "%s: %.2f ms (%s; command %.2f ms, repaint %.3f ms, user %.1f ms, sys %.1f ms, %ld lines, "
      "%.1f ns/line, user %.1f ns/line)\n",
      label.c_str(), total, what.c_str(), t.commandMs, t.repaintMs, t.cpu.user, t.cpu.sys, lines,
      total * 1e6 / n, t.cpu.user * 1e6 / n);
}

std::string found(const Tally& t) {
  return "Found " + std::to_string(t.occurrences) + " occurrences in " + std::to_string(t.lines) +
         " lines.";
}

int timeFind(BenchEditor& editor, kiv::Task& task, const std::string& label,
             const std::string& command, const Target& target, const Tally& want, Checks& checks) {
  kiv::Session& s = editor.session();
  long n = task.textLines;
  Timing t = run(s, command);
  checks.expect(task.search.occurrences == want.occurrences, command + ": occurrences",
                task.search.occurrences, want.occurrences);
  checks.expect(task.search.lines == want.lines, command + ": lines", task.search.lines,
                want.lines);
  std::string count = kiv::varGet(s, "ZFIND.LAST.STRINGCOUNT");
  checks.expectText(count == std::to_string(want.occurrences), command + ": ZFIND.LAST.STRINGCOUNT",
                    count, std::to_string(want.occurrences));
  std::string said = editor.lastMessage();
  checks.expectText(said == found(want), command + ": message", said, found(want));
  // The cursor's match: the first one in the file.
  long firstHit = -1;
  eachText(task, [&](kiv::Line* p, long i) {
    if (firstHit < 0 && countIn(p->text(), target.word, target.anyCase) > 0) firstHit = i;
  });
  kiv::Line* at = task.search.match.first;
  long got = at ? kiv::ordinalOf(task, at) : -1;
  checks.expect(got == firstHit, command + ": line of the first match (0-based)", got, firstHit);
  bool there =
      at && task.search.column >= 0 &&
      sameAt(at->text(), static_cast<std::size_t>(task.search.column), target.word, target.anyCase);
  checks.expect(there, command + ": the word at the match's column", task.search.column,
                task.search.column);
  checks.expect(task.textLines == n, command + ": TEXT lines", task.textLines, n);
  printFigure(label, t, n, command);
  return 0;
}

int timeChange(BenchEditor& editor, kiv::Task& task, const std::string& label,
               std::string_view with, const Tally& want, Checks& checks) {
  kiv::Session& s = editor.session();
  long n = task.textLines;
  std::string command = "CHANGE " + std::string(kWord) + " " + std::string(with) + " ALL";
  // Lines spread over the file (every residue of 10 is sampled), and the
  // last, as an independent replacement makes them.
  std::vector<std::pair<long, std::string>> wanted;
  eachText(task, [&](kiv::Line* p, long i) {
    if (i % 997 == 0 || i + 1 == n) wanted.emplace_back(i, replacedIn(p->text(), kWord, with));
  });
  Timing t = run(s, command);
  checks.expect(task.search.occurrences == want.occurrences, command + ": occurrences",
                task.search.occurrences, want.occurrences);
  checks.expect(task.search.lines == want.lines, command + ": lines", task.search.lines,
                want.lines);
  std::string said = editor.lastMessage();
  std::string changed = "Changed " + std::to_string(want.occurrences) + " occurrences in " +
                        std::to_string(want.lines) + " lines.";
  checks.expectText(said == changed, command + ": message", said, changed);
  long left = 0, made = 0, flagged = 0;
  std::size_t sample = 0;
  eachText(task, [&](kiv::Line* p, long i) {
    left += countIn(p->text(), kWord, true);
    made += countIn(p->text(), with, false);
    if (p->changed()) ++flagged;
    if (sample < wanted.size() && wanted[sample].first == i) {
      checks.expectText(p->text() == wanted[sample].second,
                        command + ": text of line " + std::to_string(i), p->text(),
                        wanted[sample].second);
      ++sample;
    }
  });
  checks.expect(left == 0, command + ": falcon left", left, 0);
  checks.expect(made == want.occurrences, command + ": the new word's occurrences", made,
                want.occurrences);
  checks.expect(flagged == want.lines, command + ": lines flagged changed", flagged, want.lines);
  checks.expect(sample == wanted.size(), command + ": sampled lines seen",
                static_cast<long>(sample), static_cast<long>(wanted.size()));
  checks.expect(task.textLines == n, command + ": TEXT lines", task.textLines, n);
  printFigure(label, t, n, command);
  return 0;
}

int timeExclude(BenchEditor& editor, kiv::Task& task, const Tally& want, Checks& checks) {
  kiv::Session& s = editor.session();
  long n = task.textLines;
  std::string command = "EXCLUDE " + std::string(kWord) + " ALL";
  Timing t = run(s, command);
  std::string said = editor.lastMessage();
  std::string excluded = "Excluded " + std::to_string(want.lines) + " lines";
  checks.expectText(said == excluded, command + ": message", said, excluded);
  long hidden = 0, wrong = 0, behindMarkers = 0;
  eachText(task, [&](kiv::Line* p, long) {
    bool holds = countIn(p->text(), kWord, true) > 0;
    if (!p->shown()) ++hidden;
    if (holds == p->shown()) ++wrong;
  });
  for (kiv::Line* p = task.lines.first; p; p = p->next)
    if (p->is(kiv::LineKind::Excluded)) behindMarkers += p->excludedCount();
  checks.expect(hidden == want.lines, command + ": hidden lines", hidden, want.lines);
  checks.expect(wrong == 0, command + ": lines hidden without falcon or shown with it", wrong, 0);
  checks.expect(behindMarkers == want.lines, command + ": the markers' counts", behindMarkers,
                want.lines);
  checks.expect(task.textLines == n, command + ": TEXT lines", task.textLines, n);
  printFigure("exclude", t, n, command);
  return 0;
}

// A checksum of every TEXT line's text in file order (FNV-1a over the texts,
// each followed by a line feed), and the count of lines.
struct TextSum {
  std::uint64_t hash = 1469598103934665603ULL;
  long lines = 0;
  bool operator==(const TextSum&) const = default;
};

TextSum textSum(kiv::Task& task) {
  TextSum sum;
  auto add = [&](unsigned char c) { sum.hash = (sum.hash ^ c) * 1099511628211ULL; };
  eachText(task, [&](kiv::Line* p, long) {
    for (char c : p->text()) add(static_cast<unsigned char>(c));
    add('\n');
    ++sum.lines;
  });
  return sum;
}

long flaggedLines(kiv::Task& task) {
  long flagged = 0;
  eachText(task, [&](kiv::Line* p, long) { flagged += p->changed(); });
  return flagged;
}

// UNDO or REDO as typed on the command row, then the repaint; the text after
// it checked against `wanted`, and no message said.
Timing timeReplay(BenchEditor& editor, kiv::Task& task, const std::string& command,
                  const TextSum& wanted, Checks& checks) {
  std::size_t before = editor.messages();
  Timing t = run(editor.session(), command);
  TextSum got = textSum(task);
  checks.expect(got.lines == wanted.lines, command + ": TEXT lines", got.lines, wanted.lines);
  checks.expect(got == wanted, command + ": the checksum of every text (0: differs)", 0, 1);
  checks.expect(task.textLines == wanted.lines, command + ": the task's TEXT lines", task.textLines,
                wanted.lines);
  std::size_t said = editor.messages() - before;
  checks.expect(said == 0, command + ": messages", static_cast<long>(said), 0);
  if (said > 0) checks.expectText(false, command + ": message", editor.lastMessage(), "");
  return t;
}

// CHANGE falcon peregrine ALL (checked as "changelong" is), then UNDO and
// REDO, each timed with its repaint: after UNDO every text as loaded, no line
// flagged changed and something to redo; after REDO every text as changed,
// the changed lines flagged again and nothing left to redo. The journal after
// the change (UndoStack::bytes, its reserved capacity) is printed beside the
// old text of the changed lines and 48 bytes of record for each; the texts
// it saved must add up to that old text.
int timeUndo(BenchEditor& editor, kiv::Task& task, const Tally& want, Checks& checks) {
  long n = task.textLines;
  TextSum loaded = textSum(task);
  std::size_t oldText = 0;
  eachText(task, [&](kiv::Line* p, long) {
    if (countIn(p->text(), kWord, true) > 0) oldText += p->text().size();
  });
  int rc = timeChange(editor, task, "undo change", kLonger, want, checks);
  TextSum changed = textSum(task);
  checks.expect(!(changed == loaded), "the change changed the checksum", 0, 1);

  // bytes() counts the records and the text blocks held; textBytes() the
  // saved texts themselves.
  const kiv::UndoJournal& j = task.journal;
  std::size_t bytes = j.undo.bytes(), records = j.undo.size();
  std::size_t recordsReserved = records * sizeof(kiv::UndoRecord);
  std::size_t saved = j.undo.textBytes();
  std::size_t inUse = records * sizeof(kiv::UndoRecord) + saved;
  double lines = static_cast<double>(want.lines);
  double expected = static_cast<double>(oldText) + 48 * lines;
  std::printf(
      "undo journal: %zu bytes (after CHANGE; %zu records, %ld lines changed, old text %zu bytes, "
      "expected %.0f bytes, %.3fx expected, records %zu bytes reserved, texts %zu bytes reserved, "
      "in use %zu bytes, %.1f bytes/line beyond the text)\n",
      bytes, records, want.lines, oldText, expected, static_cast<double>(bytes) / expected,
      recordsReserved, bytes - recordsReserved, inUse,
      (static_cast<double>(bytes) - static_cast<double>(oldText)) / lines);
  checks.expect(saved == oldText, "bytes of text the journal saved", static_cast<long>(saved),
                static_cast<long>(oldText));
  checks.expect(records >= static_cast<std::size_t>(want.lines), "undo records after CHANGE",
                static_cast<long>(records), want.lines);
  checks.expect(j.redo.empty(), "redo records after CHANGE (0: none)",
                static_cast<long>(j.redo.size()), 0);

  Timing u = timeReplay(editor, task, "UNDO", loaded, checks);
  checks.expect(flaggedLines(task) == 0, "UNDO: lines flagged changed", flaggedLines(task), 0);
  checks.expect(!j.redo.empty(), "UNDO: redo records", static_cast<long>(j.redo.size()), 1);
  printFigure("undo undo", u, n, "UNDO of CHANGE " + std::string(kWord) + " peregrine ALL");

  Timing r = timeReplay(editor, task, "REDO", changed, checks);
  checks.expect(flaggedLines(task) == want.lines, "REDO: lines flagged changed", flaggedLines(task),
                want.lines);
  checks.expect(j.redo.empty(), "REDO: redo records left", static_cast<long>(j.redo.size()), 0);
  checks.expect(j.undo.size() == records, "REDO: undo records", static_cast<long>(j.undo.size()),
                static_cast<long>(records));
  printFigure("undo redo", r, n, "REDO of that CHANGE");
  return rc;
}

// DD on the first and on the last TEXT line, typed in the prefix fields and
// carried out as Enter does (processLineCommands: one undo step), then UNDO
// typed on the command row, each timed with its repaint: the file empty
// after DD, every text as loaded after UNDO.
int timeUndoDelete(BenchEditor& editor, kiv::Task& task, Checks& checks) {
  kiv::Session& s = editor.session();
  long n = task.textLines;
  TextSum loaded = textSum(task);
  kiv::Line* first = kiv::textLineAt(task, 0);
  kiv::Line* last = kiv::textLineAt(task, n - 1);
  if (!first || !last || first == last) return checks.expect(false, "DD placed", 0, 1), 1;
  kiv::setLineCommand(task, first, "DD");
  kiv::setLineCommand(task, last, "DD");
  std::size_t before = editor.messages();
  Timing t;
  Cpu c0 = cpuNow();
  Steady::time_point t0 = Steady::now();
  int carried = kiv::processLineCommands(s, task);
  t.commandMs = msSince(t0);
  Steady::time_point t1 = Steady::now();
  kiv::refreshScreen(s);
  t.repaintMs = msSince(t1);
  Cpu c1 = cpuNow();
  t.cpu = {c1.user - c0.user, c1.sys - c0.sys};
  checks.expect(carried == 2, "DD: line commands carried out", carried, 2);
  checks.expect(task.textLines == 0, "DD: TEXT lines left", task.textLines, 0);
  long left = 0;
  for (kiv::Line* p = task.lines.first; p; p = p->next)
    left += !p->is(kiv::LineKind::Tof) && !p->is(kiv::LineKind::Bof);
  checks.expect(left == 0, "DD: lines other than TOF and BOF", left, 0);
  std::size_t said = editor.messages() - before;
  checks.expect(said == 0, "DD: messages", static_cast<long>(said), 0);
  std::size_t records = task.journal.undo.size(), bytes = task.journal.undo.bytes();
  checks.expect(records == static_cast<std::size_t>(n), "DD: undo records",
                static_cast<long>(records), n);
  printFigure("undodd dd", t, n, "DD on lines 1 and " + std::to_string(n));

  Timing u = timeReplay(editor, task, "UNDO", loaded, checks);
  checks.expect(!task.journal.redo.empty(), "UNDO: redo records",
                static_cast<long>(task.journal.redo.size()), 1);
  printFigure("undodd undo", u, n, "UNDO of that DD");
  std::printf("undodd journal: %zu bytes (after DD; %zu records, %.1f bytes/line)\n", bytes,
              records, static_cast<double>(bytes) / static_cast<double>(n));
  return 0;
}

// A figure without a command: the user and wall time of `f` alone.
template <class F>
void timeAlone(const std::string& label, long lines, const std::string& what, F f) {
  Cpu c0 = cpuNow();
  Steady::time_point t0 = Steady::now();
  f();
  Timing t;
  t.commandMs = msSince(t0);
  Cpu c1 = cpuNow();
  t.cpu = {c1.user - c0.user, c1.sys - c0.sys};
  printFigure(label, t, lines, what);
}

// The matcher alone, counting as FIND ALL counts, and the walk over the
// lines in scope alone.
int timeScan(kiv::Task& task, const Tallies& tallies, Checks& checks) {
  long n = task.textLines;
  {
    kiv::SearchRun walk(task);
    if (!walk.prepare(std::string(kWord) + " ALL", kiv::SearchVerb::Find)) {
      checks.expect(false, "the walk's search prepared", 0, 1);
      return 1;
    }
    long lines = 0;
    std::size_t bytes = 0;
    timeAlone("scan walk", n, "SearchRun::from/after over every line, text() read", [&] {
      for (kiv::Line* p = walk.from(walk.first); p; p = walk.after(p)) {
        bytes += p->text().size();
        ++lines;
      }
    });
    checks.expect(lines == n, "lines the walk visited", lines, n);
    checks.expect(bytes >= static_cast<std::size_t>(n), "bytes the walk read",
                  static_cast<long>(bytes), n);
  }
  struct Scan {
    const char* label;
    std::string params;
    Target target;
  };
  const Scan scans[] = {
      {"scan matcher", std::string(kWord) + " ALL", kAny},
      {"scan matcher C", "C'" + std::string(kExactWord) + "' ALL", kExact},
      {"scan matcher R", std::string(kRegex) + " ALL", kLower},
  };
  for (const Scan& scan : scans) {
    kiv::SearchRun r(task);
    if (!r.prepare(scan.params, kiv::SearchVerb::Find)) {
      checks.expect(false, std::string(scan.label) + ": prepared", 0, 1);
      return 1;
    }
    long occurrences = 0, lines = 0;
    timeAlone(scan.label, n,
              "Matcher::first over every line in scope, as FIND " + scan.params + " counts", [&] {
                for (kiv::Line* p = r.from(r.first); p; p = r.after(p)) {
                  long k = 0;
                  for (auto m = r.matcher.first(p->text()); m;
                       m = r.matcher.first(p->text(), m->at + std::max(m->length, 1)))
                    ++k;
                  occurrences += k;
                  lines += k > 0;
                }
              });
    const Tally& want = tallies.find(scan.target.tally)->second;
    checks.expect(occurrences == want.occurrences, std::string(scan.label) + ": occurrences",
                  occurrences, want.occurrences);
    checks.expect(lines == want.lines, std::string(scan.label) + ": lines", lines, want.lines);
  }
  return 0;
}

// The loaded file against the generator's tallies, with the checks' own
// search.
void checkLoaded(kiv::Task& task, const Tallies& tallies, Checks& checks) {
  for (const Target& target : {kAny, kExact, kLower}) {
    long occurrences = 0, lines = 0;
    eachText(task, [&](kiv::Line* p, long) {
      long k = countIn(p->text(), target.word, target.anyCase);
      occurrences += k;
      lines += k > 0;
    });
    const Tally& want = tallies.find(target.tally)->second;
    checks.expect(occurrences == want.occurrences,
                  std::string("loaded file: ") + target.tally + " occurrences", occurrences,
                  want.occurrences);
    checks.expect(lines == want.lines, std::string("loaded file: ") + target.tally + " lines",
                  lines, want.lines);
  }
  long others = 0;
  eachText(task, [&](kiv::Line* p, long) {
    others += countIn(p->text(), kSame, true) + countIn(p->text(), kLonger, true);
  });
  checks.expect(others == 0, "loaded file: osprey or peregrine already there", others, 0);
}

// One operation on a freshly loaded file in a session of its own.
int runOne(const Options& o, const Tallies& tallies, const std::string& op, Checks& checks) {
  BenchEditor editor(o.rows, o.cols);
  kiv::Session& s = editor.session();
  LoadTook took;
  kiv::Task* task = editor.loadWhole(kSettings, o.file, took, [&](kiv::Task& t) {
    if (o.utf8) t.profile->charset = kiv::Charset::Utf8;
  });
  if (!task) return 1;
  std::printf(
      "load %s: %.1f ms (createTask and every chunk + first repaint; cpu %.1f ms, %ld lines, "
      "MaxRecLen %d, bounds %d-%d)\n",
      op.c_str(), took.ms, took.cpuMs, task->textLines, kiv::maxRecLenOf(*task),
      kiv::textBounds(*task).left, kiv::textBounds(*task).right);
  std::size_t before = editor.messages();
  int rc = 0;
  if (o.lines > 0 && task->textLines != o.lines) {
    std::fprintf(stderr, "loaded %ld lines, expected %ld\n", task->textLines, o.lines);
    rc = 1;
  } else {
    checkLoaded(*task, tallies, checks);
    const Tally& any = tallies.find("any")->second;
    if (op == "find") {
      rc = timeFind(editor, *task, op, "FIND " + std::string(kWord) + " ALL", kAny, any, checks);
    } else if (op == "findc") {
      rc = timeFind(editor, *task, op, "FIND C'" + std::string(kExactWord) + "' ALL", kExact,
                    tallies.find("exact")->second, checks);
    } else if (op == "regex") {
      rc = timeFind(editor, *task, op, "FIND " + std::string(kRegex) + " ALL", kLower,
                    tallies.find("lower")->second, checks);
    } else if (op == "change") {
      rc = timeChange(editor, *task, op, kSame, any, checks);
    } else if (op == "changelong") {
      rc = timeChange(editor, *task, op, kLonger, any, checks);
    } else if (op == "exclude") {
      rc = timeExclude(editor, *task, any, checks);
    } else if (op == "undo") {
      rc = timeUndo(editor, *task, any, checks);
    } else if (op == "undodd") {
      rc = timeUndoDelete(editor, *task, checks);
    } else {
      rc = timeScan(*task, tallies, checks);
    }
  }
  // One message per command (its result: CHANGE's for undo, none from UNDO,
  // REDO or DD); more means something was refused.
  std::size_t said = editor.messages() - before;
  long wanted = op == "scan" || op == "undodd" ? 0 : 1;
  checks.expect(static_cast<long>(said) == wanted, op + ": messages", static_cast<long>(said),
                wanted);
  // Nothing changed may reach the file.
  task->modified = false;
  kiv::destroyTask(*task);
  return rc;
}

bool readTallies(const std::string& path, Tallies& out) {
  std::ifstream in(path);
  std::string name;
  Tally t;
  while (in >> name >> t.occurrences >> t.lines) out[name] = t;
  for (const char* need : {"any", "exact", "lower"}) {
    auto it = out.find(need);
    if (it == out.end() || it->second.occurrences < 1 || it->second.lines < 1) return false;
  }
  return true;
}

int usage(const char* program) {
  std::fprintf(
      stderr,
      "usage: %s [--utf8] [--rows R] [--cols C] [--lines N] --counts FILE\n"
      "          [--ops find,findc,regex,change,changelong,exclude,undo,undodd,scan] FILE\n",
      program);
  return 2;
}

bool parseArgs(int argc, char** argv, Options& o) {
  for (int i = 1; i < argc; ++i) {
    std::string_view a = argv[i];
    if (a == "--utf8") {
      o.utf8 = true;
    } else if (a == "--ops") {
      if (i + 1 >= argc || !parseOps(argv[++i],
                                     {"find", "findc", "regex", "change", "changelong", "exclude",
                                      "undo", "undodd", "scan"},
                                     o.ops))
        return false;
    } else if (a == "--counts") {
      if (i + 1 >= argc) return false;
      o.counts = argv[++i];
    } else if (a == "--rows" || a == "--cols" || a == "--lines") {
      long v = i + 1 < argc ? positive(argv[++i]) : 0;
      if (v == 0 || v > 1000000000) return false;
      if (a == "--rows")
        o.rows = static_cast<int>(v);
      else if (a == "--cols")
        o.cols = static_cast<int>(v);
      else
        o.lines = v;
    } else if (!a.starts_with("--") && o.file.empty()) {
      o.file = a;
    } else {
      return false;
    }
  }
  return !o.file.empty() && !o.counts.empty() && o.rows >= 5;
}

}  // namespace

int main(int argc, char** argv) {
  Options o;
  if (!parseArgs(argc, argv, o)) return usage(argv[0]);
  if (o.utf8) useUtf8Words();
  // An edit task would create a missing file: the benchmark only reads.
  std::error_code ec;
  if (!fs::is_regular_file(o.file, ec)) {
    std::fprintf(stderr, "%s: no such file\n", o.file.c_str());
    return 1;
  }
  Tallies tallies;
  if (!readTallies(o.counts, tallies)) {
    std::fprintf(stderr, "%s: no rows any, exact and lower of \"name occurrences lines\"\n",
                 o.counts.c_str());
    return 1;
  }
  Checks checks;
  int rc = 0;
  for (const std::string& op : o.ops) {
    rc |= runOne(o, tallies, op, checks);
    std::fflush(stdout);
  }
  std::printf("checks: %s (%ld failed)\n", checks.failed == 0 && rc == 0 ? "ok" : "FAILED",
              checks.failed);
  return checks.failed == 0 && rc == 0 ? 0 : 1;
}
