// Recovery files: when kiv is stopped by a signal or loses its terminal,
// the lines of every modified task are written to a file of their own in
// the options directory (never over the user's file). The next start names
// them and offers to open them: the file comes back in EDIT with the saved
// lines, modified, so that SAVE keeps them and CANCEL drops them.
#pragma once

#include <string>
#include <vector>

#include "core/task.h"

namespace kiv {

class Session;

// The folder of the recovery files: "Recovery" in the options directory.
std::string recoveryDirectory(const Session& s);

// Writes the TEXT lines of every modified task to a recovery file of its
// own; returns how many were written. Each failure is reported.
int writeRecoveryFiles(Session& s);

// A recovery file found at start-up and the file it belongs to.
struct Recovery {
  std::string file;      // the recovery file
  std::string original;  // the file whose unsaved lines it holds
};
std::vector<Recovery> findRecoveries(const Session& s);

// Names the recovery files and asks whether to open them; Yes opens each
// as a modified EDIT task of its original file. No keeps them for later.
void offerRecovery(Session& s);

// Opens the recovered lines as a modified EDIT task of the original file;
// null after a message.
Task* recoverTask(Session& s, const Recovery& r);

// The task was ended, cancelled or saved: its recovery file goes.
void dropRecoveryFile(Task& task);

}  // namespace kiv
