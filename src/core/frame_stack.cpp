#include "core/frame_stack.h"

#include <algorithm>
#include <array>

#include "core/task.h"

namespace kiv {

std::string_view frameKindName(FrameKind kind) {
  static constexpr std::array<std::string_view, 5> kNames = {"idle", "task", "dialog", "filelist",
                                                             "menu"};
  return kNames[static_cast<std::size_t>(kind)];
}

FrameView* Frame::view() const {
  return task ? task->view.get() : ownView.get();
}

Frame* FrameStack::top() {
  return frames_.empty() ? nullptr : frames_.back().get();
}

const Frame* FrameStack::top() const {
  return frames_.empty() ? nullptr : frames_.back().get();
}

Task* FrameStack::topTask() const {
  for (auto it = frames_.rbegin(); it != frames_.rend(); ++it)
    if ((*it)->task) return (*it)->task;
  return nullptr;
}

Frame& FrameStack::push(FrameKind kind, std::string name, std::unique_ptr<FrameView> view) {
  auto frame = std::make_unique<Frame>();
  frame->kind = kind;
  frame->name = std::move(name);
  frame->owner = topTask();
  frame->ownView = std::move(view);
  frames_.push_back(std::move(frame));
  return *frames_.back();
}

void FrameStack::pop() {
  if (!frames_.empty() && !frames_.back()->task) frames_.pop_back();
}

void FrameStack::raise(Task& task) {
  auto it = std::find_if(frames_.begin(), frames_.end(), [&](const auto& f) { return f->task == &task; });
  std::unique_ptr<Frame> frame;
  if (it != frames_.end()) {
    frame = std::move(*it);
    frames_.erase(it);
  } else {
    frame = std::make_unique<Frame>();
    frame->kind = FrameKind::Task;
    frame->name = task.path;
    frame->task = &task;
  }
  frames_.push_back(std::move(frame));
}

void FrameStack::removeTask(const Task& task) {
  std::erase_if(frames_, [&](const auto& f) { return f->task == &task || f->owner == &task; });
}

}  // namespace kiv
