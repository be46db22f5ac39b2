#include "core/load_end.h"

#include "core/file_load.h"
#include "core/file_profile.h"
#include "core/line_ops.h"
#include "core/load_input.h"
#include "core/profile_write.h"
#include "core/session.h"
#include "services/messages.h"

namespace kiv {

namespace {

constexpr std::string_view kUtf16Replaced =
    "File is in Unicode format (UTF-16).\n%d  characters with value greater than  x'FF'  were "
    "replaced with  '?'.\n\n%s\n\n";
constexpr std::string_view kUtf16EditQuestion =
    "If you SAVE this file on exit from Edit, characters replaced with  '?'  will remain  "
    "'?'.\n\nTo switch to View mode, click on 'Yes'.\n\nTo continue in Edit mode, click on 'No'.";
constexpr std::string_view kFoldedAtAbsoluteMax =
    "File:  %s\n\n%d  records exceeded the absolute max record length of  %d.\n\nThese records "
    "were folded during file load.\n\nWARNING:  If you SAVE a file with folded records, they "
    "become permanently folded.";
constexpr std::string_view kFoldedAtMaxRecLen =
    " %s\n\nOn load  %d  records were folded at File Profile MaxRexLength  %d\n\nWARNING:  If you "
    "SAVE a file with folded records, they become permanently folded.";
constexpr std::string_view kProfileNotWritten = "Unable to write file profile '%s'";
constexpr std::string_view kSaveWillChange = "File:  %s\n\n%sSAVE writes it that way.";
constexpr std::string_view kMixedEnds = "Its records end in more than one way: %s is used for all.\n";
constexpr std::string_view kNulBytes =
    "It holds NUL bytes, as a binary file does: its records are written back as lines.\n";
constexpr std::string_view kLastUnended = "Its last record has no record end: it gets one.\n";

void toView(Task& task) {
  task.mode = TaskMode::View;
  task.modified = false;
}

void reportReplacements(Task& task) {
  Session& s = task.session;
  std::string text = format(kUtf16Replaced, task.load.replaced, task.path);
  if (task.mode != TaskMode::Edit) {
    message(s, "", text);
    return;
  }
  if (askYesNo(s, text + std::string(kUtf16EditQuestion)) == "YES") toView(task);
}

// Said once, when an EDIT task's file loads, so that the user knows before
// saving what the save will change.
void reportSaveChanges(Task& task) {
  const LoadState& ld = task.load;
  if (task.mode != TaskMode::Edit || !(ld.mixedEnds || ld.nulBytes || ld.lastUnended)) return;
  std::string what;
  if (ld.mixedEnds) what += format(kMixedEnds, ld.terminator);
  if (ld.nulBytes) what += kNulBytes;
  if (ld.lastUnended) what += kLastUnended;
  messagef(task.session, "FILE30", kSaveWillChange, task.path, what + "\n");
}

void endOfFileMessages(Task& task) {
  const LoadState& ld = task.load;
  Session& s = task.session;
  if (s.quietFileOp) return;
  if (ld.replaced > 0) reportReplacements(task);
  if (ld.foldedAtAbsoluteMax > 0)
    messagef(s, "", kFoldedAtAbsoluteMax, task.path, ld.foldedAtAbsoluteMax, kMaxLineLength);
  if (ld.foldedAtMaxRecLen > 0)
    messagef(s, "", kFoldedAtMaxRecLen, task.path, ld.foldedAtMaxRecLen, maxRecLenOf(task));
  reportSaveChanges(task);
}

void complete(Task& task) {
  LoadState& ld = task.load;
  ld.complete = true;
  ld.bytesLoaded = bytesConsumed(ld);
  releaseInput(ld);
  finishLineStore(task);
}

}  // namespace

void finishLoad(Task& task) {
  complete(task);
  endOfFileMessages(task);
  if (task.mode != TaskMode::Edit || !task.load.writeLock) closeFile(task);
}

void endLoad(Task& task) {
  task.load.ended = true;
  ++task.session.loadsCutShort;
  complete(task);
  if (task.mode == TaskMode::Edit) toView(task);
  task.modified = false;
  closeFile(task);
}

void followMaxRecLen(Task& task, int before) {
  FileProfile& p = *task.profile;
  if (p.maxRecLen == before) return;
  if (p.boundRight == before) p.boundRight = p.maxRecLen;
  if (writeProfile(task.session, p, true) != 0)
    messagef(task.session, "", kProfileNotWritten, p.name);
}

}  // namespace kiv
