#include "platform/terminal_restore.h"

#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>

namespace kiv::platform {

namespace {

constexpr int kFatalSignals[] = {SIGSEGV, SIGBUS, SIGFPE, SIGILL, SIGABRT,
                                 SIGTERM, SIGHUP, SIGINT, SIGQUIT};
constexpr std::size_t kSignalCount = std::size(kFatalSignals);
constexpr std::size_t kMaxUndo = 512;

// Static storage only: the signal handler reads it.
struct SavedState {
  int inFd = -1;
  int outFd = -1;
  termios modes{};
  struct sigaction previous[kSignalCount] {};
  char undo[kMaxUndo]{};
  std::size_t undoLength = 0;
  bool atexitHooked = false;
};
SavedState gSaved;
volatile std::sig_atomic_t gArmed = 0;
// Where a quit signal is told, once catchQuitSignals has run; and whether
// one came.
volatile std::sig_atomic_t gQuitWake = -1;
volatile std::sig_atomic_t gQuitSignal = 0;

bool isQuitSignal(int sig) {
  return sig == SIGTERM || sig == SIGHUP || sig == SIGINT;
}

void writeAll(int fd, const char* data, std::size_t length) {
  while (length > 0) {
    ssize_t n = ::write(fd, data, length);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return;
    data += n;
    length -= static_cast<std::size_t>(n);
  }
}

void restoreAtExit() {
  restoreTerminalNow();
}

void onFatalSignal(int sig) {
  int savedErrno = errno;
  if (gQuitWake >= 0 && isQuitSignal(sig)) {
    // The program ends by its own way out, keeping what it must; a second
    // signal while it does so changes nothing.
    gQuitSignal = sig;
    char byte = 'q';
    [[maybe_unused]] ssize_t n = ::write(gQuitWake, &byte, 1);
    errno = savedErrno;
    return;
  }
  restoreTerminalNow();
  // Back to the action that was there before; the signal, blocked while this
  // handler runs, is delivered to it as soon as the handler returns (a fault
  // repeats when the instruction is run again).
  for (std::size_t i = 0; i < kSignalCount; ++i) {
    if (kFatalSignals[i] == sig) sigaction(sig, &gSaved.previous[i], nullptr);
  }
  raise(sig);
  errno = savedErrno;
}

}  // namespace

bool saveTerminalState(int fd) {
  if (tcgetattr(fd, &gSaved.modes) != 0) return false;
  gSaved.inFd = fd;
  for (std::size_t i = 0; i < kSignalCount; ++i) {
    sigaction(kFatalSignals[i], nullptr, &gSaved.previous[i]);
  }
  return true;
}

void armTerminalRestore(int outFd, std::string_view undo) {
  gSaved.outFd = outFd;
  gSaved.undoLength = std::min(undo.size(), kMaxUndo);
  std::memcpy(gSaved.undo, undo.data(), gSaved.undoLength);
  struct sigaction action {};
  action.sa_handler = onFatalSignal;
  sigemptyset(&action.sa_mask);
  for (std::size_t i = 0; i < kSignalCount; ++i) {
    // A signal the parent told us to ignore (nohup) stays ignored.
    if (gSaved.previous[i].sa_handler == SIG_IGN) continue;
    sigaction(kFatalSignals[i], &action, nullptr);
  }
  if (!gSaved.atexitHooked) {
    gSaved.atexitHooked = std::atexit(restoreAtExit) == 0;
  }
  gArmed = 1;
}

void restoreTerminalNow() {
  if (!gArmed) return;
  gArmed = 0;
  writeAll(gSaved.outFd, gSaved.undo, gSaved.undoLength);
  tcsetattr(gSaved.inFd, TCSADRAIN, &gSaved.modes);
}

void catchQuitSignals(int wakeFd) {
  gQuitWake = wakeFd;
}

bool quitRequested() {
  return gQuitSignal != 0;
}

int quitSignal() {
  return gQuitSignal;
}

void disarmTerminalRestore() {
  gArmed = 0;
  gQuitWake = -1;
  for (std::size_t i = 0; i < kSignalCount; ++i) {
    sigaction(kFatalSignals[i], &gSaved.previous[i], nullptr);
  }
}

}  // namespace kiv::platform
