// Puts the terminal back as the program found it on every way out: the
// normal one (the platform's destructor), std::exit (an atexit handler) and
// fatal signals (SIGSEGV, SIGBUS, SIGFPE, SIGILL, SIGABRT, SIGTERM, SIGHUP,
// SIGINT, SIGQUIT), whose handler restores and then lets the signal take its
// former course. Everything the handler does is async-signal-safe: it writes
// a prepared byte string and sets the saved terminal modes.
#pragma once

#include <string_view>

namespace kiv::platform {

// Saves the terminal modes of `fd` and the signal actions in force; call
// before the screen library changes either. False when `fd` is no terminal.
bool saveTerminalState(int fd);

// Installs the handlers and the atexit hook. `undo` holds the bytes that
// undo what the program sent (alternate screen, mouse reporting, cursor
// shape...); it is written to `outFd` before the modes are restored.
void armTerminalRestore(int outFd, std::string_view undo);

// Restores at once (idempotent): writes the undo bytes, sets the saved modes.
void restoreTerminalNow();

// From now on SIGTERM, SIGHUP and SIGINT do not end the program at once: the
// handler notes the signal and writes a byte to `wakeFd`, so that a wait for
// input ends and the program can keep the user's work before it leaves.
void catchQuitSignals(int wakeFd);
// A quit signal came since catchQuitSignals; which one (0: none).
bool quitRequested();
int quitSignal();

// After a normal restore: the handlers give way to the saved actions.
void disarmTerminalRestore();

}  // namespace kiv::platform
