#include "core/session.h"

namespace kiv {

Session::Session(platform::Platform& platform) : Services(platform), allocator_(platform) {}

// The tasks go first: their lines and buffers belong to the allocator,
// which, declared last, would otherwise be destroyed before them.
Session::~Session() {
  currentTask = nullptr;
  tasks.clear();
}

}  // namespace kiv
