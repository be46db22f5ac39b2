// Replacing a file so that a failure at any point leaves the old contents
// whole: the new contents go to a temporary file in the same directory, are
// flushed to disk, and the temporary file is renamed over the target.
#pragma once

#include <sys/stat.h>

#include <string>

namespace kiv::platform {

class AtomicWrite {
 public:
  AtomicWrite() = default;
  // An uncommitted temporary file is removed.
  ~AtomicWrite();
  AtomicWrite(const AtomicWrite&) = delete;
  AtomicWrite& operator=(const AtomicWrite&) = delete;

  // Creates the temporary file beside `target`, open for reading and
  // writing. It gets the permission bits (and, where allowed, the owner) of
  // `like`, else of `target` when that exists, else those a new file gets.
  // False with errno set.
  bool begin(const std::string& target, const struct stat* like = nullptr);

  int fd() const { return fd_; }
  const std::string& tempPath() const { return temp_; }
  const std::string& target() const { return target_; }

  // Writes all of the bytes, retrying short writes. False with errno set.
  bool writeAll(const char* data, std::size_t size);
  // Flushes the contents to disk. False with errno set.
  bool sync();
  // Renames the temporary file over the target and flushes the directory.
  // On failure (errno set) the temporary file is removed.
  bool commit();
  // After a commit: hands the still open descriptor to the caller.
  int release();
  // Closes and removes the temporary file (nothing once committed).
  void abandon();

 private:
  std::string target_;
  std::string temp_;
  int fd_ = -1;
  bool committed_ = false;
};

// The directory part of a path ("." for a bare name, "/" for the root).
std::string directoryOf(const std::string& path);

}  // namespace kiv::platform
