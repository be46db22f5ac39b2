// Times SORT, and UNDO and REDO of a SORT, on a file of any size, for
// bench/sort.sh. For each operation an editor session is started as the
// program starts it, over the headless platform, FILE is opened as an edit
// task and loaded whole (not timed), and then the command, typed as on the
// command row (executeCommandText: its own undo step), and one refreshScreen
// are timed:
//   sort1    SORT 1 20                       (one field)
//   sort3    SORT A 1 20 D 21 28 A 29 32     (three fields, the middle one
//                                             descending)
//   undo     SORT 1 20, then UNDO, then REDO, each timed with its repaint,
//            and the undo journal's bytes after the SORT
//   stages   no command: the stages of SORT 1 20 apart, to tell where its
//            time goes: the walk collecting the TEXT lines; sortByFields
//            (the keys and their stable sort); reorderLines with that order
// Prints one line per figure, "label: total ms (...)", with the command and
// the repaint, the user and system CPU time (getrusage) and the cost per
// line in nanoseconds, of wall time and of user time.
//
// The file is the one bench/sort.sh writes: records of 80 bytes, a name in
// columns 1-20, an amount right-aligned in 21-28, a code in 29-32, words in
// 33-72 and the record's serial number (1, 2, ... in file order) in 73-80,
// so that every line is different and the order equal keys had can be told.
// --sorted1 and --sorted3 name the peer's output for the two sorts. The
// program checks its own work and exits with 1 when something is wrong:
// after SORT the message, the count of lines, the lines' texts in order
// equal to the peer's output line for line, and on its own: every pair of
// neighbours in key order, equal keys in the order of their serials (the
// sort is stable); after UNDO every text equal to FILE line for line, no
// message and something to redo; after REDO the texts equal to the sorted
// output again and nothing left to redo. A walk (not timed) first checks
// the loaded file: 80-byte records, the serials 1 to N in order. Tasks are
// destroyed with their modified flag cleared: the file is never written.
//
// Usage: kiv_sortbench [--rows R] [--cols C] [--lines N] --sorted1 FILE
//                      --sorted3 FILE [--ops sort1,sort3,undo,stages] FILE
//   --lines  the number of lines the file must load to
#include <sys/resource.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "bench_args.h"
#include "bench_editor.h"
#include "bench_measure.h"
#include "commands/executor.h"
#include "commands/sort_keys.h"
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

constexpr std::string_view kSortOne = "SORT 1 20";
constexpr std::string_view kSortThree = "SORT A 1 20 D 21 28 A 29 32";
constexpr std::size_t kRecord = 80;

// A field of the record: 0-based offset, length, descending.
struct Key {
  std::size_t at;
  std::size_t length;
  bool descending;
};
const std::vector<Key> kOneKey{{0, 20, false}};
const std::vector<Key> kThreeKeys{{0, 20, false}, {20, 8, true}, {28, 4, false}};

struct Options {
  int rows = 24;
  int cols = 80;
  long lines = 0;  // 0: not checked
  std::string sorted1;
  std::string sorted3;
  std::vector<std::string> ops{"sort1", "sort3", "undo", "stages"};
  std::string file;
};

