// kiv: start-up only. Builds the platform and the session and runs the loop.
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "batch.h"
#include "interactive.h"

namespace {

const char* kUsage =
    "Usage: kiv [options] [file...]\n"
    "       kiv --batch [file...] [/S \"commands\"] [--script FILE]\n"
    "\n"
    "A full-screen, record-oriented text editor for the terminal.\n"
    "\n"
    "  --batch      run without a terminal: open the files, run the commands\n"
    "               (separated by ';', as typed on the command line), write\n"
    "               every message to standard error and exit; the status is 1\n"
    "               when a file could not be opened or a command was unknown\n"
    "  --script F   with --batch: read the commands from F, one a line\n"
    "  --help       show this text and exit\n"
    "  --version    show the version and exit\n";

}  // namespace

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  if (!args.empty() && args[0] == "--batch") {
    kiv::BatchRequest request;
    std::string error;
    if (!kiv::parseBatchArgs({args.begin() + 1, args.end()}, request, error)) {
      std::fprintf(stderr, "kiv: %s\n", error.c_str());
      return 2;
    }
    return kiv::runBatch(request);
  }
  std::vector<std::string> files;
  bool optionsEnd = false;
  for (const std::string& a : args) {
    if (!optionsEnd && a == "--version") {
      std::printf("kiv %s\n", KIV_VERSION);
      return 0;
    }
    if (!optionsEnd && a == "--help") {
      std::fputs(kUsage, stdout);
      return 0;
    }
    if (!optionsEnd && a == "--") optionsEnd = true;
    else files.push_back(a);
  }
  return kiv::runInteractive(files);
}
