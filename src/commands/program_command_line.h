// The program's command line: up to 32 files to open and the options that
// go with them (mode, profile, macros, a line and column to go to, a message
// file, start-up commands), with the words of KIVCMDPREFIX in front. Every
// file opens through the command executor. docs/command-line.md has the
// rules and the choices.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace kiv {

class Session;

inline constexpr int kMaxCommandLineNames = 32;
// A file name must be shorter than this.
inline constexpr std::size_t kCommandLineNameLimit = 256;

// What a caller may add to the processing, and what it learns beyond the
// result.
struct CommandLineRun {
  // Runs one start-up command (/S); when empty, the command executor does.
  std::function<void(Session&, const std::string&)> runCommand;
  // Set by the processing: the names that did not open (the open command
  // has reported each).
  int notOpened = 0;
};

// Splits text into words at blanks; a stretch in '...' or "..." keeps its
// blanks and its quotes. False when a quote is not closed.
bool splitCommandLineWords(std::string_view text, std::vector<std::string>& words);

// Processes the program's arguments, each already one word (the shell split
// them), after the words of KIVCMDPREFIX: the options are read, the files
// opened in order and the start-up commands run. 0; -1 after a message when
// a word is wrong (nothing is opened then) or a name asks for the file
// list, which ends the processing there (files opened before stay open).
int processCommandLine(Session& s, const std::vector<std::string>& args);
int processCommandLine(Session& s, const std::vector<std::string>& args, CommandLineRun& run);

}  // namespace kiv
