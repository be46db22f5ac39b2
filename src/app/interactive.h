// kiv in a terminal: the program's command line is processed (the files
// open as edit tasks) and the event loop runs until the last task ends or
// EXIT.
#pragma once

#include <string>
#include <vector>

namespace kiv {

// `args`: the program's arguments (--help and --version handled). The exit
// status: 0, or 1 when the command line was wrong or a file did not open.
int runInteractive(const std::vector<std::string>& args);

}  // namespace kiv
