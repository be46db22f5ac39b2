// Times the edit panel the way a person uses it, for bench/screen.sh: an
// editor session started as the program starts it, over the headless
// platform, opens FILE as an edit task; then
//   - start to the first screen (createTask to the first refreshScreen),
//   - paging down with F8 to the bottom-of-data line (loading the file
//     piecemeal on the way) and back up with F7 to the top-of-data line,
//   - typing characters into the data rows one event at a time, with a
//     refreshScreen after each as the terminal loop does, counting the rows
//     that each keystroke repaints.
// Prints one line per figure, "label: value unit (details)". The task is
// destroyed unmodified at the end: the file is never written.
//
// Usage: kiv_screenbench [--rows R] [--cols C] [--chars N] [--first-only] FILE
//   --first-only  stops after the first screen (the script times the whole
//                 process beside a peer's start-up)
#include <stdlib.h>
#include <time.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "bench_args.h"
#include "bench_editor.h"
#include "commands/editor_start.h"
#include "core/line.h"
#include "core/session.h"
#include "core/startup.h"
#include "core/task_life.h"
#include "platform/headless_platform.h"
#include "screen/edit_panel.h"
#include "screen/key_router.h"
#include "screen/panel.h"
#include "screen/screen_state.h"
#include "services/var_pool.h"

namespace {

namespace fs = std::filesystem;
using kiv::platform::Key;
using kiv::platform::KeyEvent;
using Steady = std::chrono::steady_clock;

struct Options {
  int rows = 24;
  int cols = 80;
  long chars = 10000;
  bool firstOnly = false;
  std::string file;
};

// Wall and CPU time of this process, in seconds.
struct Stamp {
  double wall = 0;
  double cpu = 0;
};

Stamp now() {
  timespec wall{}, cpu{};
  ::clock_gettime(CLOCK_MONOTONIC, &wall);
  ::clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &cpu);
  return {wall.tv_sec + wall.tv_nsec / 1e9, cpu.tv_sec + cpu.tv_nsec / 1e9};
}

Stamp since(const Stamp& start) {
  Stamp end = now();
  return {end.wall - start.wall, end.cpu - start.cpu};
}

// The settings the figures depend on, set in the pool so that option files
// do not change them.
constexpr std::pair<std::string_view, std::string_view> kSettings[] = {
    {"ZPF07.MAP", "Up"},
    {"ZPF08.MAP", "Down"},
    {"ZEDIT.SCROLL.V.MODE", "PAGE"},
    {"ZEDIT.VIRTUALLOAD", "TRUE"},
};

using kiv::bench::BenchEditor;
using kiv::bench::positive;

// One key through the router, then the screen brought up to date.
void press(kiv::Session& s, const KeyEvent& key) {
  kiv::handleEvent(s, key);
  kiv::refreshScreen(s);
}

// A line of that kind stands on one of the data rows.
bool kindShown(kiv::EditPanel& p, kiv::LineKind kind) {
  for (int row = p.firstDataRow; row < p.firstDataRow + p.dataRows; ++row) {
    kiv::Line* line = p.lineAtRow(row);
    if (line && line->is(kind)) return true;
  }
  return false;
}

struct Pass {
  long pages = 0;
  Stamp total;
  double slowestWall = 0;
  bool ok = true;
};

// Presses `key` until a line of `until` is on the screen; stops with !ok
// when a press no longer moves the view.
Pass pageUntil(kiv::Session& s, kiv::EditPanel& p, Key key, kiv::LineKind until) {
  Pass pass;
  Stamp start = now();
  while (!kindShown(p, until)) {
    const kiv::Line* top = p.task.topLine;
    Steady::time_point t0 = Steady::now();
    press(s, KeyEvent{key});
    double wall = std::chrono::duration<double>(Steady::now() - t0).count();
    if (wall > pass.slowestWall) pass.slowestWall = wall;
    ++pass.pages;
    if (p.task.topLine == top) {
      pass.ok = false;
      break;
    }
  }
  pass.total = since(start);
  return pass;
}

// The data rows that show TEXT lines, top to bottom.
std::vector<int> textRows(kiv::EditPanel& p) {
  std::vector<int> rows;
  for (int row = p.firstDataRow; row < p.firstDataRow + p.dataRows; ++row) {
    kiv::Line* line = p.lineAtRow(row);
    if (line && line->is(kiv::LineKind::Text)) rows.push_back(row);
  }
  return rows;
}

struct Typing {
  long chars = 0;
  Stamp total;
  long rowsRepainted = 0;
  long dataRowsRepainted = 0;
  int mostRows = 0;
};

// Rows waiting to be painted once the panel is up to date: what the next
// refreshScreen paints. The data rows among them go to `dataRows`.
int pendingRows(kiv::EditPanel& p, int& dataRows) {
  p.update();
  int count = 0;
  dataRows = 0;
  for (int row = 1; row <= p.rows; ++row) {
    if (!p.dirty(row)) continue;
    ++count;
    if (p.dataIndex(row) >= 0) ++dataRows;
  }
  return count;
}

