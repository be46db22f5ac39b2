// Loading a chunk of records and the whole rest of a file.
#include <cstdint>

#include "core/file_load.h"
#include "core/file_profile.h"
#include "core/load_end.h"
#include "core/load_input.h"
#include "core/load_rdp.h"
#include "core/load_readers.h"
#include "core/session.h"
#include "services/messages.h"

namespace kiv {

namespace {

constexpr std::string_view kProgress = "Loading:  %s  FileBytes=%uMeg";
constexpr std::string_view kReadError = "Read error on file:\n\n%s\n\nFile load aborted.";
constexpr std::string_view kOddUtf16 =
    "File:  %s\n\nThe file is in Unicode format (UTF-16) but has an odd number of bytes: its "
    "last byte is not a whole character.\n\nFile load aborted.";
constexpr std::uint64_t kProgressStep = 1000000;

using Reader = ChunkEnd (*)(Task&, LoadRules&, long);

struct FormatReader {
  char recfm;
  Reader read;
};

constexpr FormatReader kReaders[] = {
    {kRecfmFixed, readFixedChunk},
    {kRecfmRdp, readRdpChunk},
    {kRecfmVariable, readVariableChunk},
};

// The reader of the record format; VARIABLE for an unknown one.
Reader readerFor(char recfm) {
  for (const FormatReader& r : kReaders)
    if (r.recfm == recfm) return r.read;
  return readVariableChunk;
}

// A VARIABLE file longer than 2 bytes that starts with FF FE or FE FF is
// UTF-16: the mark is taken off and the whole file is loaded at once.
void checkByteOrderMark(Task& task) {
  LoadState& ld = task.load;
  if (ld.bomChecked) return;
  ld.bomChecked = true;
  if (ld.fileSize <= 2 || !ensureBuffered(ld, 2)) return;
  auto first = static_cast<unsigned char>(ld.buffer[ld.pos]);
  auto second = static_cast<unsigned char>(ld.buffer[ld.pos + 1]);
  bool mark = (first == 0xFF && second == 0xFE) || (first == 0xFE && second == 0xFF);
  if (!mark) return;
  ld.utf16 = true;
  ld.bom[0] = first;
  ld.bom[1] = second;
  ld.loadNow = true;
  consume(ld, 2);
}

// The work every chunk starts with. False when the profile makes reading
// impossible (reported).
bool prepareChunk(Task& task) {
  FileProfile& p = *task.profile;
  LoadState& ld = task.load;
  if (p.recfm == kRecfmRdp) {
    return rdpStaticBytes(task.session, p.rdpStaticBefore, ld.rdpBefore) &&
           rdpStaticBytes(task.session, p.rdpStaticAfter, ld.rdpAfter);
  }
  if (p.recfm != kRecfmFixed) checkByteOrderMark(task);
  return true;
}

// Input trouble found at the end of the file ends the load.
ChunkEnd checkInput(Task& task, ChunkEnd end) {
  if (end != ChunkEnd::EndOfFile) return end;
  if (task.load.readFailed)
    messagef(task.session, "", kReadError, task.path);
  else if (task.load.oddUtf16)
    messagef(task.session, "", kOddUtf16, task.path);
  else
    return end;
  return ChunkEnd::Ended;
}

// Status texts go to the message row of the task's panel; without a panel
// there is nowhere to show them, and no box is popped up for them.
void showStatus(Task& task, std::string_view text) {
  if (!task.session.quietFileOp) task.session.showShortMessage(text);
}

void showProgress(Task& task) {
  LoadState& ld = task.load;
  std::uint64_t meg = ld.bytesRead / kProgressStep;
  if (meg <= ld.progressMeg) return;
  ld.progressMeg = meg;
  showStatus(task, format(kProgress, task.path, meg));
}

std::string fileInfoText(const Task& task) {
  const FileProfile& p = *task.profile;
  const LoadState& ld = task.load;
  std::string text =
      format("Records=%ld  Bytes=%ld  Recfm=%s  Charset=%s", ld.records,
             static_cast<long long>(ld.bytesLoaded), nameOfValue(kRecfmNames, p.recfm),
             nameOfValue(kCharsetNames, p.charset));
  if (!ld.terminator.empty() && p.recfm == kRecfmVariable) text += "  EOR=" + ld.terminator;
  if (ld.utf16) text += "  UTF-16";
  return text;
}

}  // namespace

int loadChunk(Task& task) {
  LoadState& ld = task.load;
  if (ld.complete || !task.profile) return 0;
  if (!prepareChunk(task)) {
    endLoad(task);
    return -1;
  }
  LoadRules rules = loadRulesFor(task);
  int before = rules.maxRecLen();
  ChunkEnd end = readerFor(task.profile->recfm)(task, rules, kChunkRecords);
  followMaxRecLen(task, before);
  switch (checkInput(task, end)) {
    case ChunkEnd::More:
      return 1;
    case ChunkEnd::EndOfFile:
      finishLoad(task);
      return 0;
    case ChunkEnd::Ended:
      break;
  }
  endLoad(task);
  return -1;
}

int loadAll(Task& task) {
  if (task.load.complete) return 0;
  int result;
  while ((result = loadChunk(task)) > 0) showProgress(task);
  task.loadNextChunk = nullptr;
  showStatus(task, task.path + "  " + fileInfoText(task));
  return result;
}

}  // namespace kiv
