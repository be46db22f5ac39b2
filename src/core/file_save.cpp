#include "core/file_save.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <filesystem>

#include "core/backup.h"
#include "core/file_load.h"
#include "core/file_profile.h"
#include "core/line.h"
#include "core/line_numbering.h"
#include "core/record_writer.h"
#include "core/recovery.h"
#include "core/session.h"
#include "platform/atomic_write.h"
#include "platform/file_lock.h"
#include "services/messages.h"
#include "services/var_pool.h"

namespace kiv {

namespace {

constexpr std::string_view kSaveDisabled = "SAVE is disabled, file not written";
constexpr std::string_view kNotWritten = "File not written to disk:\n\n%s";
constexpr std::string_view kCannotOpen =
    "Unable to re-open file for write.\n\n%s\n\nUse SAVEAS to save under a different name.";
constexpr std::string_view kWriteError = "Write error on file:\n\n%s";
constexpr std::string_view kSaved = "File saved";
constexpr std::string_view kCannotRelock = "Unable to re-open file for write after SAVE:\n\n%s";
constexpr std::string_view kRdpTooLong =
    "Record %d is longer than an RDP record length field can hold (%d bytes).\n\n"
    "File not written to disk:\n\n%s";
constexpr std::string_view kChangedQuestion =
    "File has been changed by another program since it was loaded:\n\n%s\n\nOverwrite it?";
constexpr std::string_view kRemovedQuestion =
    "File has been removed by another program since it was loaded:\n\n%s\n\nWrite it again?";

// The file was written, but the write lock could not be taken again.
constexpr int kWrittenNotLocked = 1;

int notWritten(Task& task, const std::string& path) {
  messagef(task.session, "SAVE10", kNotWritten, path);
  return -1;
}

int cannotOpen(Task& task, const std::string& path) {
  task.mayEnd = false;
  messagef(task.session, "SAVE15", kCannotOpen, path);
  return -1;
}

// The same with what the system said, so that the user knows why.
int cannotOpen(Task& task, const std::string& path, int error) {
  return cannotOpen(task, path + "\n\n" + std::strerror(error));
}

int refuseOutsideEdit(Task& task) {
  task.modified = false;
  message(task.session, "SAVE5", kSaveDisabled);
  return -1;
}

bool sameIdentity(const FileIdentity& id, const struct stat& st) {
  return id.device == st.st_dev && id.inode == st.st_ino && id.size == st.st_size &&
         id.modified.tv_sec == st.st_mtim.tv_sec && id.modified.tv_nsec == st.st_mtim.tv_nsec;
}

// The task's own write lock is on the file now at `path` (the same file,
// even if another program appended to it or rewrote it in place): then no
// one else can hold one.
bool holdsLockOn(const Task& task, const std::string& path) {
  if (!task.load.lockHeld || task.load.fd < 0) return false;
  struct stat held {}, now {};
  return ::fstat(task.load.fd, &held) == 0 && ::stat(path.c_str(), &now) == 0 &&
         held.st_dev == now.st_dev && held.st_ino == now.st_ino;
}

// Another kiv holds the file under its write lock. Our own lock would show
// as another holder to a new descriptor, so the file we hold is not asked.
bool otherWriterHolds(const Task& task, const std::string& path) {
  if (holdsLockOn(task, path)) return false;
  int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (fd < 0) return false;
  bool held = platform::lockedByOther(fd);
  ::close(fd);
  return held;
}

// False when the file must not be written: another writer holds it, or
// another program changed it and the user said No.
bool mayOverwrite(Task& task, const std::string& path) {
  DiskChange change = diskChangeSinceLoad(task, path);
  if (otherWriterHolds(task, path)) {
    cannotOpen(task, path);
    return false;
  }
  if (change == DiskChange::None) return true;
  std::string_view question = change == DiskChange::Changed ? kChangedQuestion : kRemovedQuestion;
  if (askYesNo(task.session, format(question, path)) == "YES") return true;
  task.mayEnd = false;
  return false;
}

bool renumberDue(const Task& task) {
  return task.profile && task.profile->numberAuto == NumberAuto::Full &&
         task.profile->numberType != NumberType::None;
}

// Writes every TEXT line into the temporary file and flushes it to disk.
int writeLines(Task& task, const std::string& path, platform::AtomicWrite& out) {
  std::optional<RecordFormat> format = recordFormatOf(task);
  if (!format) return notWritten(task, path);
  RecordWriter writer(std::move(*format), [&out](const char* data, std::size_t size) {
    return out.writeAll(data, size);
  });
  bool ok = true;
  for (Line* line = task.lines.first; line && ok; line = line->next)
    if (line->is(LineKind::Text)) ok = writer.writeLine(line->text());
  ok = ok && writer.finish() && out.sync();
  if (ok) return 0;
  out.abandon();
  if (writer.tooLongForRdp())
    messagef(task.session, "SAVE45", kRdpTooLong, writer.records() + 1,
             static_cast<int>(kRdpMaxRecord), path);
  else
    messagef(task.session, "FILE90", kWriteError, path);
  return -1;
}

bool nonEmptyFile(const std::string& path) {
  struct stat st {};
  return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode) && st.st_size > 0;
}

// Puts the new file in place of the old one and drops the old handle. With
// the write lock wanted, the new file is locked before it takes the name,
// so no other kiv can take it in between.
int replaceFile(Task& task, const std::string& path, platform::AtomicWrite& out, bool wantLock,
                bool& locked) {
  if (!out.inPlace() && nonEmptyFile(out.target()) && backupDue(task) &&
      backupFile(task, out.target()) != 0) {
    out.abandon();
    return notWritten(task, path);
  }
  locked = wantLock && platform::lockForWrite(out.lockFd());
  if (!out.commit()) {
    messagef(task.session, "FILE90", kWriteError, path);
    return -1;
  }
  closeFile(task);
  int fd = out.release();
  recordIdentity(task.load, fd);
  if (!locked) {
    ::close(fd);
    return 0;
  }
  task.load.fd = fd;
  task.load.openedForUpdate = true;
  task.load.lockHeld = true;
  return 0;
}

// A file the user may not write is not replaced either, though its
// directory would allow the rename.
bool writable(const std::string& target) {
  return ::faccessat(AT_FDCWD, target.c_str(), W_OK, AT_EACCESS) == 0 || errno == ENOENT;
}

// Where the new contents go: beside the file, or, when its directory may not
// be written but the file itself may, over the file after the backup that
// is due. -1 after the message.
int beginOutput(Task& task, const std::string& path, const std::string& target,
                platform::AtomicWrite& out) {
  if (!writable(target)) return cannotOpen(task, path, errno);
  if (out.begin(target)) return 0;
  int error = errno;
  if (error != EACCES && error != EPERM) return cannotOpen(task, path, error);
  if (nonEmptyFile(target) && backupDue(task) && backupFile(task, target) != 0)
    return notWritten(task, path);
  closeFile(task);  // the task's own lock would stand in the way
  if (!out.beginInPlace(target)) return cannotOpen(task, path, errno);
  return 0;
}

int writeAndReplace(Task& task, const std::string& path, bool keepClosed) {
  Session& s = task.session;
  std::string target = saveTarget(path);
  platform::AtomicWrite out;
  if (beginOutput(task, path, target, out) != 0) return -1;
  if (renumberDue(task)) renumberBeforeSave(task);
  if (writeLines(task, path, out) != 0) return -1;
  if (varGet(s, "ZEDIT.STICKY.LABELS") == "TRUE") storeStickyLabels(task);
  bool wantLock = !keepClosed && varGet(s, "ZEDIT.WRITELOCK") == "TRUE";
  bool locked = false;
  if (replaceFile(task, path, out, wantLock, locked) != 0) return -1;
  task.newFile = false;
  // The file is written: the task holds nothing unsaved, even when the lock
  // cannot be taken again.
  task.modified = false;
  if (!s.quietFileOp) message(s, "SAVE20", kSaved);
  if (wantLock && !locked) {
    messagef(s, "SAVE25", kCannotRelock, path);
    return kWrittenNotLocked;
  }
  return 0;
}

}  // namespace

