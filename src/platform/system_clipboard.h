// The system clipboard as the terminal platform reaches it: the desktop's
// command-line tools (wl-copy/wl-paste under Wayland, xclip or xsel under X),
// run without a shell and never for longer than a timeout, and OSC 52, which
// asks the terminal to set its clipboard.
#pragma once

#include <chrono>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kiv::platform {

// The largest text read from a clipboard tool; a larger one counts as a
// failure (a paste then takes the internal copy rather than a cut text).
constexpr std::size_t kMaxClipboardBytes = std::size_t{64} << 20;
// The longest a clipboard tool may run; it is killed after that.
constexpr std::chrono::milliseconds kClipboardTimeout{2000};
// The longest OSC 52 payload sent (tmux's input buffer holds 1 MiB); a
// longer text reaches only the tools and the internal copy.
constexpr std::size_t kMaxOsc52Base64 = std::size_t{1} << 20;

// Base64 with the standard alphabet and '=' padding.
std::string base64Encode(std::string_view bytes);

// ESC ] 52 ; c ; <base64> ESC \ , or "" when the text is too long for it.
std::string osc52Sequence(std::string_view text);

// The full path of an executable regular file named `name` in a directory of
// PATH; "" when there is none (or PATH is unset). Empty PATH entries are
// skipped rather than taken as the current directory.
std::string findOnPath(std::string_view name);

// The command lines (the first word a full path) that copy to and paste from
// the system clipboard: wl-copy/wl-paste when WAYLAND_DISPLAY is set and they
// are found, else xclip, else xsel when DISPLAY is set; empty when none.
std::vector<std::string> clipboardCopyCommand();
std::vector<std::string> clipboardPasteCommand();

enum class ToolStatus { Done, Failed, NotStarted, TimedOut, TooLong };

struct ToolRun {
  ToolStatus status = ToolStatus::NotStarted;
  std::string output;  // standard output, when asked for
};

// Runs argv[0] (a path) with `input` on its standard input, in a process
// group of its own, without a shell. Standard error, and standard output
// unless `readOutput`, go to /dev/null (a tool that stays in the background,
// as wl-copy and xclip do, keeps no pipe of ours open). Done means exit
// status 0. After `timeout` the group is killed; the child is always reaped.
ToolRun runTool(const std::vector<std::string>& argv, std::string_view input, bool readOutput,
                std::chrono::milliseconds timeout, std::size_t maxOutput = kMaxClipboardBytes);

// Hands the text to the system clipboard tool; false when there is none or it
// failed.
bool copyToSystemClipboard(std::string_view text,
                           std::chrono::milliseconds timeout = kClipboardTimeout);

// The system clipboard's text, else `internal` (no tool, a failure, a
// timeout, or a text over kMaxClipboardBytes).
std::string pasteFromSystemClipboard(std::string_view internal,
                                     std::chrono::milliseconds timeout = kClipboardTimeout);

}  // namespace kiv::platform
