// Creating, ending, cancelling and destroying edit tasks.
#include "core/task_life.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <string>

#include "core/file_load.h"
#include "core/file_profile.h"
#include "core/file_save.h"
#include "core/line_ops.h"
#include "core/profile_choice.h"
#include "core/profile_read.h"
#include "core/recovery.h"
#include "core/session.h"
#include "services/messages.h"
#include "services/var_pool.h"

namespace kiv {

namespace {

constexpr std::string_view kViewNotice =
    "In VIEW mode, if you modify this file, you can not save changes.";
constexpr std::string_view kSaveQuestion = "File modified, save changes?\n\n%s";
constexpr std::string_view kViewModified =
    "Modified file is in View mode.\n\nIf you want to save changes, use primary command "
    "SAVEAS.\n\nIf you do not want to save changes, use primary command CANCEL.";
constexpr std::string_view kCancelQuestion = "Do you really want to exit without saving changes?";
constexpr std::string_view kDeleteFailed = "Unable to delete file:\n\n%s";

// A setting's value; reading one that was never set does not create it.
std::string setting(Session& s, std::string_view name) {
  return varExists(s, name) ? varGet(s, name) : std::string();
}

TaskSettings copySettings(Session& s) {
  return {.scrollHWhenCursAtEdge = setting(s, "ZEDIT.SCROLL.H.WHENCURSATEDGE"),
          .scrollVWhenCursAtEdge = setting(s, "ZEDIT.SCROLL.V.WHENCURSATEDGE"),
          .findGlobal = setting(s, "ZEDIT.FIND.GLOBAL"),
          .lastFindParms = setting(s, "ZFIND.LAST.FIND.PARMS"),
          .lastChangeParms = setting(s, "ZFIND.LAST.CHANGE.PARMS"),
          .lastStr1 = setting(s, "ZFIND.LAST.STR1"),
          .lastStr2 = setting(s, "ZFIND.LAST.STR2")};
}

// Saves a modified task before it ends, as its mode and ZEDIT.PROMPTONEXIT
// say. 0 when the task may end, -1 when it stays.
int saveBeforeEnd(Task& task) {
  Session& s = task.session;
  if (task.mode == TaskMode::Browse) return 0;
  if (task.mode == TaskMode::View) {
    message(s, "", kViewModified);
    task.mayEnd = false;
    return -1;
  }
  if (setting(s, "ZEDIT.PROMPTONEXIT") == "TRUE") {
    std::string answer = askYesNoCancel(s, format(kSaveQuestion, task.path));
    if (answer == "NO") return 0;
    // Cancel, and a box closed without an answer (Escape, or a quit signal
    // on its way), keep the task and its changes.
    if (answer == "CANCEL" || answer.empty()) {
      task.mayEnd = false;
      return -1;
    }
  }
  if (saveTask(task, true) != 0) task.mayEnd = false;
  return task.mayEnd ? 0 : -1;
}

// A file the task created on open and nothing was written to is removed.
void removeUnusedNewFile(Task& task) {
  if (!task.newFile) return;
  std::string path = mapDrive(task.session, task.path);
  struct stat st {};
  if (::stat(path.c_str(), &st) != 0 || st.st_size != 0) return;
  if (::unlink(path.c_str()) != 0 && errno != ENOENT) messagef(task.session, "", kDeleteFailed, path);
}

}  // namespace

Task* createTask(Session& s, std::string_view path, TaskMode mode) {
  if (s.outOfRam) {
    message(s, "", kOutOfRamText);
    return nullptr;
  }
  s.tasks.push_back(std::make_unique<Task>(s));
  Task* task = s.tasks.back().get();
  task->settings = copySettings(s);
  task->path = std::string(path);
  task->mode = mode;
  task->profile = readProfile(s, chooseProfile(s, path));
  if (initLineStore(*task) != 0 || openFile(*task) != 0) {
    destroyTask(*task);
    return nullptr;
  }
  task->topLine = task->lines.first;
  s.fileHistory.remember(normalName(task->path));
  // The new task is on top before the notice, so that a short message
  // stands on its own message row.
  s.frames.raise(*task);
  if (task->mode == TaskMode::View) message(s, "VIEW05", kViewNotice);
  return task;
}

void destroyTask(Task& task) {
  Session& s = task.session;
  closeFile(task);
  auto it = std::find_if(s.tasks.begin(), s.tasks.end(),
                         [&](const std::unique_ptr<Task>& t) { return t.get() == &task; });
  if (it == s.tasks.end()) return;
  // The frame below the task's (and below the frames it owns) comes back on top.
  s.frames.removeTask(task);
  s.tasks.erase(it);
}

int endTask(Task& task) {
  task.mayEnd = true;
  if (task.modified && saveBeforeEnd(task) != 0) return -1;
  Session& s = task.session;
  closeFile(task);
  removeUnusedNewFile(task);
  dropRecoveryFile(task);  // ended (and saved, or its changes given up)
  varSet(s, "ZEDITVIACMDLINE", "FALSE");
  destroyTask(task);
  return 0;
}

int cancelTask(Task& task) {
  Session& s = task.session;
  if (task.modified && task.mode != TaskMode::View &&
      setting(s, "ZEDIT.PROMPTONCANCEL") == "TRUE" && askYesNo(s, kCancelQuestion) != "YES")
    return -1;
  task.modified = false;
  return endTask(task);
}

}  // namespace kiv
