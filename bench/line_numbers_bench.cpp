// Times what line numbers cost on a file of any size, for
// bench/line_numbers.sh: an editor session started as the program starts it,
// over the headless platform, opens FILE as an edit task, loads it whole,
// and then times, each operation followed by a refreshScreen as the terminal
// loop does:
//   - LOCATE to the last line but one, and LOCATE back to line 1,
//   - one empty line inserted (insertLinesBelow in its own EditStep) below
//     the last line but one, with the panel's top line there,
//   - inserts scattered over the whole file: a line chosen at random
//     (fixed seed) through textLineAt, one line inserted below it in its own
//     EditStep, the panel's top line set to it.
// The panel shows line numbers (ZEDIT.SHOWLINENUM), so every repaint takes
// the ordinal of its top line. Prints one line per figure, "label: value
// unit (details)", per operation in microseconds of wall time
// (steady_clock). Checks its own work and exits with 1 when a line number
// or a count is wrong. The task is destroyed with its modified flag cleared:
// the file is never written.
//
// Usage: kiv_linesbench [--rows R] [--cols C] [--repeat N] [--inserts N]
//                       [--seed S] [--lines N] FILE
//   --repeat   LOCATE pairs and inserts near the end (default 200)
//   --inserts  scattered inserts (default 1000)
//   --lines    the number of lines the file must load to
#include <stdlib.h>
#include <time.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <random>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "bench_args.h"
#include "bench_editor.h"
#include "commands/editor_start.h"
#include "commands/executor.h"
#include "core/edit_step.h"
#include "core/line.h"
#include "core/line_ops.h"
#include "core/session.h"
#include "core/startup.h"
#include "core/task_life.h"
#include "platform/headless_platform.h"
#include "screen/edit_panel.h"
#include "screen/screen_state.h"
#include "services/var_pool.h"

namespace {

namespace fs = std::filesystem;
using Steady = std::chrono::steady_clock;

struct Options {
  int rows = 24;
  int cols = 80;
  long repeat = 200;
  long inserts = 1000;
  unsigned long seed = 1;
  long lines = 0;  // 0: not checked
  std::string file;
};

double cpuSeconds() {
  timespec cpu{};
  ::clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &cpu);
  return cpu.tv_sec + cpu.tv_nsec / 1e9;
}

double microsSince(Steady::time_point t0) {
  return std::chrono::duration<double, std::micro>(Steady::now() - t0).count();
}

// The settings the figures depend on, set in the pool so that option files
// do not change them.
constexpr std::pair<std::string_view, std::string_view> kSettings[] = {
    {"ZEDIT.VIRTUALLOAD", "TRUE"},
    {"ZEDIT.SHOWLINENUM", "TRUE"},
};

using kiv::bench::BenchEditor;
using kiv::bench::LoadTook;
using kiv::bench::positive;

// Per-operation wall times of one figure, with the CPU time of the pass.
struct Figure {
  std::vector<double> us;
  double cpu = 0;

  double mean() const {
    double sum = 0;
    for (double v : us) sum += v;
    return us.empty() ? 0 : sum / static_cast<double>(us.size());
  }
  double median() const {
    if (us.empty()) return 0;
    std::vector<double> sorted = us;
    std::sort(sorted.begin(), sorted.end());
    return sorted[sorted.size() / 2];
  }
  double slowest() const { return us.empty() ? 0 : *std::max_element(us.begin(), us.end()); }
};

void printFigure(const char* label, const Figure& f, const std::string& what) {
  double n = f.us.empty() ? 1 : static_cast<double>(f.us.size());
  std::printf("%s: %.2f us/op (%s; median %.2f us, slowest %.1f us, cpu %.2f us/op, %zu ops)\n", label,
              f.mean(), what.c_str(), f.median(), f.slowest(), f.cpu * 1e6 / n, f.us.size());
}

// Counts the failed checks and says what failed.
struct Checks {
  long failed = 0;
  void expect(bool ok, const char* what, long got, long wanted) {
    if (ok) return;
    if (++failed <= 10) std::fprintf(stderr, "check failed: %s: %ld, expected %ld\n", what, got, wanted);
  }
};

// LOCATE n as typed on the command row, then the screen brought up to date.
void locate(kiv::Session& s, long n) {
  kiv::executeCommandText(s, "LOCATE " + std::to_string(n));
  kiv::refreshScreen(s);
}

// The number LOCATE put on top, checked against the one asked for: by the
// index (ordinalOf) and as the panel numbers it.
void checkTop(kiv::EditPanel& p, long n, Checks& checks) {
  long ordinal = kiv::ordinalOf(p.task, p.task.topLine);
  checks.expect(ordinal + 1 == n, "line number of the top line after LOCATE", ordinal + 1, n);
  long shown = p.lineNumber(p.task.topLine);
  checks.expect(shown == n, "line number the panel shows on top after LOCATE", shown, n);
}

