// kiv in a terminal: the files open as edit tasks and the event loop runs
// until the last task ends or EXIT.
#pragma once

#include <string>
#include <vector>

namespace kiv {

int runInteractive(const std::vector<std::string>& files);

}  // namespace kiv
