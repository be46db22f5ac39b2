#include "platform/atomic_write.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>

namespace kiv::platform {

namespace {

// A temporary name stays within the 255 bytes a directory entry may hold.
constexpr std::size_t kTempBaseMax = 200;
constexpr const char* kTempSuffix = ".kivsave-XXXXXX";

std::string baseOf(const std::string& path) {
  std::size_t slash = path.rfind('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

mode_t newFileMode() {
  mode_t mask = ::umask(0);
  ::umask(mask);
  return 0666 & ~mask;
}

// Gives the new file the owner and permission bits it should have. The owner
// is changed first because a change of owner clears the set-id bits. Only
// root may give a file away, so a refused change of owner is not an error.
bool applyMode(int fd, const struct stat* like) {
  if (!like) return ::fchmod(fd, newFileMode()) == 0;
  if (like->st_uid != ::geteuid() || like->st_gid != ::getegid()) {
    [[maybe_unused]] int ignored = ::fchown(fd, like->st_uid, like->st_gid);
  }
  return ::fchmod(fd, like->st_mode & 07777) == 0;
}

void syncDirectory(const std::string& dir) {
  int dfd = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (dfd < 0) return;
  ::fsync(dfd);  // some file systems cannot: the rename itself is done
  ::close(dfd);
}

}  // namespace

std::string directoryOf(const std::string& path) {
  std::size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  if (slash == 0) return "/";
  return path.substr(0, slash);
}

AtomicWrite::~AtomicWrite() {
  abandon();
  if (fd_ >= 0) ::close(fd_);
}

bool AtomicWrite::begin(const std::string& target, const struct stat* like) {
  abandon();
  target_ = target;
  committed_ = false;
  struct stat existing {};
  if (!like && ::stat(target.c_str(), &existing) == 0 && S_ISREG(existing.st_mode)) like = &existing;
  std::string base = baseOf(target).substr(0, kTempBaseMax);
  temp_ = directoryOf(target) + "/." + base + kTempSuffix;
  fd_ = ::mkostemp(temp_.data(), O_CLOEXEC);
  if (fd_ < 0) {
    temp_.clear();
    return false;
  }
  if (applyMode(fd_, like)) return true;
  int saved = errno;
  abandon();
  errno = saved;
  return false;
}

bool AtomicWrite::writeAll(const char* data, std::size_t size) {
  while (size > 0) {
    ssize_t n = ::write(fd_, data, size);
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    if (n == 0) {
      errno = EIO;
      return false;
    }
    data += n;
    size -= static_cast<std::size_t>(n);
  }
  return true;
}

bool AtomicWrite::sync() {
  while (::fsync(fd_) != 0)
    if (errno != EINTR) return false;
  return true;
}

bool AtomicWrite::commit() {
  if (fd_ < 0 || temp_.empty()) {
    errno = EBADF;
    return false;
  }
  if (::rename(temp_.c_str(), target_.c_str()) != 0) {
    int saved = errno;
    abandon();
    errno = saved;
    return false;
  }
  committed_ = true;
  temp_.clear();
  syncDirectory(directoryOf(target_));
  return true;
}

int AtomicWrite::release() {
  if (!committed_) return -1;
  int fd = fd_;
  fd_ = -1;
  return fd;
}

void AtomicWrite::abandon() {
  if (committed_ || temp_.empty()) return;
  if (fd_ >= 0) ::close(fd_);
  fd_ = -1;
  ::unlink(temp_.c_str());
  temp_.clear();
}

}  // namespace kiv::platform
