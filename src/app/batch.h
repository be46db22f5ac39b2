// Batch mode: kiv without a terminal. The files open as from the command
// line, the commands run as if typed on the command row, every message goes
// to standard error as "ID: text", and the program ends when they are done.
#pragma once

#include <string>
#include <vector>

namespace kiv {

struct BatchRequest {
  std::vector<std::string> files;
  std::vector<std::string> commands;  // each as typed on the command row
};

// Parses the arguments after "--batch": file names, then "/S" with one
// command text, or "--script FILE" (one command a line). Returns false with
// `error` set when the arguments are not usable.
bool parseBatchArgs(const std::vector<std::string>& args, BatchRequest& request,
                    std::string& error);

// Runs the request; the exit status: 0, or 1 when a file could not be opened
// or a command was unknown, 2 when start-up failed.
int runBatch(const BatchRequest& request);

}  // namespace kiv
