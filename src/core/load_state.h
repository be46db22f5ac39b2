// What a task knows of its file while and after loading it: the open file
// and its lock, the read buffer, the counters, what was detected (UTF-16 mark,
// record terminator), and the identity of the file as loaded so that a save
// can tell when another program changed it.
#pragma once

#include <sys/types.h>

#include <cstdint>
#include <ctime>
#include <string>
#include <vector>

#include "core/text_columns.h"

namespace kiv {

// The file on disk as it was when loaded or last saved.
struct FileIdentity {
  bool known = false;
  dev_t device = 0;
  ino_t inode = 0;
  off_t size = 0;
  timespec modified{};
};

struct LoadState {
  int fd = -1;              // open while loading is incomplete, or while the write lock is held
  bool openedForUpdate = false;
  bool lockHeld = false;    // the OFD write lock is on `fd`
  std::uint64_t fileSize = 0;
  FileIdentity identity;

  std::vector<char> buffer;  // input buffer (4096 bytes or more)
  std::size_t fill = 0;
  std::size_t pos = 0;
  std::uint64_t bytesRead = 0;
  std::vector<char> block;   // FIXED block buffer

  long records = 0;          // records read so far: each line's record number
  long replaced = 0;         // UTF-16 characters above 0xFF replaced by '?'
  Utf8Stream utf8;           // the records of a UTF-8 task checked as they come
  bool loadNow = false;      // whole file at open
  bool complete = false;     // end of file reached, or the load was ended
  bool tabSeen = false;      // the current record holds a tab
  bool tabWarningShown = false;  // "TAB expansion would exceed" once per open

  bool bomChecked = false;
  bool utf16 = false;
  unsigned char bom[2] = {0, 0};  // FF FE or FE FF
  std::string terminator;         // "", "CR+LF", "LF" or "CR"

  // Per task counters.
  std::uint64_t bytesLoaded = 0;
  long foldedAtAbsoluteMax = 0;
  long foldedAtMaxRecLen = 0;

  // ---- Added by the loader (src/core/file_load.h, load_*.cpp) ----
  // Bytes (or UTF-16 characters) given back to the input, read again first;
  // the last one given back is read first.
  int pushed[2] = {0, 0};
  int pushedCount = 0;
  // The UTF-8 bytes still to come of a UTF-16 character read for a UTF-8
  // task, the next one at utf8Next.
  std::string utf8Pending;
  std::size_t utf8Next = 0;
  int unitBack = -1;  // a UTF-16 unit read ahead after a lone high surrogate
  bool endOfInput = false;  // read() gave 0, or 0x1A ended the file
  bool readFailed = false;  // read() gave an error
  bool oddUtf16 = false;    // a UTF-16 file ended in a lone byte
  bool ended = false;       // the load was ended by an error
  // What a save would change in a VARIABLE file, said once the load ends:
  // records ended in more than one way, NUL bytes (a binary file), a last
  // record without an end.
  bool mixedEnds = false;
  bool nulBytes = false;
  bool lastUnended = false;
  bool writeLock = false;   // ZEDIT.WRITELOCK was "TRUE" at open
  std::string rdpBefore;    // RDPStaticBefore / RDPStaticAfter as bytes
  std::string rdpAfter;
  std::vector<char> record;        // work buffers: the record being assembled,
  std::vector<char> expand;        // and the record with tabs expanded or pad added
  std::uint64_t progressMeg = 0;   // last "Loading:" step shown
  std::size_t readSize = 1 << 17;  // bytes asked of each read(): fits the L2 cache
  bool byteByByte = false;         // no memchr scan (tests compare the two paths)
  // ---- end of the loader's block ----
};

}  // namespace kiv
