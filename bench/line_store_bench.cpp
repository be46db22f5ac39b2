// Builds and frees a line store of 1,000,000 lines of 80 bytes, as the loader
// would: TOF, one TEXT line per record, BOF. Reports the time per line and
// the memory per line, by the allocator's byte counter and by the growth of
// the resident set.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <algorithm>
#include <fstream>
#include <string>

#include "core/line_ops.h"
#include "core/session.h"
#include "platform/headless_platform.h"

namespace {

constexpr int kLines = 1000000;
constexpr int kRecordLength = 80;

long residentBytes() {
  std::ifstream statm("/proc/self/statm");
  long size = 0;
  long resident = 0;
  statm >> size >> resident;
  return resident * ::sysconf(_SC_PAGESIZE);
}

void BM_LineStoreBuildAndFree(benchmark::State& state) {
  std::string record(kRecordLength, 'x');
  double counted = 0;
  double resident = 0;
  for (auto _ : state) {
    kiv::platform::HeadlessPlatform platform;
    kiv::Session session(platform);
    long before = residentBytes();
    {
      kiv::Task task(session);
      kiv::initLineStore(task);
      for (int i = 0; i < kLines; ++i) {
        record[static_cast<std::size_t>(i % kRecordLength)] = static_cast<char>('a' + i % 26);
        kiv::linkLineBefore(task, nullptr, kiv::createLine(task, record, kiv::LineKind::Text));
      }
      kiv::finishLineStore(task);
      counted = static_cast<double>(session.allocator().bytes()) / kLines;
      resident = std::max(resident, static_cast<double>(residentBytes() - before) / kLines);
      benchmark::DoNotOptimize(task.lines.last);
    }
  }
  state.counters["s_per_line"] = benchmark::Counter(
      kLines, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
  state.counters["bytes_per_line"] = counted;
  state.counters["rss_per_line"] = resident;
}
BENCHMARK(BM_LineStoreBuildAndFree)->Unit(benchmark::kMillisecond)->Iterations(5);

}  // namespace
