// What one call of the loader works with: the profile's record settings and
// the bytes of the file's character set, taken once per chunk.
#pragma once

#include <string>
#include <string_view>

#include "core/file_profile.h"
#include "core/task.h"

namespace kiv {

inline constexpr unsigned char kCr = 0x0D;
inline constexpr unsigned char kFormFeed = 0x0C;
inline constexpr unsigned char kEofByte = 0x1A;

// The record terminator detected in a VARIABLE file.
enum class Terminator { None, CrLf, Lf, Cr };

Terminator terminatorNamed(std::string_view name);
std::string_view terminatorName(Terminator t);

struct LoadRules {
  FileProfile* profile;
  unsigned char lineFeed;  // 0x0A, or 0x25 in EBCDIC
  unsigned char tab;       // 0x09, or 0x05 in EBCDIC
  char pad;                // 0x20, or 0x40 in EBCDIC
  char longOption;         // first letter of LongRecordOption, upper case
  bool foldAtAbsolute;     // MaxRecordOption Fold
  bool eofRead;            // 0x1A ends the file
  bool strict;             // ReadEORStrict in force (always for EBCDIC)
  char trailing;           // first letter of TrailingBlanksOption, upper case
  Terminator detected;     // mirrors task.load.terminator

  int maxRecLen() const { return profile->maxRecLen; }
  int tabsIn() const { return profile->tabsIn; }
};

// The rules for the task's next chunk. An EBCDIC file reads strictly, its
// terminator preset from NewFileRecordTerminator.
LoadRules loadRulesFor(Task& task);

// Records a terminator detected while reading.
void detectTerminator(Task& task, LoadRules& rules, Terminator t);
// A record ended by `t`: the first end detects the terminator, a different
// one later marks the file as mixed.
void noteRecordEnd(Task& task, LoadRules& rules, Terminator t);

}  // namespace kiv
