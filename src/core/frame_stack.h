// The frame stack: the screens the session shows, one above the other. Each
// frame is an edit task's panel, a dialog, the file list, a menu or the idle
// screen, tagged with its kind and name; the top one receives the keys and
// the mouse, decides which command table applies and is what batch mode's
// commands reach. A task's frame shows the task's own view; every other
// frame owns its view, and the task it was opened over owns the frame: it
// goes when that task ends.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/events.h"

namespace kiv {

class Task;
struct Line;

enum class FrameKind { Idle, Task, Dialog, FileList, Menu };

// "idle", "task", "dialog", "filelist", "menu".
std::string_view frameKindName(FrameKind kind);

// What a frame shows; the screen layer's panels derive from it.
class FrameView {
 public:
  virtual ~FrameView() = default;
  // Keys, clicks and wheel turns given to the frame on top.
  virtual void handleEvent(const platform::Event&) {}
  // A task's view hears of changes to the task's lines: `line` is to be
  // painted again, or with `layout` the rows are to be laid out again.
  virtual void lineChanged(const Line* /*line*/, bool /*layout*/) {}
};

struct Frame {
  FrameKind kind = FrameKind::Idle;
  std::string name;
  Task* task = nullptr;   // a task frame's task
  Task* owner = nullptr;  // the task this frame was opened over, if any
  std::unique_ptr<FrameView> ownView;  // the view of a frame that is not a task's

  // The view shown: the task's (made by the screen layer) or the frame's own.
  FrameView* view() const;
};

class FrameStack {
 public:
  // The frame on top; null when the stack is empty.
  Frame* top();
  const Frame* top() const;
  // The task of the topmost task frame: the current task.
  Task* topTask() const;
  // The kind on top; an empty stack shows the idle screen.
  FrameKind topKind() const { return top() ? top()->kind : FrameKind::Idle; }
  // The view on top: the top frame's, else the idle screen's.
  FrameView* topView() const { return top() ? top()->view() : idle_.get(); }
  // The idle screen, shown when no frame is on the stack (the screen layer
  // makes it, and makes it again after a resize).
  void setIdleView(std::unique_ptr<FrameView> view) { idle_ = std::move(view); }
  FrameView* idleView() const { return idle_.get(); }

  // Pushes a frame that is not a task's, opened over the current task.
  Frame& push(FrameKind kind, std::string name, std::unique_ptr<FrameView> view);
  // Pops the top frame (never a task's; tasks leave through removeTask).
  void pop();
  // Puts the task's frame on top, pushing it when it has none.
  void raise(Task& task);
  // Removes the task's frame and the frames the task owns.
  void removeTask(const Task& task);
  // Ends every frame (the session's end).
  void clear() {
    frames_.clear();
    idle_.reset();
  }

  std::size_t size() const { return frames_.size(); }
  const Frame& at(std::size_t i) const { return *frames_[i]; }

 private:
  std::vector<std::unique_ptr<Frame>> frames_;  // bottom first
  std::unique_ptr<FrameView> idle_;
};

}  // namespace kiv
