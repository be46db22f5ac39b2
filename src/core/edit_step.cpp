#include "core/edit_step.h"

#include <vector>

#include "core/line_observer.h"
#include "core/session.h"
#include "core/task.h"

namespace kiv {

namespace {

void closeStep(Task& task) {
  task.stepTouched = false;
  std::erase(task.session.touchedTasks, &task);
  ++task.changeCount;
  for (LineObserver* o : task.session.lineObservers) o->stepClosed(task);
}

}  // namespace

EditStep::EditStep(Session& session) : session_(session) {
  if (session_.openSteps++ > 0) return;
  // Typing ends here, also where a key began it and changed nothing.
  for (Task* task : session_.touchedTasks) task->typingOpen = false;
  for (const auto& task : session_.tasks) task->typingOpen = false;
}

EditStep::~EditStep() {
  if (--session_.openSteps > 0) return;
  std::vector<Task*> touched = session_.touchedTasks;
  for (Task* task : touched)
    if (!task->typingOpen) closeStep(*task);
}

void noteModified(Task& task, bool data) {
  if (data) task.modified = true;
  if (!task.stepTouched) task.session.touchedTasks.push_back(&task);
  task.stepTouched = true;
  if (task.session.openSteps == 0 && !task.typingOpen) closeStep(task);
}

void beginTyping(Task& task) {
  if (task.session.openSteps == 0) task.typingOpen = true;
}

}  // namespace kiv
