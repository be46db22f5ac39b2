// An edit task: one open file with its line store, its copy of the file
// profile, its scratch buffers and the counters every modification touches.
// The task lifecycle (create, end, cancel) joins it with the editor session.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <unordered_set>
#include <utility>
#include <vector>

#include "core/frame_stack.h"
#include "core/guarded_alloc.h"
#include "core/line_index.h"
#include "core/list.h"
#include "core/load_state.h"
#include "core/selection.h"
#include "core/undo_journal.h"

namespace kiv {

class Session;
class Task;
struct Line;
struct FileProfile;
struct ScratchBuffer;

enum class TaskMode { Edit, Browse, View };

// The task's own copies of settings taken from the variable pool when it is
// created, so that a scroll or find setting changed in one task leaves the
// others alone: ZEDIT.SCROLL.H/V.WHENCURSATEDGE, ZEDIT.FIND.GLOBAL and the
// last find and change parameters and strings.
struct TaskSettings {
  std::string scrollHWhenCursAtEdge;
  std::string scrollVWhenCursAtEdge;
  std::string findGlobal;
  std::string lastFindParms;
  std::string lastChangeParms;
  std::string lastStr1;
  std::string lastStr2;
};

// An open text-entry area (TE): its lines, and the columns (1-based) its
// paragraphs flow between when it closes.
struct TextEntryArea {
  HeldRange lines;
  int left = 1;
  int right = 0;
};

// The matches a FIND ALL leaves shown on the screen: the commands layer
// finds them again on each line as it is painted, so nothing is stored per
// line.
class FoundMarks {
 public:
  virtual ~FoundMarks() = default;
  // Appends the {offset, length} of each match on `line`.
  virtual void marks(Task& task, const Line& line, std::vector<std::pair<int, int>>& out) const = 0;
};

// Where the last FIND or CHANGE left off, for the next one and for RFIND
// and RCHANGE.
struct SearchState {
  HeldRange match;  // first: the line of the last match
  int column = 0;   // its 0-based offset and length
  int length = 0;
  bool highlight = false;  // the match is shown in the found-text colour
  bool lastWasChange = false;
  bool wrapped = false;  // a repeat found nothing: the next starts at the other end
  long occurrences = 0;
  long lines = 0;
  std::vector<std::shared_ptr<const FoundMarks>> marked;  // FIND ALLs shown
};

class Task {
 public:
  explicit Task(Session& session);
  ~Task();
  Task(const Task&) = delete;
  Task& operator=(const Task&) = delete;

  Session& session;
  // The blocks of the task's line records; they go back when the task ends.
  LinePool linePool;
  std::string path;
  TaskMode mode = TaskMode::Edit;

  ListHead<Line> lines;
  std::unique_ptr<FileProfile> profile;  // null: no profile (MaxRecLen 128)
  ListHead<ScratchBuffer> scratch;

  LoadState load;

  bool modified = false;
  long changeCount = 0;
  // Counts insertions and removals of lines anywhere but at the end of the
  // store, so that a panel knows when the lines it holds on to may be gone
  // (linkLineBefore and unlinkLine, the only ways in and out, keep it), and
  // changes of a line's kind or Shown flag, which change what a view walks
  // past (setLineKind, setLineFlag).
  long structureChanges = 0;
  // TEXT lines in the store, kept by the same two.
  long textLines = 0;
  // Line numbers at any distance (core/line_index.h), kept by the same two.
  LineIndex index;
  // Lines whose line-command field holds a command, kept by the line store
  // (setLineCommand, link, unlink) so that Enter finds them without a walk.
  std::unordered_set<Line*> pendingLines;
  Selection selection;
  TextEntryArea textEntry;
  SearchState search;
  UndoJournal journal;
  // The cursor's data column (1-based) while the user types, for undo to
  // put the cursor back; 0 when not typing.
  int editColumn = 0;
  // Typing past this data column (1-based) wraps the word to a new line; 0: off.
  int wrapColumn = 0;
  // END may remove the task; a failed save or backup clears it.
  bool mayEnd = true;
  // The task created its file on open; END deletes it when still empty.
  bool newFile = false;
  // The recovery file that holds (or held) the task's unsaved lines; END,
  // CANCEL and a successful SAVE remove it.
  std::string recoveryFile;
  bool capsOn = false;     // caps in force
  TaskSettings settings;
  long keystrokes = 0;     // data characters typed since the last save reminder
  int displayOffset = 0;   // leading columns not shown
  Line* topLine = nullptr;  // first line shown on the panel
  // The open step changed the task; typing keeps its step open until Enter
  // or a command (core/edit_step.h).
  bool stepTouched = false;
  bool typingOpen = false;

  // The panel that shows the task, owned here so that it goes with the task;
  // the screen layer makes it.
  std::unique_ptr<FrameView> view;

  // Set by the loader while part of the file is still on disk: loads the
  // next chunk, returns false when nothing more could be loaded.
  std::function<bool(Task&)> loadNextChunk;
};

}  // namespace kiv
