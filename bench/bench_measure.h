// What the benchmark programs share to time and check a command: wall and
// CPU clocks, a tally of failed checks, the TEXT lines of a task in order.
#pragma once

#include <sys/resource.h>

#include <chrono>
#include <cstdio>
#include <string>
#include <string_view>

#include "core/line.h"
#include "core/task.h"

namespace kiv::bench {

using Steady = std::chrono::steady_clock;

// User and system CPU so far, in milliseconds.
struct Cpu {
  double user = 0;
  double sys = 0;
};

inline Cpu cpuNow() {
  rusage u{};
  ::getrusage(RUSAGE_SELF, &u);
  auto ms = [](const timeval& t) {
    return static_cast<double>(t.tv_sec) * 1e3 + static_cast<double>(t.tv_usec) / 1e3;
  };
  return {ms(u.ru_utime), ms(u.ru_stime)};
}

inline double msSince(Steady::time_point t0) {
  return std::chrono::duration<double, std::milli>(Steady::now() - t0).count();
}

// Counts the failed checks and says what failed (the first ten).
struct Checks {
  long failed = 0;
  void expect(bool ok, const std::string& what, long got, long wanted) {
    if (ok) return;
    if (++failed <= 10)
      std::fprintf(stderr, "check failed: %s: %ld, expected %ld\n", what.c_str(), got, wanted);
  }
  void expectText(bool ok, const std::string& what, std::string_view got, std::string_view wanted) {
    if (ok) return;
    if (++failed <= 10)
      std::fprintf(stderr, "check failed: %s: '%.*s', expected '%.*s'\n", what.c_str(),
                   static_cast<int>(got.size()), got.data(), static_cast<int>(wanted.size()),
                   wanted.data());
  }
};

// Every TEXT line in file order, with its 0-based number.
template <class F>
void eachText(kiv::Task& task, F f) {
  long ordinal = 0;
  for (kiv::Line* p = task.lines.first; p; p = p->next)
    if (p->is(kiv::LineKind::Text)) f(p, ordinal++);
}

}  // namespace kiv::bench
