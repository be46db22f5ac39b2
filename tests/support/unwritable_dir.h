// Makes permission bits bind for as long as it lives, for tests of files and
// directories the user may not read or write.
#pragma once

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <string>

namespace kiv::test {

// While it lives, no file can be created in the directory, though the files
// in it stay writable: a writer that truncated the old file in place would
// succeed, one that writes beside it and renames cannot. For root, whom
// permission bits do not bind, the effective user becomes nobody, and the
// folder above is opened for passing through.
class UnwritableDir {
 public:
  explicit UnwritableDir(std::string dir) : dir_(std::move(dir)) {
    parent_ = dir_.substr(0, dir_.rfind('/'));
    ::chmod(parent_.c_str(), 0711);
    ::chmod(dir_.c_str(), 0555);
    if (::geteuid() == 0) dropped_ = ::setegid(65534) == 0 && ::seteuid(65534) == 0;
  }
  ~UnwritableDir() {
    if (dropped_) {
      EXPECT_EQ(::seteuid(0), 0);
      EXPECT_EQ(::setegid(0), 0);
    }
    ::chmod(dir_.c_str(), 0755);
    ::chmod(parent_.c_str(), 0700);
  }
  // False where root could not give up its rights: the test cannot run.
  bool binds() const { return dropped_ || ::geteuid() != 0; }
  UnwritableDir(const UnwritableDir&) = delete;
  UnwritableDir& operator=(const UnwritableDir&) = delete;

 private:
  std::string dir_;
  std::string parent_;
  bool dropped_ = false;
};

}  // namespace kiv::test
