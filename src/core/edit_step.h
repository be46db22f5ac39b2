// Undo steps. A step is everything one command changes, or everything typed
// until the user presses Enter or starts a command: the change counter
// (Task::changeCount, the step number undo records carry) moves once a step,
// when it closes, for each task the step changed. Line-store operations only
// mark the task; they never count steps themselves.
#pragma once

namespace kiv {

class Session;
class Task;

// Opens a step for as long as it lives; nested steps join the outermost.
// Opening the outermost step takes in the typing not yet closed, so that
// Enter's typing and line commands, or a command after typing, are one step.
class EditStep {
 public:
  explicit EditStep(Session& session);
  ~EditStep();
  EditStep(const EditStep&) = delete;
  EditStep& operator=(const EditStep&) = delete;

 private:
  Session& session_;
};

// Marks the task changed in the open step (its data too when `data`: the
// modified flag is set at once). Typing joins the typing step; with no step
// open the change is a step of its own.
void noteModified(Task& task, bool data);
// The changes that follow are typing: they stay one step until a step opens.
void beginTyping(Task& task);

}  // namespace kiv