// The settings the figures depend on, set in the pool so that option files
// do not change them.
constexpr std::pair<std::string_view, std::string_view> kSettings[] = {
    {"ZEDIT.VIRTUALLOAD", "TRUE"},
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

// The serial number in columns 73-80, -1 when it is not one.
long serialOf(std::string_view text) {
  if (text.size() != kRecord) return -1;
  long v = 0;
  for (char c : text.substr(72)) {
    if (c < '0' || c > '9') return -1;
    v = v * 10 + (c - '0');
  }
  return v;
}

// The texts of the TEXT lines in order against a file, line for line (each
// line of the file without its line feed); the first difference is reported.
void compareWithFile(kiv::Task& task, const std::string& path, const std::string& what,
                     Checks& checks) {
  std::FILE* in = std::fopen(path.c_str(), "rb");
  if (!in) {
    checks.expectText(false, what + ": cannot read", path, "a file");
    return;
  }
  char* buffer = nullptr;
  std::size_t capacity = 0;
  long differing = 0, fileLines = 0, firstDiffering = -1;
  std::string kivText, fileText;
  kiv::Line* p = task.lines.first;
  auto nextText = [&]() {
    while (p && !p->is(kiv::LineKind::Text)) p = p->next;
    kiv::Line* at = p;
    if (p) p = p->next;
    return at;
  };
  for (ssize_t got; (got = ::getline(&buffer, &capacity, in)) >= 0; ++fileLines) {
    std::string_view line(buffer, static_cast<std::size_t>(got));
    if (!line.empty() && line.back() == '\n') line.remove_suffix(1);
    kiv::Line* text = nextText();
    if (!text || text->text() != line) {
      if (firstDiffering < 0) {
        firstDiffering = fileLines;
        kivText = text ? std::string(text->text()) : std::string("(no line)");
        fileText = line;
      }
      ++differing;
    }
  }
  std::free(buffer);
  std::fclose(in);
  long extra = 0;
  while (nextText()) ++extra;
  checks.expect(extra == 0, what + ": lines beyond the file's", extra, 0);
  checks.expect(differing == 0, what + ": lines differing from " + path, differing, 0);
  if (firstDiffering >= 0)
    checks.expectText(false, what + ": line " + std::to_string(firstDiffering + 1), kivText,
                      fileText);
}

// Key order on its own: each pair of neighbours in order of the keys, equal
// keys in the order of their serials.
void checkOrder(kiv::Task& task, const std::vector<Key>& keys, const std::string& what,
                Checks& checks) {
  std::string_view before;
  long outOfOrder = 0, unstable = 0, ties = 0, first = -1;
  eachText(task, [&](kiv::Line* p, long i) {
    std::string_view text = p->text();
    if (i > 0) {
      int c = 0;
      for (const Key& k : keys) {
        c = std::memcmp(before.data() + k.at, text.data() + k.at, k.length);
        if (k.descending) c = -c;
        if (c != 0) break;
      }
      if (c == 0) ++ties;
      bool bad = c > 0 || (c == 0 && serialOf(before) >= serialOf(text));
      if (bad && first < 0) first = i;
      outOfOrder += c > 0;
      unstable += c == 0 && serialOf(before) >= serialOf(text);
    }
    before = text;
  });
  checks.expect(outOfOrder == 0, what + ": neighbours out of key order", outOfOrder, 0);
  checks.expect(unstable == 0, what + ": equal keys out of their old order", unstable, 0);
  checks.expect(first < 0, what + ": the first line out of order (1-based)", first + 1, 0);
  // Stability is only tested where keys repeat: the file is made so that
  // they do.
  checks.expect(ties > 0, what + ": neighbours with equal keys", ties, 1);
}

struct Timing {
  double commandMs = 0;
  double repaintMs = 0;
  Cpu cpu;
};

// The command as typed on the command row, then the repaint.
Timing run(kiv::Session& s, std::string_view command) {
  Timing t;
  Cpu c0 = cpuNow();
  Steady::time_point t0 = Steady::now();
  kiv::executeCommandText(s, std::string(command));
  t.commandMs = msSince(t0);
  Steady::time_point t1 = Steady::now();
  kiv::refreshScreen(s);
  t.repaintMs = msSince(t1);
  Cpu c1 = cpuNow();
  t.cpu = {c1.user - c0.user, c1.sys - c0.sys};
  return t;
}

void printFigure(const std::string& label, const Timing& t, long lines, std::string_view what) {
  double total = t.commandMs + t.repaintMs;
  double n = lines > 0 ? static_cast<double>(lines) : 1;
  std::printf(
      "%s: %.2f ms (%.*s; command %.2f ms, repaint %.3f ms, user %.1f ms, sys %.1f ms, %ld lines, "
      "%.1f ns/line, user %.1f ns/line)\n",
      label.c_str(), total, static_cast<int>(what.size()), what.data(), t.commandMs, t.repaintMs,
      t.cpu.user, t.cpu.sys, lines, total * 1e6 / n, t.cpu.user * 1e6 / n);
}

// A SORT typed and timed, then checked against the peer's output and on its
// own; one message, "Sort complete.".
Timing timeSort(BenchEditor& editor, kiv::Task& task, std::string_view command,
                const std::vector<Key>& keys, const std::string& sorted, Checks& checks) {
  long n = task.textLines;
  std::size_t before = editor.messages();
  Timing t = run(editor.session(), command);
  std::string what(command);
  std::size_t said = editor.messages() - before;
  checks.expect(said == 1, what + ": messages", static_cast<long>(said), 1);
  checks.expectText(editor.lastMessage() == "Sort complete.", what + ": message",
                    editor.lastMessage(), "Sort complete.");
  checks.expect(task.textLines == n, what + ": TEXT lines", task.textLines, n);
  compareWithFile(task, sorted, what, checks);
  checkOrder(task, keys, what, checks);
  checks.expect(!task.journal.undo.empty(), what + ": undo records", 0, 1);
  checks.expect(task.journal.redo.empty(), what + ": redo records (0: none)",
                static_cast<long>(task.journal.redo.size()), 0);
  return t;
}

// UNDO or REDO as typed on the command row, then the repaint; the texts
// after it checked against `wanted` line for line, and no message said.
Timing timeReplay(BenchEditor& editor, kiv::Task& task, std::string_view command,
                  const std::string& wanted, Checks& checks) {
  long n = task.textLines;
  std::size_t before = editor.messages();
  Timing t = run(editor.session(), command);
  std::string what(command);
  std::size_t said = editor.messages() - before;
  checks.expect(said == 0, what + ": messages", static_cast<long>(said), 0);
  if (said > 0) checks.expectText(false, what + ": message", editor.lastMessage(), "");
  checks.expect(task.textLines == n, what + ": TEXT lines", task.textLines, n);
  compareWithFile(task, wanted, what, checks);
  return t;
}

// SORT 1 20, then UNDO (every line back where it was: the texts equal the
// file), then REDO (sorted again), each timed with its repaint; the undo
// journal's bytes after the SORT.
void timeUndo(BenchEditor& editor, kiv::Task& task, const Options& o, Checks& checks) {
  long n = task.textLines;
  Timing t = timeSort(editor, task, kSortOne, kOneKey, o.sorted1, checks);
  printFigure("undo sort", t, n, kSortOne);
  const kiv::UndoJournal& j = task.journal;
  std::printf("undo journal: %zu bytes (after SORT; %zu records, %.1f bytes/line)\n",
              j.undo.bytes(), j.undo.size(),
              static_cast<double>(j.undo.bytes()) / static_cast<double>(n));
  Timing u = timeReplay(editor, task, "UNDO", o.file, checks);
  checks.expect(!j.redo.empty(), "UNDO: redo records", static_cast<long>(j.redo.size()), 1);
  printFigure("undo undo", u, n, "UNDO of SORT 1 20");
  Timing r = timeReplay(editor, task, "REDO", o.sorted1, checks);
  checks.expect(j.redo.empty(), "REDO: redo records left", static_cast<long>(j.redo.size()), 0);
  printFigure("undo redo", r, n, "REDO of SORT 1 20");
}

// A figure without a command: the user and wall time of `f` alone.
template <class F>
void timeAlone(const std::string& label, long lines, std::string_view what, F f) {
  Cpu c0 = cpuNow();
  Steady::time_point t0 = Steady::now();
  f();
  Timing t;
  t.commandMs = msSince(t0);
  Cpu c1 = cpuNow();
  t.cpu = {c1.user - c0.user, c1.sys - c0.sys};
  printFigure(label, t, lines, what);
}

// The stages of SORT 1 20 one after the other, each timed alone; the texts
// after reorderLines checked as after SORT.
void timeStages(BenchEditor& editor, kiv::Task& task, const Options& o, Checks& checks) {
  long n = task.textLines;
  std::vector<kiv::Line*> lines;
  timeAlone("stage collect", n, "the TEXT lines into a vector", [&] {
    for (kiv::Line* p = task.lines.first; p; p = p->next)
      if (p->is(kiv::LineKind::Text)) lines.push_back(p);
  });
  std::vector<kiv::Line*> sorted = lines;
  timeAlone("stage sortByFields", n, "the keys of columns 1-20 and their stable sort",
            [&] { kiv::sortByFields(sorted, {kiv::SortField{false, 1, 20}}, false); });
  int rc = 0;
  timeAlone("stage reorderLines", n, "reorderLines with the new order",
            [&] { rc = kiv::reorderLines(task, lines, sorted); });
  checks.expect(rc == 0, "stages: reorderLines", rc, 0);
  kiv::refreshScreen(editor.session());
  checks.expect(task.textLines == n, "stages: TEXT lines", task.textLines, n);
  compareWithFile(task, o.sorted1, "stages", checks);
}

// The loaded file: records of 80 bytes numbered 1 to N in order.
void checkLoaded(kiv::Task& task, Checks& checks) {
  long wrong = 0;
  eachText(task, [&](kiv::Line* p, long i) { wrong += serialOf(p->text()) != i + 1; });
  checks.expect(wrong == 0, "loaded file: lines not 80 bytes ending in their serial", wrong, 0);
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
  } else {
    checkLoaded(*task, checks);
    long n = task->textLines;
    if (op == "sort1") {
      printFigure(op, timeSort(editor, *task, kSortOne, kOneKey, o.sorted1, checks), n, kSortOne);
    } else if (op == "sort3") {
      printFigure(op, timeSort(editor, *task, kSortThree, kThreeKeys, o.sorted3, checks), n,
                  kSortThree);
    } else if (op == "undo") {
      timeUndo(editor, *task, o, checks);
    } else {
      timeStages(editor, *task, o, checks);
    }
  }
  // Nothing changed may reach the file.
  task->modified = false;
  kiv::destroyTask(*task);
  return rc;
}

