// An editor session for the plain benchmark programs, started as the program
// starts one, over the headless platform, with a throw-away options directory
// (KIVORW). Questions are answered with their first button (and counted);
// every message is echoed to stderr at the end.
#pragma once

#include <stdlib.h>

#include <cstdio>
#include <filesystem>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <utility>

#include "commands/editor_start.h"
#include "core/session.h"
#include "core/startup.h"
#include "platform/headless_platform.h"
#include "services/var_pool.h"

namespace kiv::bench {

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
