#include "platform/file_lock.h"

#include <fcntl.h>
#include <unistd.h>

namespace kiv::platform {

namespace {
struct flock wholeFile(short type) {
  struct flock fl {};
  fl.l_type = type;
  fl.l_whence = SEEK_SET;
  fl.l_start = 0;
  fl.l_len = 0;
  return fl;
}
}  // namespace

bool lockForWrite(int fd) {
  struct flock fl = wholeFile(F_WRLCK);
  return ::fcntl(fd, F_OFD_SETLK, &fl) == 0;
}

bool lockedByOther(int fd) {
  struct flock fl = wholeFile(F_WRLCK);
  if (::fcntl(fd, F_OFD_GETLK, &fl) != 0) return false;
  return fl.l_type != F_UNLCK;
}

}  // namespace kiv::platform
