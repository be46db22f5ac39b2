// Replacing a file so that a failure at any point leaves the old contents
// whole: the new contents go to an unnamed temporary file in the same
// directory (a named hidden one where the file system has none), are
// flushed to disk, get the old file's owner and mode, and only then take a
// name and are renamed over the target. A kill at any moment leaves the old
// file whole and, but for the instant between the link and the rename,
// nothing beside it.
#pragma once

#include <sys/stat.h>

#include <string>
#include <string_view>

namespace kiv::platform {

class AtomicWrite {
 public:
  AtomicWrite() = default;
  // An uncommitted temporary file is removed.
  ~AtomicWrite();
  AtomicWrite(const AtomicWrite&) = delete;
  AtomicWrite& operator=(const AtomicWrite&) = delete;

  // Creates the temporary file beside `target`, open for reading and
  // writing. At the commit it gets the permission bits (and, where allowed,
  // the owner) of `like`, else of `target` when that exists, else those a
  // new file gets. False with errno set.
  bool begin(const std::string& target, const struct stat* like = nullptr);
  // For a file whose directory may not be written: the new contents go to an
  // unnamed file in the temporary directory, and the commit, once they are
  // whole and the space for them is reserved, copies them over the file's
  // own and cuts it to their length. A write that fails before the commit
  // leaves the file untouched. False with errno set.
  bool beginInPlace(const std::string& target);

  int fd() const { return fd_; }
  // The descriptor a write lock belongs on: the file itself in place.
  int lockFd() const { return inPlace_ ? targetFd_ : fd_; }
  const std::string& target() const { return target_; }
  bool inPlace() const { return inPlace_; }

  // Writes all of the bytes, retrying short writes. False with errno set.
  bool writeAll(const char* data, std::size_t size);
  // Flushes the contents to disk. False with errno set.
  bool sync();
  // Gives the file its owner and mode, names it and renames it over the
  // target, then flushes the directory (in place: cuts the file to what was
  // written and flushes it). On failure (errno set) the temporary file is
  // removed.
  bool commit();
  // After a commit: hands the still open descriptor to the caller.
  int release();
  // Closes and removes the temporary file (nothing once committed).
  void abandon();

 private:
  bool linkTemporary();
  bool applyMode();
  bool copyInPlace();

  std::string target_;
  std::string temp_;  // the temporary file's name while it has one
  struct stat like_ {};
  bool haveLike_ = false;
  bool inPlace_ = false;
  int targetFd_ = -1;  // in place: the file itself, while fd_ holds the new contents
  int fd_ = -1;
  bool committed_ = false;
};

// Replaces the file at `path` with `text` through an AtomicWrite (the mode
// of an existing file kept). False with errno set.
bool replaceFileContents(const std::string& path, std::string_view text);

// Writes all of the bytes to a descriptor, retrying short writes. False with
// errno set.
bool writeAllTo(int fd, const char* data, std::size_t size);

// The directory part of a path ("." for a bare name, "/" for the root).
std::string directoryOf(const std::string& path);

}  // namespace kiv::platform
