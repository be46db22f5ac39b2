// The editor session: the one record of the running program. It owns the
// services (variable pool, messages), the guarded allocator and the state
// that file-profile choice keeps across tasks. Tasks, panels and the command
// executor join it as they are built.
#pragma once

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "core/guarded_alloc.h"
#include "core/recent_list.h"
#include "core/task.h"
#include "services/services.h"

namespace kiv {

class LineObserver;

// One entry of an alias list: a short name and what it stands for.
struct Alias {
  std::string name;     // up to 14 characters
  std::string command;  // up to 16 characters
};

class Session : public Services {
 public:
  explicit Session(platform::Platform& platform);
  ~Session() override;

  GuardedAllocator& allocator() { return allocator_; }

  // Profile aliases (extension -> profile name), from the AliasProfs group.
  std::vector<Alias> profileAliases;
  // The PRN -> TXT notice is shown once a session.
  bool prnAliasNoticeShown = false;
  // The profile read last has Charset ASCII-IBMPC: typed characters of 0x80
  // and above are translated through display table 6.
  bool lastProfileIbmPc = false;
  // Hidden markers: the session option that hides excluded-line markers.
  bool hideExcludedMarkers = false;
  // A quiet file operation (bulk file-list work) is running: loading and
  // saving show no progress, end-of-load or "File saved" messages.
  bool quietFileOp = false;
  // Width of the panel in cells, for texts centred on a data row.
  int panelWidth = 80;

  // ---- Display translate tables (core/translate_table.h) ----
  // Tables 1..6 at index 0..5. A table whose first byte is 0xFF counts as not
  // loaded; each is read from its file at its first use, and read again only
  // after forgetTranslateTable.
  unsigned char translateTables[6][256] = {{0xFF}, {0xFF}, {0xFF}, {0xFF}, {0xFF}, {0xFF}};
  bool translateTableRead[6] = {};
  // ---- end of display translate tables ----

  // ---- Edit tasks (core/task_life.h) ----
  // The open tasks in the order they were opened. ~Session destroys them
  // while the allocator that holds their lines still exists.
  std::vector<std::unique_ptr<Task>> tasks;
  // The task on top, which SWAP changes; null when none is on top.
  Task* currentTask = nullptr;
  // Memory ran short: no further task is started.
  bool outOfRam = false;
  // The layers that follow every task's lines (undo, panels), registered
  // once each (core/line_observer.h).
  std::vector<LineObserver*> lineObservers;
  // Open undo steps (core/edit_step.h); the outermost closes the step for
  // the tasks it touched (a task leaves the list when it ends).
  int openSteps = 0;
  std::vector<Task*> touchedTasks;
  // Saves that wrote nothing (refused or failed) and loads cut short by bad
  // data, so that a batch run can end with a failing status.
  long savesNotWritten = 0;
  long loadsCutShort = 0;
  // ---- end of edit tasks ----

  // ---- Command executor (src/commands/command_state.h) ----
  // The executor's state (queue, history, command aliases, command field,
  // active panel hook), made when the executor is installed, and the runner
  // that executeCommand hands command text to. The core knows the state only
  // as a base class, so that it needs nothing of the commands layer.
  struct CommandStateBase {
    virtual ~CommandStateBase() = default;
  };
  std::unique_ptr<CommandStateBase> commandState;
  void (*commandRunner)(Session&, std::string_view) = nullptr;
  void executeCommand(std::string_view text) override {
    if (commandRunner) commandRunner(*this, text);
  }
  // ---- end of command executor ----

  // ---- Recent lists (src/commands/recent_lists.h reads and writes them) ----
  RecentList fileHistory{.limit = 32, .entries = {}};
  RecentList pathHistory{.limit = 16, .entries = {}};
  RecentList typeHistory{.limit = 16, .entries = {}};
  RecentList favorites{.limit = 32, .entries = {}};
  // ---- end of recent lists ----

  // ---- Screen (src/screen/screen_state.h) ----
  // The panels, the colour scheme and the drawn grid, made when the screen
  // layer is installed. Short messages and informational texts reach the
  // message row through it.
  struct ScreenStateBase {
    virtual ~ScreenStateBase() = default;
    virtual bool showShortMessage(std::string_view text) = 0;
    virtual void clearShortMessage() = 0;
  };
  std::unique_ptr<ScreenStateBase> screen;
  bool showShortMessage(std::string_view text) override {
    return screen && screen->showShortMessage(text);
  }
  void clearShortMessage() override {
    if (screen) screen->clearShortMessage();
  }
  // EXIT (or the last task ending at the terminal) asks the event loop to stop.
  bool exitRequested = false;
  // ---- end of screen ----

 private:
  GuardedAllocator allocator_;
};

}  // namespace kiv
