// SWAP: going round the session's tasks.
#include <cstddef>
#include <filesystem>
#include <string>

#include "core/session.h"
#include "core/task_life.h"
#include "services/messages.h"

namespace kiv {

namespace {

constexpr std::string_view kNotOnTop = "SWAP only allowed when Edit/Browse is top dialog.";
constexpr std::string_view kTooFew =
    "SWAP only allowed when total Edits >= 2.\n\nTo SWAP between independent KIV sessions use "
    "your terminal or window manager.";
constexpr std::string_view kNoSuchTask = "No Edit/Browse/View is open for file:\n\n%s";

std::size_t currentIndex(const Session& s) {
  for (std::size_t i = 0; i < s.tasks.size(); ++i)
    if (s.tasks[i].get() == s.currentTask()) return i;
  return s.tasks.size() - 1;  // none current: the search starts at the first
}

}  // namespace

std::string normalName(std::string_view name) {
  std::error_code ec;
  std::filesystem::path p = std::filesystem::absolute(std::filesystem::path(name), ec);
  if (ec) return std::string(name);
  return p.lexically_normal().string();
}

int swapDirect(Session& s, std::string_view fileName, bool backward) {
  std::size_t n = s.tasks.size();
  std::string wanted = normalName(fileName);
  std::size_t start = n ? currentIndex(s) : 0;
  for (std::size_t step = 1; step <= n; ++step) {
    std::size_t i = backward ? (start + n - step % n) % n : (start + step) % n;
    Task* task = s.tasks[i].get();
    if (task->path == fileName || normalName(task->path) == wanted) {
      s.frames.raise(*task);
      return 0;
    }
  }
  messagef(s, "", kNoSuchTask, fileName);
  return -1;
}

int swapTask(Session& s, bool reverse) {
  if (s.frames.topKind() != FrameKind::Task) {
    message(s, "SESSION25", kNotOnTop);
    return -1;
  }
  if (s.tasks.size() < 2) {
    message(s, "SESSION20", kTooFew);
    return -1;
  }
  std::size_t n = s.tasks.size();
  std::size_t i = currentIndex(s);
  const Task& target = *s.tasks[reverse ? (i + n - 1) % n : (i + 1) % n];
  return swapDirect(s, target.path, reverse);
}

}  // namespace kiv
