#include "platform/system_clipboard.h"

#include <fcntl.h>
#include <poll.h>
#include <pthread.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdint>
#include <cstdlib>
#include <ctime>
#include <initializer_list>
#include <thread>

extern char** environ;

namespace kiv::platform {

namespace {

using Clock = std::chrono::steady_clock;

// How long a killed child may take to be reaped before it is left for a
// later run to reap (a process stuck in the kernel dies only when it leaves).
constexpr auto kReapWait = std::chrono::milliseconds(500);
constexpr std::size_t kChunk = 64 * 1024;

std::vector<pid_t> gStrays;

void reapStrays() {
  std::erase_if(gStrays, [](pid_t pid) { return waitpid(pid, nullptr, WNOHANG) != 0; });
}

bool envSet(const char* name) {
  const char* value = std::getenv(name);
  return value != nullptr && *value != '\0';
}

void closeFd(int& fd) {
  if (fd >= 0) ::close(fd);
  fd = -1;
}

// Holds SIGPIPE back while writing to a tool, so that one that exits before
// it has read everything gives EPIPE rather than ending the editor; a SIGPIPE
// raised meanwhile is taken out before the mask is restored.
class SigpipeHeld {
 public:
  SigpipeHeld() {
    sigemptyset(&pipe_);
    sigaddset(&pipe_, SIGPIPE);
    sigset_t pending;
    wasPending_ = sigpending(&pending) == 0 && sigismember(&pending, SIGPIPE) == 1;
    pthread_sigmask(SIG_BLOCK, &pipe_, &old_);
  }
  ~SigpipeHeld() {
    sigset_t pending;
    if (!wasPending_ && sigpending(&pending) == 0 && sigismember(&pending, SIGPIPE) == 1) {
      timespec zero{};
      sigtimedwait(&pipe_, nullptr, &zero);
    }
    pthread_sigmask(SIG_SETMASK, &old_, nullptr);
  }
  SigpipeHeld(const SigpipeHeld&) = delete;
  SigpipeHeld& operator=(const SigpipeHeld&) = delete;

 private:
  sigset_t pipe_{};
  sigset_t old_{};
  bool wasPending_ = false;
};

enum class Ended { Success, Failure, Running };

// Waits for the child until `deadline`, looking at shorter and shorter
// intervals first, so that a quick tool costs little.
Ended waitUntil(pid_t pid, Clock::time_point deadline) {
  auto pause = std::chrono::microseconds(200);
  for (;;) {
    int status = 0;
    pid_t r = waitpid(pid, &status, WNOHANG);
    if (r == pid)
      return WIFEXITED(status) && WEXITSTATUS(status) == 0 ? Ended::Success : Ended::Failure;
    if (r < 0 && errno != EINTR) return Ended::Failure;  // no longer ours to wait for
    auto now = Clock::now();
    if (now >= deadline) return Ended::Running;
    std::this_thread::sleep_for(std::min<Clock::duration>(pause, deadline - now));
    pause = std::min<std::chrono::microseconds>(pause * 2, std::chrono::milliseconds(20));
  }
}

// Kills the child's process group (the tool and whatever it started) and
// reaps the child.
void killAndReap(pid_t pid) {
  kill(-pid, SIGKILL);
  kill(pid, SIGKILL);
  if (waitUntil(pid, Clock::now() + kReapWait) == Ended::Running) gStrays.push_back(pid);
}

pid_t spawnTool(const std::vector<std::string>& argv, int stdinFd, int stdoutFd) {
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, stdinFd, STDIN_FILENO);
  if (stdoutFd >= 0) {
    posix_spawn_file_actions_adddup2(&actions, stdoutFd, STDOUT_FILENO);
  } else {
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
  }
  posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);

