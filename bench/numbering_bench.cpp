// RENUMBER beside the load of the same file, in one run: a file of 1,000,000
// records of 80 bytes (as bench/common.sh makes them) is written once to a
// temporary folder, then
//   BM_NumberingLoad          openTask + loadAll of the file,
//   BM_NumberingRenumber      renumberAll (STANDARD columns 73 to 80, from 10
//                             by 10) in one EditStep on the loaded file, whose
//                             columns hold letters: every line is rewritten,
//   BM_NumberingRenumberAgain the same on a file already numbered so: every
//                             line is compared and left alone.
// Run with bench/run.sh --benchmark_filter=Numbering. Each renumber is
// checked (first, middle and last number); a wrong one fails the run.
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>

#include "core/edit_step.h"
#include "core/file_load.h"
#include "core/file_profile.h"
#include "core/line.h"
#include "core/line_numbering.h"
#include "core/line_ops.h"
#include "core/session.h"
#include "platform/headless_platform.h"

namespace {

namespace fs = std::filesystem;

constexpr long kRecords = 1000000;

// The records of bench/common.sh: an 8-digit number, a blank, 71 letters.
class RecordFile {
 public:
  RecordFile() {
    std::string tmpl = (fs::temp_directory_path() / "kivnumbench-XXXXXX").string();
    if (!::mkdtemp(tmpl.data())) return;
    dir_ = tmpl;
    path_ = dir_ + "/records.txt";
    std::string s =
        "the quick brown fox jumps over the lazy dog THE QUICK BROWN FOX JUMPS OVER THE LAZY DOG "
        "0123456789 ";
    s += s;
    std::FILE* out = std::fopen(path_.c_str(), "w");
    if (!out) return;
    for (long i = 1; i <= kRecords; ++i)
      std::fprintf(out, "%08ld %s\n", i, s.substr(static_cast<std::size_t>(i % 97), 71).c_str());
    std::fclose(out);
  }
  ~RecordFile() {
    std::error_code ec;
    if (!dir_.empty()) fs::remove_all(dir_, ec);
  }
  const std::string& path() const { return path_; }

 private:
  std::string dir_;
  std::string path_;
};

const RecordFile& records() {
  static RecordFile file;
  return file;
}

std::unique_ptr<kiv::Task> load(kiv::Session& s) {
  std::unique_ptr<kiv::Task> task = kiv::openTask(s, records().path(), kiv::TaskMode::Edit);
  if (task && kiv::loadAll(*task) != 0) task.reset();
  return task;
}

void numberStandard(kiv::FileProfile& p) {
  p.numberType = kiv::NumberType::Standard;
  p.numberColStart = 73;
  p.numberColEnd = 80;
  p.numberStart = p.numberIncrement = 10;
  p.maxRecLen = std::max(p.maxRecLen, 80);
  p.locked = true;  // nothing is written back
}

// The number in columns 73 to 80 of the n-th TEXT line.
std::string numberOf(kiv::Task& task, long n) {
  kiv::Line* line = kiv::textLineAt(task, n);
  return line && line->length() >= 80 ? std::string(line->text().substr(72, 8)) : "?";
}

bool numberedRight(kiv::Task& task) {
  return task.textLines == kRecords && numberOf(task, 0) == "00000010" &&
         numberOf(task, kRecords / 2) == "05000010" && numberOf(task, kRecords - 1) == "10000000";
}

// A session over the headless platform; the task goes before it.
struct Bench {
  kiv::platform::HeadlessPlatform platform;
  kiv::Session session{platform};
  std::unique_ptr<kiv::Task> task;
  ~Bench() { task.reset(); }
};

void BM_NumberingLoad(benchmark::State& state) {
  for (auto _ : state) {
    state.PauseTiming();
    auto bench = std::make_unique<Bench>();
    state.ResumeTiming();
    bench->task = load(bench->session);
    state.PauseTiming();
    if (!bench->task || bench->task->textLines != kRecords)
      state.SkipWithError("the file did not load");
    bench.reset();
    state.ResumeTiming();
  }
}
BENCHMARK(BM_NumberingLoad)->Unit(benchmark::kMillisecond)->Iterations(5);

void renumber(benchmark::State& state, bool again) {
  for (auto _ : state) {
    state.PauseTiming();
    auto bench = std::make_unique<Bench>();
    bench->task = load(bench->session);
    kiv::Task* task = bench->task.get();
    if (!task) {
      state.SkipWithError("the file did not load");
      break;
    }
    numberStandard(*task->profile);
    if (again) kiv::renumberAll(*task);
    state.ResumeTiming();
    int rc;
    {
      kiv::EditStep step(bench->session);
      rc = kiv::renumberAll(*task);
    }
    state.PauseTiming();
    if (rc != 0 || !numberedRight(*task)) state.SkipWithError("the numbers are wrong");
    bench.reset();
    state.ResumeTiming();
  }
}

void BM_NumberingRenumber(benchmark::State& state) {
  renumber(state, false);
}
void BM_NumberingRenumberAgain(benchmark::State& state) {
  renumber(state, true);
}
BENCHMARK(BM_NumberingRenumber)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_NumberingRenumberAgain)->Unit(benchmark::kMillisecond)->Iterations(5);

}  // namespace