// Types `chars` characters across the data area of the TEXT rows, moving
// to the next row when one is full, the way a typist would.
Typing typeChars(kiv::Session& s, kiv::EditPanel& p, long chars) {
  Typing t;
  std::vector<int> rows = textRows(p);
  int width = p.dataWidth();
  if (rows.empty() || width <= 0) return t;
  int firstCol = p.prefixWidth() + 1;
  Stamp start = now();
  for (long i = 0; i < chars; ++i) {
    if (i % width == 0)
      kiv::setCursor(p, rows[static_cast<std::size_t>((i / width) % rows.size())], firstCol);
    kiv::handleEvent(s, KeyEvent{Key::Char, static_cast<char32_t>('a' + i % 26)});
    int dataRows = 0;
    int repainted = pendingRows(p, dataRows);
    kiv::refreshScreen(s);
    t.rowsRepainted += repainted;
    t.dataRowsRepainted += dataRows;
    if (repainted > t.mostRows) t.mostRows = repainted;
    ++t.chars;
  }
  t.total = since(start);
  return t;
}

double perUs(double seconds, long n) { return n > 0 ? seconds * 1e6 / static_cast<double>(n) : 0; }

void printPass(const char* label, const Pass& pass) {
  std::printf("%s: %.2f us/page cpu (%ld pages, wall %.2f us/page, slowest page %.2f ms wall)\n",
              label, perUs(pass.total.cpu, pass.pages), pass.pages, perUs(pass.total.wall, pass.pages),
              pass.slowestWall * 1e3);
}

void printTyping(const Typing& t) {
  double n = t.chars > 0 ? static_cast<double>(t.chars) : 1;
  std::printf("typing: %.2f us/char cpu (%ld chars, wall %.2f us/char)\n", perUs(t.total.cpu, t.chars),
              t.chars, perUs(t.total.wall, t.chars));
  std::printf("rows repainted per keystroke: %.2f (at most %d; data rows %.2f)\n",
              static_cast<double>(t.rowsRepainted) / n, t.mostRows,
              static_cast<double>(t.dataRowsRepainted) / n);
}

// Pages down and up, types, and prints the figures; 0 or 1.
int pageAndType(kiv::Session& s, kiv::EditPanel& p, const Options& o) {
  Pass down = pageUntil(s, p, Key::F8, kiv::LineKind::Bof);
  long lines = static_cast<long>(p.task.lines.count);
  Pass up = pageUntil(s, p, Key::F7, kiv::LineKind::Tof);
  printPass("page down (loading)", down);
  printPass("page up (loaded)", up);
  Pass both{down.pages + up.pages, {down.total.wall + up.total.wall, down.total.cpu + up.total.cpu},
            std::max(down.slowestWall, up.slowestWall), true};
  printPass("page (both ways)", both);
  std::printf("lines in store: %ld\n", lines);
  if (!down.ok || !up.ok) {
    std::fprintf(stderr, "paging stopped moving before reaching the %s\n", down.ok ? "top" : "bottom");
    return 1;
  }
  Typing t = typeChars(s, p, o.chars);
  if (t.chars == 0) {
    std::fprintf(stderr, "no TEXT line on the screen to type into\n");
    return 1;
  }
  printTyping(t);
  return 0;
}

int run(const Options& o) {
  BenchEditor editor(o.rows, o.cols);
  kiv::Session& s = editor.session();
  Stamp start = now();
  if (!editor.start(kSettings)) {
    std::fprintf(stderr, "the session did not start\n");
    return 1;
  }
  Stamp started = since(start);
  Stamp open = now();
  kiv::Task* task = kiv::createTask(s, o.file, kiv::TaskMode::Edit);
  if (!task) {
    std::fprintf(stderr, "cannot open %s\n", o.file.c_str());
    return 1;
  }
  kiv::refreshScreen(s);
  Stamp first = since(open);
  std::printf("session start: %.3f ms wall (cpu %.3f ms)\n", started.wall * 1e3, started.cpu * 1e3);
  std::printf("first screen: %.3f ms wall (cpu %.3f ms, %ld lines loaded)\n", first.wall * 1e3,
              first.cpu * 1e3, static_cast<long>(task->lines.count));
  int rc = 0;
  if (!o.firstOnly) {
    kiv::EditPanel* panel = kiv::currentEditPanel(s);
    rc = panel ? pageAndType(s, *panel, o) : 1;
  }
  std::printf("questions asked: %d, messages: %zu\n", editor.questions(), editor.messages());
  // Nothing typed may reach the file.
  task->modified = false;
  kiv::destroyTask(*task);
  return rc;
}

int usage(const char* program) {
  std::fprintf(stderr, "usage: %s [--rows R] [--cols C] [--chars N] [--first-only] FILE\n", program);
  return 2;
}

bool parseArgs(int argc, char** argv, Options& o) {
  for (int i = 1; i < argc; ++i) {
    std::string_view a = argv[i];
    bool valued = a == "--rows" || a == "--cols" || a == "--chars";
    if (valued) {
      long v = i + 1 < argc ? positive(argv[++i]) : 0;
      if (v == 0 || v > 1000000000) return false;
      if (a == "--rows") o.rows = static_cast<int>(v);
      else if (a == "--cols") o.cols = static_cast<int>(v);
      else o.chars = v;
    } else if (a == "--first-only") {
      o.firstOnly = true;
    } else if (!a.starts_with("--") && o.file.empty()) {
      o.file = a;
    } else {
      return false;
    }
  }
  return !o.file.empty();
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
