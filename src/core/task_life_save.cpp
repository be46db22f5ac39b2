// The SAVE command's rules and the keystroke save reminder.
#include <string>

#include "core/file_profile.h"
#include "core/file_save.h"
#include "core/session.h"
#include "core/task_life.h"
#include "services/messages.h"

namespace kiv {

namespace {

constexpr std::string_view kSaveTakesNoParms =
    "SAVE does not take parameters. Use SAVEAS to save under new name.";
constexpr std::string_view kNotModified = "File not modified, SAVE command ignored.";
constexpr std::string_view kReminder =
    "You requested to be prompted for a possible SAVE after %d keystrokes were entered.\nThe "
    "keystroke counter is reset to 0 at this time.\nThe precise time you enter the SAVE command "
    "is left up to you.\n";

bool blank(std::string_view text) {
  return text.find_first_not_of(' ') == std::string_view::npos;
}

}  // namespace

int saveCommand(Task& task, std::string_view parms) {
  Session& s = task.session;
  if (task.mode == TaskMode::Browse) {
    message(s, "", kBrowseNoModify);
    return -1;
  }
  if (!blank(parms)) {
    message(s, "EPCMD90", kSaveTakesNoParms);
    return -1;
  }
  if (!task.modified) {
    message(s, "FILE91", kNotModified);
    return -1;
  }
  return saveTask(task, false);
}

void noteKeystroke(Task& task) {
  int limit = task.profile ? task.profile->promptKeystrokeLimit : 0;
  if (limit <= 0) return;
  if (++task.keystrokes <= limit) return;
  messagef(task.session, "CHAR25", kReminder, task.keystrokes);
  task.keystrokes = 0;
}

}  // namespace kiv
