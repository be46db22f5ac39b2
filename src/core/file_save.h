// Saving an EDIT task: its TEXT lines are written in the file's record
// format to a temporary file beside it, flushed to disk and renamed over the
// file, after a backup of the old version when one is due. A file that
// another program changed since it was loaded is overwritten only when the
// user says so. docs/file-saving.md describes the choices.
#pragma once

#include <string>

#include "core/task.h"

namespace kiv {

// Saves the task: 0 on success, -1 after a message otherwise (the task then
// stays modified). `keepClosed` leaves the file closed afterwards instead of
// holding it under the write lock (the task is about to end).
int saveTask(Task& task, bool keepClosed);

// The file a save replaces: a symbolic link is followed so that the link
// stays and its target gets the new contents.
std::string saveTarget(const std::string& path);

// How the file on disk differs from the one the task loaded or last saved.
enum class DiskChange { None, Changed, Removed };
DiskChange diskChangeSinceLoad(const Task& task, const std::string& path);

// The exit macro to run before writing: ZFLIST.OPTION.XMACRO, else the
// profile's Xmacro; "" when none is named or ZSUPPRESSIANDX is "TRUE".
std::string exitMacroName(Task& task);

// Call points of features that come later; all but renumberBeforeSave do
// nothing yet.
// Runs the exit macro (the macro language).
void runExitMacro(Task& task, const std::string& name);
// Renumbers the whole file (core/line_numbering.h) when NumberAuto is Full.
void renumberBeforeSave(Task& task);
// Keeps the task's labels for the next edit of the file (ZEDIT.STICKY.LABELS).
void storeStickyLabels(Task& task);

}  // namespace kiv