  posix_spawnattr_t attr;
  posix_spawnattr_init(&attr);
  sigset_t none;
  sigemptyset(&none);
  sigset_t defaults;
  sigemptyset(&defaults);
  sigaddset(&defaults, SIGPIPE);
  posix_spawnattr_setflags(&attr,
                           POSIX_SPAWN_SETPGROUP | POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);
  posix_spawnattr_setpgroup(&attr, 0);
  posix_spawnattr_setsigmask(&attr, &none);
  posix_spawnattr_setsigdefault(&attr, &defaults);

  std::vector<char*> args;
  for (const std::string& arg : argv) args.push_back(const_cast<char*>(arg.c_str()));
  args.push_back(nullptr);
  pid_t pid = -1;
  int err = posix_spawn(&pid, argv[0].c_str(), &actions, &attr, args.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  posix_spawnattr_destroy(&attr);
  return err == 0 ? pid : -1;
}

std::vector<std::string> toolCommand(std::string_view name,
                                     std::initializer_list<const char*> args) {
  std::string path = findOnPath(name);
  if (path.empty()) return {};
  std::vector<std::string> argv{path};
  argv.insert(argv.end(), args.begin(), args.end());
  return argv;
}

}  // namespace

std::string base64Encode(std::string_view bytes) {
  static constexpr char kAlphabet[] =
      "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
  auto at = [&](std::size_t i) {
    return static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[i]));
  };
  std::string out;
  out.reserve((bytes.size() + 2) / 3 * 4);
  std::size_t i = 0;
  for (; i + 3 <= bytes.size(); i += 3) {
    std::uint32_t v = at(i) << 16 | at(i + 1) << 8 | at(i + 2);
    out += {kAlphabet[v >> 18], kAlphabet[(v >> 12) & 63], kAlphabet[(v >> 6) & 63],
            kAlphabet[v & 63]};
  }
  std::size_t rest = bytes.size() - i;
  if (rest > 0) {
    std::uint32_t v = at(i) << 16 | (rest == 2 ? at(i + 1) << 8 : 0);
    out += {kAlphabet[v >> 18], kAlphabet[(v >> 12) & 63],
            rest == 2 ? kAlphabet[(v >> 6) & 63] : '=', '='};
  }
  return out;
}

std::string osc52Sequence(std::string_view text) {
  if ((text.size() + 2) / 3 * 4 > kMaxOsc52Base64) return {};
  return "\x1b]52;c;" + base64Encode(text) + "\x1b\\";
}

std::string findOnPath(std::string_view name) {
  const char* path = std::getenv("PATH");
  if (path == nullptr || name.empty() || name.find('/') != std::string_view::npos) return {};
  std::string_view rest(path);
  for (;;) {
    std::size_t colon = rest.find(':');
    std::string_view dir = rest.substr(0, colon);
    if (!dir.empty()) {
      std::string candidate = std::string(dir) + "/" + std::string(name);
      struct stat st {};
      if (stat(candidate.c_str(), &st) == 0 && S_ISREG(st.st_mode) &&
          access(candidate.c_str(), X_OK) == 0) {
        return candidate;
      }
    }
    if (colon == std::string_view::npos) return {};
    rest.remove_prefix(colon + 1);
  }
}

std::vector<std::string> clipboardCopyCommand() {
  std::vector<std::string> argv;
  if (envSet("WAYLAND_DISPLAY")) argv = toolCommand("wl-copy", {});
  if (argv.empty() && envSet("DISPLAY")) argv = toolCommand("xclip", {"-selection", "clipboard"});
  if (argv.empty() && envSet("DISPLAY")) argv = toolCommand("xsel", {"--clipboard", "--input"});
  return argv;
}

std::vector<std::string> clipboardPasteCommand() {
  std::vector<std::string> argv;
  if (envSet("WAYLAND_DISPLAY")) argv = toolCommand("wl-paste", {"--no-newline"});
  if (argv.empty() && envSet("DISPLAY")) {
    argv = toolCommand("xclip", {"-selection", "clipboard", "-o"});
  }
  if (argv.empty() && envSet("DISPLAY")) argv = toolCommand("xsel", {"--clipboard", "--output"});
  return argv;
}

