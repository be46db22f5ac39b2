// Batch mode: kiv without a terminal. The files open as from the command
// line, the commands run as if typed on the command row, every message goes
// to standard error as "ID: text", and the program ends when they are done.
#pragma once

#include <string>
#include <vector>

namespace kiv {

struct BatchRequest {
  // The program's command line (files, options, /S commands) without the
  // --script options.
  std::vector<std::string> args;
  // The lines of the --script files, run after the /S commands.
  std::vector<std::string> scriptCommands;
};

// Parses the arguments after "--batch": "--script FILE" (one command a
// line; before a "--" word only) is read here, everything else is the
// command line. Returns false with `error` set when a script is missing or
// cannot be read.
bool parseBatchArgs(const std::vector<std::string>& args, BatchRequest& request,
                    std::string& error);

// Runs the request; the exit status: 0, or 1 when the command line was
// wrong, a file could not be opened or a command was unknown, 2 when
// start-up failed.
int runBatch(const BatchRequest& request);

}  // namespace kiv
