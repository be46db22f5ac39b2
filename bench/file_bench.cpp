// Times loading and saving one file the way an edit task does, for
// bench/files.sh to set beside peer tools. Prints one line:
//   MODE seconds=S maxrss_kib=K lines=N
// Modes:
//   load   open in EDIT and load the whole file (openTask + loadAll)
//   first  open in EDIT with ZEDIT.VIRTUALLOAD TRUE: only the first chunk
//   save   load, mark the task modified, then time saveTask alone
// The peak resident set (getrusage) covers the whole run up to the print.
#include <stdlib.h>
#include <sys/resource.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>

#include "core/edit_step.h"
#include "core/file_load.h"
#include "core/file_save.h"
#include "core/line.h"
#include "core/session.h"
#include "platform/headless_platform.h"
#include "services/option_group.h"
#include "services/var_pool.h"

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

double secondsSince(Clock::time_point start) {
  return std::chrono::duration<double>(Clock::now() - start).count();
}

long peakRssKib() {
  rusage usage{};
  ::getrusage(RUSAGE_SELF, &usage);
  return usage.ru_maxrss;
}

std::string installDir() {
  const char* share = std::getenv("KIV_SHARE");
  return share && *share ? share : KIV_SOURCE_SHARE;
}

// A session as start-up makes it, with a throw-away options directory;
// every message is echoed to stderr.
class BenchSession {
 public:
  BenchSession() {
    std::string tmpl = (fs::temp_directory_path() / "kivbench-XXXXXX").string();
    if (::mkdtemp(tmpl.data())) dir_ = tmpl;
    platform_.onUnscripted = [](const kiv::platform::HeadlessPlatform::Box& box) {
      std::fprintf(stderr, "question answered with its first button: %s\n", box.text.c_str());
      return kiv::platform::BoxAnswer::Yes;
    };
    session_ = std::make_unique<kiv::Session>(platform_);
    session_->dirs.options = dir_;
    session_->dirs.allUsers = dir_;
    session_->dirs.install = installDir();
    kiv::setSearchPaths(*session_);
  }
  ~BenchSession() {
    for (const auto& m : platform_.messages())
      std::fprintf(stderr, "%s: %s\n", m.id.c_str(), m.text.c_str());
    session_.reset();
    std::error_code ec;
    if (!dir_.empty()) fs::remove_all(dir_, ec);
  }
  BenchSession(const BenchSession&) = delete;
  BenchSession& operator=(const BenchSession&) = delete;

  kiv::Session& session() { return *session_; }

 private:
  std::string dir_;
  kiv::platform::HeadlessPlatform platform_;
  std::unique_ptr<kiv::Session> session_;
};

struct Result {
  double seconds = 0;
  long lines = 0;
};

std::unique_ptr<kiv::Task> openWhole(kiv::Session& s, const std::string& path) {
  kiv::varSet(s, "ZEDIT.VIRTUALLOAD", "FALSE");
  std::unique_ptr<kiv::Task> task = kiv::openTask(s, path, kiv::TaskMode::Edit);
  if (task && kiv::loadAll(*task) != 0) task.reset();
  return task;
}

bool runLoad(kiv::Session& s, const std::string& path, Result& r) {
  Clock::time_point start = Clock::now();
  std::unique_ptr<kiv::Task> task = openWhole(s, path);
  r.seconds = secondsSince(start);
  if (task) r.lines = static_cast<long>(task->lines.count);
  return task != nullptr;
}

bool runFirst(kiv::Session& s, const std::string& path, Result& r) {
  kiv::varSet(s, "ZEDIT.VIRTUALLOAD", "TRUE");
  Clock::time_point start = Clock::now();
  std::unique_ptr<kiv::Task> task = kiv::openTask(s, path, kiv::TaskMode::Edit);
  r.seconds = secondsSince(start);
  if (task) r.lines = static_cast<long>(task->lines.count);
  return task != nullptr;
}

bool runSave(kiv::Session& s, const std::string& path, Result& r) {
  std::unique_ptr<kiv::Task> task = openWhole(s, path);
  if (!task) return false;
  noteModified(*task, true);
  r.lines = static_cast<long>(task->lines.count);
  Clock::time_point start = Clock::now();
  int rc = kiv::saveTask(*task, true);
  r.seconds = secondsSince(start);
  return rc == 0;
}

struct Mode {
  std::string_view name;
  bool (*run)(kiv::Session&, const std::string&, Result&);
};

constexpr Mode kModes[] = {{"load", runLoad}, {"first", runFirst}, {"save", runSave}};

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: %s load|first|save FILE\n", argv[0]);
    return 2;
  }
  for (const Mode& mode : kModes) {
    if (mode.name != argv[1]) continue;
    Result r;
    bool ok = false;
    {
      BenchSession bench;
      ok = mode.run(bench.session(), argv[2], r);
      if (ok)
        std::printf("%s seconds=%.4f maxrss_kib=%ld lines=%ld\n", argv[1], r.seconds, peakRssKib(),
                    r.lines);
    }
    if (!ok) std::fprintf(stderr, "%s failed on %s\n", argv[1], argv[2]);
    return ok ? 0 : 1;
  }
  std::fprintf(stderr, "unknown mode %s: load, first or save\n", argv[1]);
  return 2;
}
