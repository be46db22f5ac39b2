#include "core/session.h"

namespace kiv {

Session::Session(platform::Platform& platform) : Services(platform), allocator_(platform) {}

Session::~Session() = default;

}  // namespace kiv
