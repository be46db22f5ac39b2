// Pieces every option-group reader and writer shares: a line split into its
// first word and the rest, the lines of a file within a limit, and the
// replacement of a group's file so that a failed write leaves the old one.
#pragma once

#include <cstdio>
#include <string>
#include <string_view>

#include "services/path_search.h"

namespace kiv {

class Services;

// Option-group lines hold at most 255 characters (the terminator makes 256).
inline constexpr std::size_t kOptionLineLimit = 256;

struct WordAndRest {
  std::string_view word;  // up to the first blank
  std::string_view rest;  // after the blanks that follow the word, blanks included
};
WordAndRest splitFirstWord(std::string_view line);

// Calls onLine(text) for each line of `f`, its line end removed; a line
// longer than the limit comes in pieces, each a line of its own.
template <class OnLine>
void forEachLine(std::FILE* f, std::size_t limit, OnLine&& onLine) {
  std::string line;
  while (readLimitedLine(f, limit, line)) onLine(stripLineEnd(line));
}

// Appends "<word> <value>\n". A value is cut at a line end, which would
// otherwise split it into lines of its own in the file.
void appendOptionLine(std::string& out, std::string_view word, std::string_view value);

// Replaces the file at `path` by `text`: written beside it, flushed and
// renamed over it. False (nothing changed) on any failure.
bool replaceFile(const std::string& path, std::string_view text);

// The group's file in the options directory ("" without one).
std::string optionGroupWritePath(Services& s, std::string_view group);

// Writes the group's file in the options directory. 0, or -1 after
// "Unable to write option file '%s'" (the group name) under `writeId`.
int writeOptionGroup(Services& s, std::string_view group, std::string_view writeId,
                     std::string_view text);

}  // namespace kiv
