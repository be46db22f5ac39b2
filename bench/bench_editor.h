// An editor session for the plain benchmark programs, started as the program
// starts one, over the headless platform, with a throw-away options directory
// (KIVORW). Questions are answered with their first button (and counted);
// every message is echoed to stderr at the end.
#pragma once

#include <stdlib.h>

#include <cstdio>
#include <filesystem>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <utility>

#include "bench_measure.h"
#include "commands/editor_start.h"
#include "core/session.h"
#include "core/startup.h"
#include "core/task_life.h"
#include "platform/headless_platform.h"
#include "screen/screen_state.h"
#include "services/var_pool.h"

namespace kiv::bench {

// What opening and loading a whole file took, in milliseconds.
struct LoadTook {
  double ms = 0;
  double cpuMs = 0;
};

class BenchEditor {
 public:
  BenchEditor(int rows, int cols) : platform_(rows, cols) {
    std::string tmpl = (std::filesystem::temp_directory_path() / "kivbench-XXXXXX").string();
    if (::mkdtemp(tmpl.data())) dir_ = tmpl;
    platform_.onUnscripted = [this](const platform::HeadlessPlatform::Box& box) {
      ++questions_;
      std::fprintf(stderr, "question answered with its first button: %s\n", box.text.c_str());
      return platform::BoxAnswer::Yes;
    };
    session_ = std::make_unique<Session>(platform_);
  }
  ~BenchEditor() {
    if (started_) stopEditor(*session_);
    for (const auto& m : platform_.messages())
      std::fprintf(stderr, "%s: %s\n", m.id.c_str(), m.text.c_str());
    session_.reset();
    std::error_code ec;
    if (!dir_.empty()) std::filesystem::remove_all(dir_, ec);
  }
  BenchEditor(const BenchEditor&) = delete;
  BenchEditor& operator=(const BenchEditor&) = delete;

  // startSession and startEditor, then the settings; false when start-up
  // refused to go on.
  bool start(std::span<const std::pair<std::string_view, std::string_view>> settings) {
    if (dir_.empty()) return false;
    StartupEnvironment env = processEnvironment();
    env.kivorw = dir_;
    if (startSession(*session_, env) != 0) return false;
    startEditor(*session_);
    started_ = true;
    session_->panelWidth = platform_.cols();
    for (const auto& [name, value] : settings) varSet(*session_, name, value);
    return true;
  }

  // Starts the session, opens `file` in EDIT (`prepare` may change the
  // task, its profile, before anything is read), loads every chunk and
  // paints the first screen; the wall and CPU time of opening, loading and
  // painting in `took`. Nothing, after saying why, when the session does
  // not start or the file does not open.
  Task* loadWhole(std::span<const std::pair<std::string_view, std::string_view>> settings,
                  const std::string& file, LoadTook& took,
                  const std::function<void(Task&)>& prepare = {}) {
    if (!start(settings)) {
      std::fprintf(stderr, "the session did not start\n");
      return nullptr;
    }
    Cpu c0 = cpuNow();
    Steady::time_point t0 = Steady::now();
    Task* task = createTask(*session_, file, TaskMode::Edit);
    if (!task) {
      std::fprintf(stderr, "cannot open %s\n", file.c_str());
      return nullptr;
    }
    if (prepare) prepare(*task);
    while (task->loadNextChunk && task->loadNextChunk(*task)) {
    }
    refreshScreen(*session_);
    Cpu c1 = cpuNow();
    took = {msSince(t0), c1.user + c1.sys - c0.user - c0.sys};
    return task;
  }

  Session& session() { return *session_; }
  int questions() const { return questions_; }
  std::size_t messages() const { return platform_.messages().size(); }
  // The text of the last message, empty when there was none.
  std::string lastMessage() const {
    return platform_.messages().empty() ? std::string() : platform_.messages().back().text;
  }

 private:
  std::string dir_;
  platform::HeadlessPlatform platform_;
  std::unique_ptr<Session> session_;
  bool started_ = false;
  int questions_ = 0;
};

}  // namespace kiv::bench