// (a) LOCATE far and LOCATE 1, alternately, each followed by a repaint.
void timeLocate(kiv::Session& s, kiv::EditPanel& p, long far, long repeat, Figure& down, Figure& up,
                Checks& checks) {
  for (long r = 0; r < repeat; ++r) {
    double c0 = cpuSeconds();
    Steady::time_point t0 = Steady::now();
    locate(s, far);
    down.us.push_back(microsSince(t0));
    down.cpu += cpuSeconds() - c0;
    checkTop(p, far, checks);

    c0 = cpuSeconds();
    t0 = Steady::now();
    locate(s, 1);
    up.us.push_back(microsSince(t0));
    up.cpu += cpuSeconds() - c0;
    checkTop(p, 1, checks);
  }
}

// Where the time of the inserts goes, summed over a pass: finding the line
// (textLineAt), the step with the insert, the repaint.
struct Parts {
  double find = 0;
  double insert = 0;
  double repaint = 0;
};

void printParts(const char* label, const Parts& parts, std::size_t ops) {
  double n = ops > 0 ? static_cast<double>(ops) : 1;
  std::printf("%s: find %.2f us/op, insert %.2f us/op, repaint %.2f us/op\n", label, parts.find / n,
              parts.insert / n, parts.repaint / n);
}

// One insert as a line command would make it: the line with `ordinal` TEXT
// lines before it found through the index, the panel's top line put on it,
// an empty line inserted below it in a step of its own, the screen repainted.
// The new line is returned for the checks.
kiv::Line* insertAt(kiv::Session& s, kiv::EditPanel& p, long ordinal, Parts& parts) {
  kiv::Task& task = p.task;
  Steady::time_point t0 = Steady::now();
  kiv::Line* line = kiv::textLineAt(task, ordinal);
  if (!line) return nullptr;
  task.topLine = line;
  p.refreshData();
  Steady::time_point t1 = Steady::now();
  {
    kiv::EditStep step(s);
    if (kiv::insertLinesBelow(task, line, 1) != 0) return nullptr;
  }
  Steady::time_point t2 = Steady::now();
  kiv::refreshScreen(s);
  Steady::time_point t3 = Steady::now();
  using Us = std::chrono::duration<double, std::micro>;
  parts.find += Us(t1 - t0).count();
  parts.insert += Us(t2 - t1).count();
  parts.repaint += Us(t3 - t2).count();
  return line->next;
}

// The line inserted below the line numbered ordinal + 1 is numbered
// ordinal + 2, by the index and on the panel.
void checkInserted(kiv::EditPanel& p, kiv::Line* fresh, long ordinal, Checks& checks) {
  checks.expect(fresh != nullptr, "insert made a line", 0, 1);
  if (!fresh) return;
  checks.expect(fresh->is(kiv::LineKind::Text), "inserted line is TEXT", 0, 1);
  long number = kiv::ordinalOf(p.task, fresh) + 1;
  checks.expect(number == ordinal + 2, "line number of the inserted line", number, ordinal + 2);
  long shown = p.lineNumber(fresh);
  checks.expect(shown == ordinal + 2, "line number the panel shows for the inserted line", shown,
                ordinal + 2);
}

// (b) `repeat` inserts below the last line but one.
Figure timeNearEnd(kiv::Session& s, kiv::EditPanel& p, long repeat, Parts& parts, Checks& checks) {
  Figure f;
  long before = p.task.textLines;
  for (long r = 0; r < repeat; ++r) {
    long ordinal = p.task.textLines - 2;
    double c0 = cpuSeconds();
    Steady::time_point t0 = Steady::now();
    kiv::Line* fresh = insertAt(s, p, ordinal, parts);
    f.us.push_back(microsSince(t0));
    f.cpu += cpuSeconds() - c0;
    checkInserted(p, fresh, ordinal, checks);
  }
  checks.expect(p.task.textLines == before + repeat, "TEXT lines after the inserts near the end",
                p.task.textLines, before + repeat);
  return f;
}

// (c) `inserts` inserts below lines chosen uniformly over the file.
Figure timeScattered(kiv::Session& s, kiv::EditPanel& p, long inserts, unsigned long seed,
                     Parts& parts, Checks& checks) {
  Figure f;
  std::mt19937_64 random(seed);
  long before = p.task.textLines;
  for (long r = 0; r < inserts; ++r) {
    double c0 = cpuSeconds();
    Steady::time_point t0 = Steady::now();
    long ordinal = std::uniform_int_distribution<long>(0, p.task.textLines - 1)(random);
    kiv::Line* fresh = insertAt(s, p, ordinal, parts);
    f.us.push_back(microsSince(t0));
    f.cpu += cpuSeconds() - c0;
    checkInserted(p, fresh, ordinal, checks);
  }
  checks.expect(p.task.textLines == before + inserts, "TEXT lines after the scattered inserts",
                p.task.textLines, before + inserts);
  return f;
}