ToolRun runTool(const std::vector<std::string>& argv, std::string_view input, bool readOutput,
                std::chrono::milliseconds timeout, std::size_t maxOutput) {
  ToolRun run;
  reapStrays();
  if (argv.empty() || argv[0].empty()) return run;
  int in[2] = {-1, -1};
  int out[2] = {-1, -1};
  if (pipe2(in, O_CLOEXEC) != 0) return run;
  if (readOutput && pipe2(out, O_CLOEXEC) != 0) {
    closeFd(in[0]);
    closeFd(in[1]);
    return run;
  }
  pid_t pid = spawnTool(argv, in[0], out[1]);
  closeFd(in[0]);
  closeFd(out[1]);
  int inFd = in[1];
  int outFd = out[0];
  if (pid < 0) {
    closeFd(inFd);
    closeFd(outFd);
    return run;
  }

  // Feed the input and collect the output side by side (either may fill its
  // pipe while the tool waits on the other), all within the deadline.
  auto deadline = Clock::now() + timeout;
  std::optional<ToolStatus> stopped;
  std::size_t written = 0;
  {
    SigpipeHeld held;
    fcntl(inFd, F_SETFL, O_NONBLOCK);
    if (outFd >= 0) fcntl(outFd, F_SETFL, O_NONBLOCK);
    if (input.empty()) closeFd(inFd);
    std::string buffer(kChunk, '\0');
    while ((inFd >= 0 || outFd >= 0) && !stopped) {
      auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now());
      if (left.count() <= 0) {
        stopped = ToolStatus::TimedOut;
        break;
      }
      pollfd fds[2] = {{inFd, POLLOUT, 0}, {outFd, POLLIN, 0}};  // a negative fd is skipped
      int n = poll(fds, 2, static_cast<int>(std::min<std::int64_t>(left.count(), 60'000)));
      if (n < 0 && errno != EINTR) stopped = ToolStatus::Failed;
      if (n <= 0) continue;
      if (inFd >= 0 && fds[0].revents != 0) {
        ssize_t w = ::write(inFd, input.data() + written, std::min(input.size() - written, kChunk));
        if (w > 0) written += static_cast<std::size_t>(w);
        // Everything is written, or the tool no longer reads (its exit status
        // then says whether that was a failure).
        if (written == input.size() || (w < 0 && errno != EAGAIN && errno != EINTR)) closeFd(inFd);
      }
      if (outFd >= 0 && fds[1].revents != 0) {
        ssize_t r = ::read(outFd, buffer.data(), buffer.size());
        if (r > 0 && run.output.size() + static_cast<std::size_t>(r) > maxOutput) {
          stopped = ToolStatus::TooLong;
        } else if (r > 0) {
          run.output.append(buffer, 0, static_cast<std::size_t>(r));
        } else if (r == 0 || (errno != EAGAIN && errno != EINTR)) {
          closeFd(outFd);
        }
      }
    }
    closeFd(inFd);
    closeFd(outFd);
  }

  Ended ended = stopped ? Ended::Running : waitUntil(pid, deadline);
  if (ended == Ended::Running) {
    killAndReap(pid);
    run.status = stopped.value_or(ToolStatus::TimedOut);
  } else {
    run.status = ended == Ended::Success ? ToolStatus::Done : ToolStatus::Failed;
  }
  if (run.status != ToolStatus::Done) run.output.clear();
  return run;
}

bool copyToSystemClipboard(std::string_view text, std::chrono::milliseconds timeout) {
  std::vector<std::string> argv = clipboardCopyCommand();
  return !argv.empty() && runTool(argv, text, false, timeout).status == ToolStatus::Done;
}

std::string pasteFromSystemClipboard(std::string_view internal, std::chrono::milliseconds timeout) {
  std::vector<std::string> argv = clipboardPasteCommand();
  if (!argv.empty()) {
    ToolRun run = runTool(argv, {}, true, timeout);
    if (run.status == ToolStatus::Done) return std::move(run.output);
  }
  return std::string(internal);
}

}  // namespace kiv::platform
