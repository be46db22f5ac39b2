// kiv: start-up only. Builds the platform and the session and runs the loop.
#include <cstdio>
#include <cstring>

namespace {

const char* kUsage =
    "Usage: kiv [options] [file...]\n"
    "\n"
    "A full-screen, record-oriented text editor for the terminal.\n"
    "\n"
    "  --help       show this text and exit\n"
    "  --version    show the version and exit\n";

}  // namespace

int main(int argc, char** argv) {
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--version") == 0) {
      std::printf("kiv %s\n", KIV_VERSION);
      return 0;
    }
    if (std::strcmp(argv[i], "--help") == 0) {
      std::fputs(kUsage, stdout);
      return 0;
    }
  }
  std::fputs("kiv: the editor screen is not built yet; try kiv --help\n", stderr);
  return 1;
}
