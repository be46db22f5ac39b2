// The life of an edit task in the session: creating it (profile, TOF line,
// open and load), ending it with the save prompts, cancelling it, destroying
// it, switching between tasks (SWAP), the keystroke save reminder and the
// rules of the SAVE command. docs/tasks.md describes the choices.
#pragma once

#include <string>
#include <string_view>

#include "core/task.h"

namespace kiv {

class Session;

// Message texts that callers and tests compare against.
inline constexpr std::string_view kOutOfRamText =
    "Unable to start Edit/Browse of file due to  'Out of RAM'  condition.";
inline constexpr std::string_view kBrowseNoModify = "In BROWSE, no modify allowed";

// Opens `path` in a new task appended to the session's list, which becomes
// the current task. Null after a message when the file cannot be opened or
// memory ran short.
Task* createTask(Session& s, std::string_view path, TaskMode mode);

// END: saves a modified EDIT task (asking first under ZEDIT.PROMPTONEXIT),
// then closes and destroys it. 0 when the task ended; -1 when it stays open
// (answer cancel, a failed save, a modified VIEW task).
int endTask(Task& task);

// CANCEL: ends the task without saving, asking first under
// ZEDIT.PROMPTONCANCEL. 0 when the task ended, -1 when it stays.
int cancelTask(Task& task);

// Frees the task with its lines, profile and open file and takes it off the
// session's list. Asks nothing and saves nothing.
void destroyTask(Task& task);

// SWAP: makes the next task (the previous one when `reverse`) current,
// wrapping around the list. 0, or -1 after SESSION25 or SESSION20.
int swapTask(Session& s, bool reverse);
// A file name in one spelling: absolute, without "." and ".." steps.
std::string normalName(std::string_view name);

// What the command "swapdirect NAME" does: makes the task editing
// `fileName` current. The search starts after the current task, backwards
// when `backward`, so that two tasks on one file are both reached. 0, or -1
// after a message when no task edits that file.
int swapDirect(Session& s, std::string_view fileName, bool backward = false);

// Called for every character typed into the data of a line: counts it and
// shows the save reminder (CHAR25) once the profile's PromptKeystrokeLimit
// is passed.
void noteKeystroke(Task& task);

// The SAVE command with its parameter text. 0 when saved, -1 after a
// message otherwise.
int saveCommand(Task& task, std::string_view parms);


}  // namespace kiv
