// Start-up and shutdown of the session: the installation directory from the
// program's own path, the user's options directory (KIVORW, else the XDG
// configuration directory, created and filled from the installation's
// System/ folder when missing), the all-users directory, and the global
// profile read at start and written at exit. docs/tasks.md describes the
// choices.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace kiv {

class Session;

// What start-up reads from the process; tests make their own.
struct StartupEnvironment {
  std::string programPath;                   // the running program (/proc/self/exe)
  std::optional<std::string> kivorw;         // KIVORW
  std::optional<std::string> xdgConfigHome;  // XDG_CONFIG_HOME
  std::optional<std::string> home;           // HOME
  std::string userName;                      // for the "Created" notice
};

// The environment of this process.
StartupEnvironment processEnvironment();

// The installation directory of the program at `programPath`: the data
// directory of the install prefix (<prefix>/share/kiv for <prefix>/bin/kiv)
// when that folder exists, else the source tree's share/kiv (a program run
// from the build tree).
std::string installDirFor(std::string_view programPath);

// Sets ZKIVEXE and the session's install, options and all-users
// directories, creating the options directory when missing. 0, or -1 after
// its message when the program cannot go on: the caller exits.
int startDirectories(Session& s, const StartupEnvironment& env);

// startDirectories, then the persistent variables of the global profile and
// the search-path variables. 0, or -1 when the program must exit.
int startSession(Session& s, const StartupEnvironment& env);

// Writes the global profile. 0, or -1 after a message.
int shutdownSession(Session& s);

}  // namespace kiv
