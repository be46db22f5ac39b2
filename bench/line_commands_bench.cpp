// Times the block line commands on a file of any size, for
// bench/line_commands.sh. For each operation an editor session is started
// as the program starts it, over the headless platform, FILE is opened as an
// edit task and loaded whole (not timed), the fields are typed with
// setLineCommand (not timed), and then processLineCommands (one Enter: its
// own undo step) and one refreshScreen are timed:
//   dd     DD on the first and on the last TEXT line: the whole file deleted;
//   cc     CC on line 1 and on line --copy (default half the file), A on the
//          last line: --copy lines copied to the end;
//   shift  (( on the first and on the last line: every line shifted left by
//          the default amount (2 columns);
//   xx     XX on the first and on the last line: every line excluded behind
//          one marker; a second refreshScreen is timed on its own, as each
//          later layout pays it too.
// Prints one line per operation, "label: total ms (...)", with the parts,
// the user and system CPU time (getrusage: the system part is mostly the
// kernel clearing fresh pages for new lines) and the cost per line of the
// range in nanoseconds, of wall time and of user time. Checks its
// own work (counts after DD and CC, the copied text, a sample of shifted
// lines, the marker's count after XX) and exits with 1 when something is
// wrong. Tasks are destroyed with their modified flag cleared: the file is
// never written.
//
// Operations given together run one after the other in one process, each on
// a task of its own; a later one may then make its lines in memory an
// earlier task gave back, where alone it needs fresh pages. The script runs
// each in a process of its own.
//
// Usage: kiv_linecmdbench [--rows R] [--cols C] [--copy N] [--lines N]
//                         [--ops dd,cc,shift,xx] FILE
//   --lines  the number of lines the file must load to
#include <sys/resource.h>
#include <time.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "bench_args.h"
#include "bench_editor.h"
#include "bench_measure.h"
#include "commands/line_commands.h"
#include "core/line.h"
#include "core/line_ops.h"
#include "core/session.h"
#include "core/task_life.h"
#include "screen/edit_panel.h"
#include "screen/screen_state.h"

