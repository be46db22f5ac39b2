// What the command executor keeps in the editor session: the pending-command
// queue, the command history, the command aliases, the command field that
// RETRIEVE fills, and the line-command module's entry.
#pragma once

#include <array>
#include <cstddef>
#include <deque>
#include <string>
#include <string_view>
#include <vector>

#include "core/session.h"

namespace kiv {

class Task;

// The kind of the panel on top: it decides the first command table.
enum class PanelKind { Dialog, EditTask, FileList, Other };
// The kind of the frame on top of the session's frame stack.
PanelKind activePanelKind(Session& s);

// Longest command text the executor accepts.
inline constexpr std::size_t kMaxCommandLength = 1023;
inline constexpr int kHistorySlots = 32;

// Slot 1 (index 0) is the most recent command.
struct CommandHistory {
  std::array<std::string, kHistorySlots> slots;
  int count = 0;   // filled slots, 0..32
  int cursor = 1;  // the slot RETRIEVE gives next, 1-based
  bool changed = false;
};

struct CommandState : Feature {
  explicit CommandState(Session&) {}
  std::deque<std::string> queue;  // single commands still to run
  std::string current;            // the command running now
  std::vector<Alias> commandAliases;
  CommandHistory history;
  // The command field of the active panel; RETRIEVE places text here.
  std::string commandField;
  // A user dialog is active: jumps and EDIT/BROWSE/VIEW are refused.
  bool userDialogActive = false;
};

// Makes the state and routes Session::executeCommand to the executor.
void installCommandExecutor(Session& s);
// The session's executor state (installs the executor on first use).
CommandState& commandState(Session& s);

}  // namespace kiv
