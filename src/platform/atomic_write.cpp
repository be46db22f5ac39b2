#include "platform/atomic_write.h"

#include <fcntl.h>
#include <sys/resource.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <random>
#include <vector>

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

void syncDirectory(const std::string& dir) {
  int dfd = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (dfd < 0) return;
  ::fsync(dfd);  // some file systems cannot: the rename itself is done
  ::close(dfd);
}

// The hidden name beside the target with the X's replaced.
std::string temporaryName(const std::string& target) {
  static std::mt19937 random{std::random_device{}()};
  static constexpr char kChars[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
  std::string name = directoryOf(target) + "/." + baseOf(target).substr(0, kTempBaseMax) + kTempSuffix;
  for (std::size_t i = name.size() - 6; i < name.size(); ++i)
    name[i] = kChars[random() % (sizeof kChars - 1)];
  return name;
}

// The file system cannot make unnamed files in this directory.
bool noUnnamedFiles(int error) {
  return error == EOPNOTSUPP || error == EISDIR || error == EINVAL;
}

}  // namespace

bool replaceFileContents(const std::string& path, std::string_view text) {
  AtomicWrite w;
  return w.begin(path) && w.writeAll(text.data(), text.size()) && w.sync() && w.commit();
}

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
  inPlace_ = false;
  haveLike_ = like != nullptr;
  if (like) like_ = *like;
  struct stat existing {};
  if (!like && ::stat(target.c_str(), &existing) == 0 && S_ISREG(existing.st_mode)) {
    like_ = existing;
    haveLike_ = true;
  }
  fd_ = ::open(directoryOf(target).c_str(), O_TMPFILE | O_RDWR | O_CLOEXEC, 0600);
  if (fd_ >= 0 || !noUnnamedFiles(errno)) return fd_ >= 0;
  temp_ = directoryOf(target) + "/." + baseOf(target).substr(0, kTempBaseMax) + kTempSuffix;
  fd_ = ::mkostemp(temp_.data(), O_CLOEXEC);
  if (fd_ < 0) temp_.clear();
  return fd_ >= 0;
}

bool AtomicWrite::beginInPlace(const std::string& target) {
  abandon();
  target_ = target;
  committed_ = false;
  inPlace_ = true;
  targetFd_ = ::open(target.c_str(), O_RDWR | O_CLOEXEC);
  if (targetFd_ < 0) return false;
  const char* tmp = std::getenv("TMPDIR");
  std::string dir = tmp && *tmp ? tmp : "/tmp";
  fd_ = ::open(dir.c_str(), O_TMPFILE | O_RDWR | O_CLOEXEC, 0600);
  if (fd_ < 0 && noUnnamedFiles(errno)) {
    std::string name = dir + "/.kivsave-XXXXXX";
    fd_ = ::mkostemp(name.data(), O_CLOEXEC);
    if (fd_ >= 0) ::unlink(name.c_str());
  }
  if (fd_ >= 0) return true;
  int saved = errno;
  abandon();
  errno = saved;
  return false;
}

// Copies the staged contents over the file's own. Everything that can fail
// for want of room (the size limit, the disk) is tried before the first byte
// of the file changes.
bool AtomicWrite::copyInPlace() {
  off_t size = ::lseek(fd_, 0, SEEK_END);
  if (size < 0) return false;
  rlimit limit{};
  if (::getrlimit(RLIMIT_FSIZE, &limit) == 0 && limit.rlim_cur != RLIM_INFINITY &&
      static_cast<rlim_t>(size) > limit.rlim_cur) {
    errno = EFBIG;
    return false;
  }
  if (size > 0 && ::fallocate(targetFd_, FALLOC_FL_KEEP_SIZE, 0, size) != 0 &&
      errno != EOPNOTSUPP)
    return false;
  std::vector<char> block(1 << 20);
  for (off_t at = 0; at < size;) {
    ssize_t n = ::pread(fd_, block.data(), block.size(), at);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    for (ssize_t done = 0; done < n;) {
      ssize_t w = ::pwrite(targetFd_, block.data() + done, static_cast<std::size_t>(n - done),
                           at + done);
      if (w < 0 && errno == EINTR) continue;
      if (w <= 0) return false;
      done += w;
    }
    at += n;
  }
  if (::ftruncate(targetFd_, size) != 0) return false;
  while (::fsync(targetFd_) != 0)
    if (errno != EINTR) return false;
  return true;
}

bool writeAllTo(int fd, const char* data, std::size_t size) {
  while (size > 0) {
    ssize_t n = ::write(fd, data, size);
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

bool AtomicWrite::writeAll(const char* data, std::size_t size) {
  return writeAllTo(fd_, data, size);
}

bool AtomicWrite::sync() {
  while (::fsync(fd_) != 0)
    if (errno != EINTR) return false;
  return true;
}

// The owner first, since a change of owner clears the set-id bits, and
// both after the writes, which clear them too. Only root may give a file
// away, so a refused change of owner is not an error.
bool AtomicWrite::applyMode() {
  if (!haveLike_) return ::fchmod(fd_, newFileMode()) == 0;
  if (like_.st_uid != ::geteuid() || like_.st_gid != ::getegid()) {
    [[maybe_unused]] int ignored = ::fchown(fd_, like_.st_uid, like_.st_gid);
  }
  return ::fchmod(fd_, like_.st_mode & 07777) == 0;
}

// Gives the unnamed file a hidden name beside the target.
bool AtomicWrite::linkTemporary() {
  if (!temp_.empty()) return true;
  std::string self = "/proc/self/fd/" + std::to_string(fd_);
  for (int attempt = 0; attempt < 100; ++attempt) {
    std::string name = temporaryName(target_);
    if (::linkat(AT_FDCWD, self.c_str(), AT_FDCWD, name.c_str(), AT_SYMLINK_FOLLOW) == 0) {
      temp_ = name;
      return true;
    }
    if (errno != EEXIST) return false;
  }
  return false;
}

bool AtomicWrite::commit() {
  if (fd_ < 0) {
    errno = EBADF;
    return false;
  }
  if (inPlace_) {
    bool ok = copyInPlace();
    int saved = errno;
    ::close(fd_);
    fd_ = targetFd_;
    targetFd_ = -1;
    if (!ok) {
      abandon();
      errno = saved;
      return false;
    }
    committed_ = true;
    return true;
  }
  if (!applyMode() || !linkTemporary() || ::rename(temp_.c_str(), target_.c_str()) != 0) {
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
  if (targetFd_ >= 0) ::close(targetFd_);
  targetFd_ = -1;
  if (committed_ || fd_ < 0) return;
  ::close(fd_);
  fd_ = -1;
  if (!temp_.empty()) ::unlink(temp_.c_str());
  temp_.clear();
}

}  // namespace kiv::platform