int usage(const char* program) {
  std::fprintf(stderr,
               "usage: %s [--rows R] [--cols C] [--lines N] --sorted1 FILE --sorted3 FILE\n"
               "          [--ops sort1,sort3,undo,stages] FILE\n",
               program);
  return 2;
}

bool parseArgs(int argc, char** argv, Options& o) {
  for (int i = 1; i < argc; ++i) {
    std::string_view a = argv[i];
    if (a == "--ops") {
      if (i + 1 >= argc || !parseOps(argv[++i], {"sort1", "sort3", "undo", "stages"}, o.ops))
        return false;
    } else if (a == "--sorted1" || a == "--sorted3") {
      if (i + 1 >= argc) return false;
      (a == "--sorted1" ? o.sorted1 : o.sorted3) = argv[++i];
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
  return !o.file.empty() && !o.sorted1.empty() && !o.sorted3.empty() && o.rows >= 5;
}

}  // namespace

int main(int argc, char** argv) {
  Options o;
  if (!parseArgs(argc, argv, o)) return usage(argv[0]);
  // An edit task would create a missing file: the benchmark only reads.
  std::error_code ec;
  for (const std::string* path : {&o.file, &o.sorted1, &o.sorted3})
    if (!fs::is_regular_file(*path, ec)) {
      std::fprintf(stderr, "%s: no such file\n", path->c_str());
      return 1;
    }
  Checks checks;
  int rc = 0;
  for (const std::string& op : o.ops) {
    rc |= runOne(o, op, checks);
    std::fflush(stdout);
  }
  std::printf("checks: %s (%ld failed)\n", checks.failed == 0 && rc == 0 ? "ok" : "FAILED",
              checks.failed);
  return checks.failed == 0 && rc == 0 ? 0 : 1;
}
