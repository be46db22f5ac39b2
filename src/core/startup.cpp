// Finding and creating the session's directories at start-up.
#include "core/startup.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <system_error>

#include "core/session.h"
#include "services/global_profile.h"
#include "services/messages.h"
#include "services/option_group.h"
#include "services/var_pool.h"

namespace fs = std::filesystem;

namespace kiv {

namespace {

constexpr std::string_view kKivorwMissing =
    "KIV options path from environment variable:\n\n%s  =  %s\n\nError, this path does not "
    "exist.  Can not continue.";
constexpr std::string_view kKivorwIsInstall =
    "KIV options path from environment variable:\n\n%s  =  %s\n\nError, not allowed to have KIV "
    "options path same as KIV install directory.  Can not continue.";
constexpr std::string_view kNoUserPath =
    "Unable to obtain KIV options path for specific user from system variable:\n\nHOME";
constexpr std::string_view kCannotCreate = "Unable to create KIV options path:\n\n%s";
constexpr std::string_view kCreated = "Created KIV options directory for user:  %s\n\n%s\n\n";
constexpr std::string_view kCopyFailed =
    "Unable to copy the default option files:\n\n%s\n\ninto:\n\n%s";

std::optional<std::string> envValue(const char* name) {
  const char* value = std::getenv(name);
  if (!value) return std::nullopt;
  return std::string(value);
}

bool isDirectory(const std::string& path) {
  std::error_code ec;
  return fs::is_directory(path, ec);
}

// KIVORW names the options directory: it must exist and must not be the
// installation directory. 0, or -1 after the message.
int useKivorw(Session& s, const std::string& path) {
  if (!isDirectory(path)) {
    messagef(s, "", kKivorwMissing, "KIVORW", path);
    return -1;
  }
  std::error_code ec;
  if (fs::equivalent(path, s.dirs.install, ec)) {
    messagef(s, "", kKivorwIsInstall, "KIVORW", path);
    return -1;
  }
  s.dirs.options = path;
  return 0;
}

// $XDG_CONFIG_HOME/kiv (only an absolute XDG_CONFIG_HOME counts), else
// $HOME/.config/kiv; "" when neither variable helps.
std::string userOptionsDir(const StartupEnvironment& env) {
  if (env.xdgConfigHome && !env.xdgConfigHome->empty() && env.xdgConfigHome->front() == '/')
    return *env.xdgConfigHome + "/kiv";
  if (env.home && !env.home->empty()) return *env.home + "/.config/kiv";
  return {};
}

// Fills a new options directory with the default option files.
void fillFromSystem(Session& s, const std::string& dir) {
  std::error_code ec;
  if (!isDirectory(s.dirs.allUsers)) return;
  fs::copy(s.dirs.allUsers, dir, fs::copy_options::recursive | fs::copy_options::skip_existing, ec);
  if (ec) messagef(s, "", kCopyFailed, s.dirs.allUsers, dir);
}

// The user's options directory, created and filled when missing. 0, or -1
// after the message.
int useUserDir(Session& s, const StartupEnvironment& env) {
  std::string dir = userOptionsDir(env);
  if (dir.empty()) {
    message(s, "", kNoUserPath);
    return -1;
  }
  if (!isDirectory(dir)) {
    std::error_code ec;
    fs::create_directories(dir, ec);
    if (!isDirectory(dir)) {
      messagef(s, "", kCannotCreate, dir);
      return -1;
    }
    fillFromSystem(s, dir);
    messagef(s, "", kCreated, env.userName, dir);
  }
  s.dirs.options = dir;
  return 0;
}

std::string loginName() {
  if (auto user = envValue("USER"); user && !user->empty()) return *user;
  const passwd* pw = ::getpwuid(::getuid());
  return pw && pw->pw_name ? pw->pw_name : "";
}

}  // namespace

StartupEnvironment processEnvironment() {
  std::error_code ec;
  fs::path exe = fs::read_symlink("/proc/self/exe", ec);
  return {.programPath = ec ? std::string() : exe.string(),
          .kivorw = envValue("KIVORW"),
          .xdgConfigHome = envValue("XDG_CONFIG_HOME"),
          .home = envValue("HOME"),
          .userName = loginName()};
}

std::string installDirFor(std::string_view programPath) {
  if (!programPath.empty()) {
    fs::path share = (fs::path(programPath).parent_path() / KIV_DATA_FROM_BIN).lexically_normal();
    if (isDirectory(share.string())) return share.string();
  }
  return KIV_SOURCE_SHARE;
}

int startDirectories(Session& s, const StartupEnvironment& env) {
  varSet(s, "ZKIVEXE", env.programPath);
  s.dirs.install = installDirFor(env.programPath);
  // The shared default option files ship read-only with the installation.
  s.dirs.allUsers = (fs::path(s.dirs.install) / "System").string();
  if (env.kivorw && !env.kivorw->empty()) return useKivorw(s, *env.kivorw);
  return useUserDir(s, env);
}

int startSession(Session& s, const StartupEnvironment& env) {
  if (startDirectories(s, env) != 0) return -1;
  loadGlobalProfile(s);  // a first run has none yet
  setSearchPaths(s);
  return 0;
}

int shutdownSession(Session& s) {
  return saveGlobalProfile(s);
}

}  // namespace kiv
