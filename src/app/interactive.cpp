#include "interactive.h"

#include <cstdio>
#include <memory>

#include "commands/editor_start.h"
#include "commands/program_command_line.h"
#include "core/recovery.h"
#include "core/session.h"
#include "core/startup.h"
#include "platform/terminal_platform.h"
#include "platform/terminal_restore.h"
#include "screen/key_router.h"
#include "screen/screen_state.h"

namespace kiv {

int runInteractive(const std::vector<std::string>& args) {
  std::string error;
  std::unique_ptr<platform::TerminalPlatform> terminal = platform::TerminalPlatform::open(error);
  if (!terminal) {
    std::fprintf(stderr, "kiv: %s\n", error.c_str());
    return 1;
  }
  int status = 0;
  {
    Session session(*terminal);
    if (startSession(session, processEnvironment()) != 0) return 1;
    startEditor(session);
    session.panelWidth = terminal->cols();
    // The files open as start-up opens them: through the command line's
    // processing, after the option groups are in force.
    CommandLineRun run;
    if (processCommandLine(session, args, run) != 0 || run.notOpened > 0) status = 1;
    offerRecovery(session);
    runStartupMacro(session);
    // The program runs until EXIT or the terminal goes: ending the last task
    // leaves the idle screen, from which EDIT opens another file.
    while (!session.exitRequested) {
      refreshScreen(session);
      handleEvent(session, terminal->nextEvent());
    }
    // Stopped by a signal or a lost terminal with files still changed: their
    // lines go to recovery files, which the next start offers.
    writeRecoveryFiles(session);
    stopEditor(session);
  }
  // Stopped by a signal: the status says so, as the signal's own would.
  if (int sig = platform::quitSignal()) status = 128 + sig;
  return status;
}

}  // namespace kiv
