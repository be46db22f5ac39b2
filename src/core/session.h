// The editor session: the one record of the running program. It owns the
// services (variable pool, messages), the guarded allocator and the state
// that file-profile choice keeps across tasks. Tasks, panels and the command
// executor join it as they are built.
#pragma once

#include <memory>
#include <typeindex>
#include <typeinfo>
#include <string>
#include <utility>
#include <vector>

#include "core/frame_stack.h"
#include "core/guarded_alloc.h"
#include "core/recent_list.h"
#include "core/task.h"
#include "services/services.h"

namespace kiv {

class LineObserver;

// The per-session state of a layer above core (Session::feature).
class Feature {
 public:
  virtual ~Feature() = default;
};

// Runs command text: the command executor provides it.
class CommandExecution : public Feature {
 public:
  virtual void run(std::string_view text) = 0;
};

// The message row of the screen on top: the screen layer provides it.
class MessageRow : public Feature {
 public:
  virtual bool show(std::string_view text) = 0;
  virtual void clear() = 0;
};

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
  // The screens shown, the top one receiving input (core/frame_stack.h).
  FrameStack frames;
  // The task of the topmost task frame, which SWAP changes; null when none.
  Task* currentTask() const { return frames.topTask(); }
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

  void executeCommand(std::string_view text) override {
    if (auto* e = findFeature<CommandExecution>()) e->run(text);
  }

  // ---- Recent lists (src/commands/recent_lists.h reads and writes them) ----
  RecentList fileHistory{.limit = 32, .entries = {}};
  RecentList pathHistory{.limit = 16, .entries = {}};
  RecentList typeHistory{.limit = 16, .entries = {}};
  RecentList favorites{.limit = 32, .entries = {}};
  // ---- end of recent lists ----

  // Short messages and informational texts reach the message row of the
  // screen on top.
  bool showShortMessage(std::string_view text) override {
    auto* row = findFeature<MessageRow>();
    return row && row->show(text);
  }
  void clearShortMessage() override {
    if (auto* row = findFeature<MessageRow>()) row->clear();
  }
  // EXIT (or the last task ending at the terminal) asks the event loop to stop.
  bool exitRequested = false;

  // The per-session state of a layer above core, by its type: made on first
  // use with T(Session&), or provided under a type of core's (such as
  // CommandExecution). Features end with the session, last made first.
  template <class T>
  T& feature() {
    if (T* f = findFeature<T>()) return *f;
    return provide<T>(std::make_unique<T>(*this));
  }
  template <class T>
  T* findFeature() const {
    for (const auto& [type, f] : features_)
      if (type == std::type_index(typeid(T))) return static_cast<T*>(f.get());
    return nullptr;
  }
  template <class Key, class T>
  T& provide(std::unique_ptr<T> f) {
    T& ref = *f;
    std::erase_if(features_, [](const auto& e) { return e.first == std::type_index(typeid(Key)); });
    features_.emplace_back(std::type_index(typeid(Key)), std::move(f));
    return ref;
  }

 private:
  std::vector<std::pair<std::type_index, std::unique_ptr<Feature>>> features_;
  GuardedAllocator allocator_;
  // Lets go of the lines tasks hold when those lines leave (core/held_range.h).
  std::unique_ptr<LineObserver> rangeKeeper_;
  // Records every task's changes for UNDO and REDO (core/undo_journal.h).
  std::unique_ptr<LineObserver> undoRecorder_;
};

}  // namespace kiv
