// kiv: start-up only. Builds the platform and the session and runs the loop.
#include <csignal>
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "batch.h"
#include "interactive.h"

namespace {

const char* kUsage =
    "Usage: kiv [options] [file...]\n"
    "       kiv --batch [options] [file...] [--script FILE]\n"
    "\n"
    "A full-screen, record-oriented text editor for the terminal.\n"
    "\n"
    "  /B /V /E     open the files in BROWSE, VIEW or EDIT (the default) mode\n"
    "  /P name      use the file profile name        /I name  initial macro\n"
    "  /L(n,c)      go to line n, the cursor in data column c (/Ln alone: the line)\n"
    "  /R file      merge a message file into the first file opened\n"
    "  /S \"cmds\"    run commands (separated by ';') once the files are open\n"
    "  --           the words after it are file names; so is a word with ./ in front\n"
    "  '/' and a letter alone is always an option; a longer word beginning so is\n"
    "  an option unless it holds a further '/' or names an existing file or\n"
    "  directory. KIVCMDPREFIX is put in front.\n"
    "\n"
    "  --batch      run without a terminal: open the files, run the /S commands\n"
    "               as typed on the command line, write every message to\n"
    "               standard error and exit; the status is 1 when a file could\n"
    "               not be opened, a command was unknown or the command line\n"
    "               was wrong\n"
    "  --script F   with --batch: read further commands from F, one a line\n"
    "  -h, --help   show this text and exit\n"
    "  --version    show the version and exit\n";

// Words of the form --name before "--" that are not ours: refused rather
// than opened (and created) as files; "./--name" opens such a file.
bool knownDashWord(const std::string& a, bool batch) {
  return a == "--help" || a == "--version" || (batch && a == "--script");
}

// The exit status after --help, --version or an unknown --word; nothing
// when the program goes on.
std::optional<int> earlyExit(const std::vector<std::string>& args, bool batch) {
  for (const std::string& a : args) {
    if (a == "--") break;
    if (a == "--version") {
      std::printf("kiv %s\n", KIV_VERSION);
      return 0;
    }
    if (a == "--help" || a == "-h") {
      std::fputs(kUsage, stdout);
      return 0;
    }
    if (a.starts_with("--") && !knownDashWord(a, batch)) {
      std::fprintf(stderr, "kiv: unknown option '%s' (a file of that name: ./%s)\n", a.c_str(),
                   a.c_str());
      return 2;
    }
  }
  return std::nullopt;
}

}  // namespace

int main(int argc, char** argv) {
  // A write past the file-size limit is an error the save reports (the old
  // file kept), not the end of the program.
  std::signal(SIGXFSZ, SIG_IGN);
  std::vector<std::string> args(argv + 1, argv + argc);
  bool batch = !args.empty() && args[0] == "--batch";
  if (batch) args.erase(args.begin());
  if (std::optional<int> status = earlyExit(args, batch)) return *status;
  if (!batch) return kiv::runInteractive(args);
  kiv::BatchRequest request;
  std::string error;
  if (!kiv::parseBatchArgs(args, request, error)) {
    std::fprintf(stderr, "kiv: %s\n", error.c_str());
    return 2;
  }
  return kiv::runBatch(request);
}