namespace {

namespace fs = std::filesystem;
using Steady = std::chrono::steady_clock;

struct Options {
  int rows = 24;
  int cols = 80;
  long copy = 0;   // 0: half the file
  long lines = 0;  // 0: not checked
  std::vector<std::string> ops{"dd", "cc", "shift", "xx"};
  std::string file;
};

// User and system CPU so far, in milliseconds: kiv's own work, and the
// kernel's (mostly clearing the fresh pages new lines are made in).
struct Cpu {
  double user = 0;
  double sys = 0;
};

Cpu cpuNow() {
  rusage u{};
  ::getrusage(RUSAGE_SELF, &u);
  auto ms = [](const timeval& t) { return static_cast<double>(t.tv_sec) * 1e3 + static_cast<double>(t.tv_usec) / 1e3; };
  return {ms(u.ru_utime), ms(u.ru_stime)};
}

double msSince(Steady::time_point t0) {
  return std::chrono::duration<double, std::milli>(Steady::now() - t0).count();
}

// The settings the figures depend on, set in the pool so that option files
// do not change them.
constexpr std::pair<std::string_view, std::string_view> kSettings[] = {
    {"ZEDIT.VIRTUALLOAD", "TRUE"},
    {"ZEDIT.COLSHIFTAMOUNT", "2"},
};
constexpr int kShift = 2;

using kiv::bench::BenchEditor;
using kiv::bench::Checks;
using kiv::bench::LoadTook;
using kiv::bench::parseOps;
using kiv::bench::positive;

// The TEXT lines whose text a check compares: every 10,000th from 0 on,
// and the last.
bool sampled(long ordinal, long textLines) {
  return ordinal % 10000 == 0 || ordinal + 1 == textLines;
}

// One timed Enter: the fields set, then processLineCommands and the repaint.
struct Timing {
  double processMs = 0;
  double repaintMs = 0;
  Cpu cpu;  // spent over both
  int carried = 0;
};

Timing enter(kiv::Session& s, kiv::Task& task) {
  Timing t;
  Cpu c0 = cpuNow();
  Steady::time_point t0 = Steady::now();
  t.carried = kiv::processLineCommands(s, task);
  t.processMs = msSince(t0);
  Steady::time_point t1 = Steady::now();
  kiv::refreshScreen(s);
  t.repaintMs = msSince(t1);
  Cpu c1 = cpuNow();
  t.cpu = {c1.user - c0.user, c1.sys - c0.sys};
  return t;
}

void printFigure(const char* label, const Timing& t, long rangeLines, const std::string& what) {
  double total = t.processMs + t.repaintMs;
  double lines = rangeLines > 0 ? static_cast<double>(rangeLines) : 1;
  std::printf(
      "%s: %.2f ms (%s; process %.2f ms, repaint %.3f ms, user %.1f ms, sys %.1f ms, %ld lines, "
      "%.1f ns/line, user %.1f ns/line)\n",
      label, total, what.c_str(), t.processMs, t.repaintMs, t.cpu.user, t.cpu.sys, rangeLines,
      total * 1e6 / lines, t.cpu.user * 1e6 / lines);
}

// The fields typed on two lines by their ordinals (0-based TEXT lines).
bool place(kiv::Task& task, long first, std::string_view a, long second, std::string_view b) {
  kiv::Line* one = kiv::textLineAt(task, first);
  kiv::Line* two = kiv::textLineAt(task, second);
  if (!one || !two) return false;
  kiv::setLineCommand(task, one, a);
  kiv::setLineCommand(task, two, b);
  return true;
}

// Every field cleared by the run that carried it out.
void checkFieldsDone(kiv::Task& task, const Timing& t, int wanted, Checks& checks) {
  checks.expect(t.carried == wanted, "commands carried out", t.carried, wanted);
  long left = 0;
  for (kiv::Line* line : task.pendingLines)
    if (line->hasPendingCommand()) ++left;
  checks.expect(left == 0, "pending fields after the run", left, 0);
}

int timeDelete(kiv::Session& s, kiv::Task& task, Checks& checks) {
  long n = task.textLines;
  if (!place(task, 0, "DD", n - 1, "DD")) return checks.expect(false, "DD placed", 0, 1), 1;
  Timing t = enter(s, task);
  checkFieldsDone(task, t, 2, checks);
  checks.expect(task.textLines == 0, "TEXT lines after DD", task.textLines, 0);
  long left = 0;
  for (kiv::Line* line = task.lines.first; line; line = line->next)
    if (!line->is(kiv::LineKind::Tof) && !line->is(kiv::LineKind::Bof)) ++left;
  checks.expect(left == 0, "lines other than TOF and BOF after DD", left, 0);
  printFigure("dd", t, n, "DD on lines 1 and " + std::to_string(n));
  return 0;
}

int timeCopy(kiv::Session& s, kiv::Task& task, long copy, Checks& checks) {
  long n = task.textLines;
  copy = std::clamp(copy > 0 ? copy : n / 2, 2L, n);
  // The copies' texts are compared with their sources' after the run.
  std::vector<std::string> sources;
  for (long i = 0; i < copy; i += 10000) sources.emplace_back(kiv::textLineAt(task, i)->text());
  sources.emplace_back(kiv::textLineAt(task, copy - 1)->text());
  if (!place(task, 0, "CC", copy - 1, "CC")) return checks.expect(false, "CC placed", 0, 1), 1;
  kiv::setLineCommand(task, kiv::textLineAt(task, n - 1), "A");
  Timing t = enter(s, task);
  checkFieldsDone(task, t, 3, checks);
  checks.expect(task.textLines == n + copy, "TEXT lines after CC", task.textLines, n + copy);
  // A walk over the copies: every one TEXT, shown, the sample's text equal.
  long seen = 0;
  std::size_t sample = 0;
  for (kiv::Line* line = kiv::textLineAt(task, n); line && !line->is(kiv::LineKind::Bof);
       line = line->next, ++seen) {
    bool textShown = line->is(kiv::LineKind::Text) && line->shown();
    checks.expect(textShown, "copy " + std::to_string(seen) + " is a shown TEXT line", 0, 1);
    if (seen % 10000 == 0 || seen + 1 == copy) {
      bool same = sample < sources.size() && line->text() == sources[sample];
      checks.expect(same, "text of the copy of line (0-based)", seen, seen);
      ++sample;
    }
  }
  checks.expect(seen == copy, "lines after the original last line", seen, copy);
  checks.expect(kiv::ordinalOf(task, task.lines.last) == n + copy, "ordinal of BOF",
                kiv::ordinalOf(task, task.lines.last), n + copy);
  printFigure("cc", t, copy,
              "CC on lines 1 and " + std::to_string(copy) + ", A on line " + std::to_string(n));
  return 0;
}

int timeShift(kiv::Session& s, kiv::Task& task, Checks& checks) {
  long n = task.textLines;
  // A column shift to the left by 2 on a record within the bounds: the
  // text moves two columns left, the length stays, pads fill the end.
  std::vector<std::pair<long, std::string>> wanted;
  for (long i = 0; i < n; ++i)
    if (sampled(i, n)) {
      std::string_view text = kiv::textLineAt(task, i)->text();
      std::string after(text.substr(std::min<std::size_t>(kShift, text.size())));
      after.append(text.size() - after.size(), ' ');
      wanted.emplace_back(i, std::move(after));
    }
  if (!place(task, 0, "((", n - 1, "((")) return checks.expect(false, "(( placed", 0, 1), 1;
  Timing t = enter(s, task);
  checkFieldsDone(task, t, 2, checks);
  checks.expect(task.textLines == n, "TEXT lines after ((", task.textLines, n);
  for (const auto& [i, text] : wanted) {
    kiv::Line* line = kiv::textLineAt(task, i);
    checks.expect(line && line->text() == text, "text of shifted line (0-based)", i, i);
  }
  printFigure("shift", t, n, "(( on lines 1 and " + std::to_string(n) + ", by " + std::to_string(kShift));
  return 0;
}

int timeExclude(kiv::Session& s, kiv::Task& task, Checks& checks) {
  long n = task.textLines;
  if (!place(task, 0, "XX", n - 1, "XX")) return checks.expect(false, "XX placed", 0, 1), 1;
  Timing t = enter(s, task);
  checkFieldsDone(task, t, 2, checks);
  // TOF, one marker for every line, the lines hidden, BOF.
  kiv::Line* marker = task.lines.first ? task.lines.first->next : nullptr;
  bool isMarker = marker && marker->is(kiv::LineKind::Excluded);
  checks.expect(isMarker, "an EXCLUDED marker after TOF", 0, 1);
  if (isMarker) checks.expect(marker->excludedCount() == n, "marker's count", marker->excludedCount(), n);
  long hidden = 0, shown = 0;
  for (kiv::Line* line = isMarker ? marker->next : nullptr; line && !line->is(kiv::LineKind::Bof);
       line = line->next)
    line->shown() ? ++shown : ++hidden;
  checks.expect(hidden == n && shown == 0, "hidden lines behind the marker", hidden, n);
  checks.expect(task.textLines == n, "TEXT lines after XX", task.textLines, n);
  printFigure("xx", t, n, "XX on lines 1 and " + std::to_string(n) + ", then a repaint");
  // What every later layout of the panel costs over the hidden run.
  Cpu c0 = cpuNow();
  Steady::time_point t0 = Steady::now();
  if (kiv::EditPanel* panel = kiv::currentEditPanel(s)) panel->refreshData();
  kiv::refreshScreen(s);
  Timing again;
  again.repaintMs = msSince(t0);
  Cpu c1 = cpuNow();
  again.cpu = {c1.user - c0.user, c1.sys - c0.sys};
  printFigure("xx relayout", again, n, "one more layout and repaint of the panel");
  return 0;
}

// One operation on a freshly loaded file in a session of its own.
int runOne(const Options& o, const std::string& op, Checks& checks) {
  BenchEditor editor(o.rows, o.cols);
  kiv::Session& s = editor.session();
  LoadTook took;
  kiv::Task* task = editor.loadWhole(kSettings, o.file, took);
  if (!task) return 1;
  std::printf(
      "load %s: %.1f ms (createTask and every chunk + first repaint; cpu %.1f ms, %ld lines)\n",
      op.c_str(), took.ms, took.cpuMs, task->textLines);
  int rc = 0;
  if (o.lines > 0 && task->textLines != o.lines) {
    std::fprintf(stderr, "loaded %ld lines, expected %ld\n", task->textLines, o.lines);
    rc = 1;
  } else if (task->textLines < 4) {
    std::fprintf(stderr, "the file needs at least 4 lines\n");
    rc = 1;
  } else if (op == "dd") {
    rc = timeDelete(s, *task, checks);
  } else if (op == "cc") {
    rc = timeCopy(s, *task, o.copy, checks);
  } else if (op == "shift") {
    rc = timeShift(s, *task, checks);
  } else {
    rc = timeExclude(s, *task, checks);
  }
  if (editor.messages() > 0) std::printf("messages during %s: %zu\n", op.c_str(), editor.messages());
  // Nothing changed may reach the file.
  task->modified = false;
  kiv::destroyTask(*task);
  return rc;
}

int usage(const char* program) {
  std::fprintf(stderr,
               "usage: %s [--rows R] [--cols C] [--copy N] [--lines N] [--ops dd,cc,shift,xx] FILE\n",
               program);
  return 2;
}

bool parseArgs(int argc, char** argv, Options& o) {
  for (int i = 1; i < argc; ++i) {
    std::string_view a = argv[i];
    if (a == "--ops") {
      if (i + 1 >= argc || !parseOps(argv[++i], {"dd", "cc", "shift", "xx"}, o.ops)) return false;
    } else if (a == "--rows" || a == "--cols" || a == "--copy" || a == "--lines") {
      long v = i + 1 < argc ? positive(argv[++i]) : 0;
      if (v == 0 || v > 1000000000) return false;
      if (a == "--rows") o.rows = static_cast<int>(v);
      else if (a == "--cols") o.cols = static_cast<int>(v);
      else if (a == "--copy") o.copy = v;
      else o.lines = v;
    } else if (!a.starts_with("--") && o.file.empty()) {
      o.file = a;
    } else {
      return false;
    }
  }
  return !o.file.empty() && o.rows >= 5;
}

}  // namespace

int main(int argc, char** argv) {
  Options o;
  if (!parseArgs(argc, argv, o)) return usage(argv[0]);
  // An edit task would create a missing file: the benchmark only reads.
  std::error_code ec;
  if (!fs::is_regular_file(o.file, ec)) {
    std::fprintf(stderr, "%s: no such file\n", o.file.c_str());
    return 1;
  }
  Checks checks;
  int rc = 0;
  for (const std::string& op : o.ops) {
    rc |= runOne(o, op, checks);
    std::fflush(stdout);
  }
  std::printf("checks: %s (%ld failed)\n", checks.failed == 0 && rc == 0 ? "ok" : "FAILED", checks.failed);
  return checks.failed == 0 && rc == 0 ? 0 : 1;
}