// The whole store walked once: the TEXT lines counted against the task's
// count, and the index's number of every 10,000th TEXT line (and the last)
// against the count so far.
void checkStore(kiv::Task& task, Checks& checks) {
  long text = 0;
  for (kiv::Line* line = task.lines.first; line; line = line->next) {
    if (!line->is(kiv::LineKind::Text)) continue;
    if (text % 10000 == 0 || text + 1 == task.textLines) {
      long ordinal = kiv::ordinalOf(task, line);
      checks.expect(ordinal == text, "ordinalOf against a walk of the store", ordinal, text);
      checks.expect(kiv::textLineAt(task, text) == line, "textLineAt against a walk of the store", 0, 1);
    }
    ++text;
  }
  checks.expect(text == task.textLines, "TEXT lines in a walk of the store", text, task.textLines);
}

int measure(kiv::Session& s, kiv::EditPanel& p, const Options& o) {
  kiv::Task& task = p.task;
  Checks checks;
  long far = std::max(task.textLines - 1, 1L);
  std::size_t segments = task.index.segments();

  Figure down, up;
  timeLocate(s, p, far, o.repeat, down, up, checks);
  printFigure("locate far", down, "LOCATE " + std::to_string(far) + " + repaint");
  printFigure("locate top", up, "LOCATE 1 + repaint");

  Parts endParts, scatteredParts;
  Figure end = timeNearEnd(s, p, o.repeat, endParts, checks);
  printFigure("insert near end", end, "textLineAt + insert below the last line but one + repaint");
  printParts("insert near end, parts", endParts, end.us.size());

  Figure scattered = timeScattered(s, p, o.inserts, o.seed, scatteredParts, checks);
  printFigure("insert scattered", scattered,
              "random line by textLineAt + insert below it + repaint, seed " + std::to_string(o.seed));
  printParts("insert scattered, parts", scatteredParts, scattered.us.size());

  checkStore(task, checks);
  std::printf("index segments: %zu (after the inserts %zu)\n", segments, task.index.segments());
  std::printf("checks: %s (%ld failed)\n", checks.failed == 0 ? "ok" : "FAILED", checks.failed);
  return checks.failed == 0 ? 0 : 1;
}

int run(const Options& o) {
  BenchEditor editor(o.rows, o.cols);
  kiv::Session& s = editor.session();
  LoadTook took;
  kiv::Task* task = editor.loadWhole(kSettings, o.file, took);
  if (!task) return 1;
  std::printf(
      "load: %.1f ms (createTask and every chunk + first repaint; cpu %.1f ms, %ld lines)\n",
      took.ms, took.cpuMs, task->textLines);
  int rc = 0;
  kiv::EditPanel* panel = kiv::currentEditPanel(s);
  if (!panel) {
    std::fprintf(stderr, "no edit panel\n");
    rc = 1;
  } else if (o.lines > 0 && task->textLines != o.lines) {
    std::fprintf(stderr, "loaded %ld lines, expected %ld\n", task->textLines, o.lines);
    rc = 1;
  } else if (task->textLines < 3) {
    std::fprintf(stderr, "the file needs at least 3 lines\n");
    rc = 1;
  } else {
    rc = measure(s, *panel, o);
  }
  std::printf("messages: %zu\n", editor.messages());
  // Nothing inserted may reach the file.
  task->modified = false;
  kiv::destroyTask(*task);
  return rc;
}

int usage(const char* program) {
  std::fprintf(stderr,
               "usage: %s [--rows R] [--cols C] [--repeat N] [--inserts N] [--seed S] [--lines N] FILE\n",
               program);
  return 2;
}

bool parseArgs(int argc, char** argv, Options& o) {
  for (int i = 1; i < argc; ++i) {
    std::string_view a = argv[i];
    bool valued = a == "--rows" || a == "--cols" || a == "--repeat" || a == "--inserts" ||
                  a == "--seed" || a == "--lines";
    if (valued) {
      long v = i + 1 < argc ? positive(argv[++i]) : 0;
      if (v == 0 || v > 1000000000) return false;
      if (a == "--rows") o.rows = static_cast<int>(v);
      else if (a == "--cols") o.cols = static_cast<int>(v);
      else if (a == "--repeat") o.repeat = v;
      else if (a == "--inserts") o.inserts = v;
      else if (a == "--seed") o.seed = static_cast<unsigned long>(v);
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
  return run(o);
}