std::string saveTarget(const std::string& path) {
  char resolved[PATH_MAX];
  if (::realpath(path.c_str(), resolved)) return resolved;
  std::error_code ec;
  std::filesystem::path full = std::filesystem::absolute(path, ec);
  return ec ? path : full.lexically_normal().string();
}

DiskChange diskChangeSinceLoad(const Task& task, const std::string& path) {
  const FileIdentity& id = task.load.identity;
  if (!id.known) return DiskChange::None;
  struct stat st {};
  if (::stat(path.c_str(), &st) != 0)
    return errno == ENOENT || errno == ENOTDIR ? DiskChange::Removed : DiskChange::None;
  return sameIdentity(id, st) ? DiskChange::None : DiskChange::Changed;
}

std::string exitMacroName(Task& task) {
  Session& s = task.session;
  if (varGet(s, "ZSUPPRESSIANDX") == "TRUE") return {};
  std::string name = varGet(s, "ZFLIST.OPTION.XMACRO");
  if (name.empty() && task.profile) name = task.profile->xmacro;
  return name;
}

void runExitMacro(Task& /*task*/, const std::string& /*name*/) {}
void renumberBeforeSave(Task& task) { renumberAll(task); }
void storeStickyLabels(Task& /*task*/) {}

namespace {

int saveOnce(Task& task, bool keepClosed) {
  if (task.mode != TaskMode::Edit) return refuseOutsideEdit(task);
  std::string path = mapDrive(task.session, task.path);
  // A load ended by bad data leaves the task in VIEW: its partial contents
  // must never replace the file.
  if (loadAll(task) != 0 || task.mode != TaskMode::Edit) return notWritten(task, path);
  std::string macro = exitMacroName(task);
  if (!macro.empty()) runExitMacro(task, macro);
  if (!mayOverwrite(task, path)) return -1;
  return writeAndReplace(task, path, keepClosed);
}

}  // namespace

int saveTask(Task& task, bool keepClosed) {
  int rc = saveOnce(task, keepClosed);
  if (rc == 0 || rc == kWrittenNotLocked)
    dropRecoveryFile(task);
  else
    ++task.session.savesNotWritten;  // refused or failed: nothing written
  return rc == 0 ? 0 : -1;
}

}  // namespace kiv
