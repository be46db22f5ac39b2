// Opening a task's file the way its mode needs, and the screenless task.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

#include "core/file_load.h"
#include "core/file_profile.h"
#include "core/line_ops.h"
#include "core/load_caps.h"
#include "core/profile_choice.h"
#include "core/profile_read.h"
#include "core/session.h"
#include "platform/file_lock.h"
#include "services/messages.h"
#include "services/var_pool.h"

namespace kiv {

namespace {

constexpr std::string_view kMissing = "File does not exist or has length 0:\n\n%s";
constexpr std::string_view kNewFileFailed = "Unable to open new file:\n\n%s";
constexpr std::string_view kAccessDenied = "Access denied:\n\n%s";
constexpr std::string_view kBrowseOpenFailed = "File exists but unable to open for BROWSE:\n\n%s";
constexpr std::string_view kOpenFailed = "File exists but unable to open:\n\n%s";
constexpr std::string_view kNowInView =
    "Access denied:\n\n%s\n\nYou are now in VIEW mode.\n\nYou can modify in memory but you can "
    "not SAVE.\n\nUse SAVEAS to save under a different name.";
constexpr std::string_view kDirectory =
    "Can not open a directory as a file:\n\n%s\n\nUse the file list to work with a directory.";
constexpr std::string_view kNotRegular =
    "Can not open a device or other special file as a file:\n\n%s\n\nOnly regular files can be "
    "edited.";

// A setting's value; reading one that was never set does not create it.
std::string setting(Session& s, std::string_view name) {
  return varExists(s, name) ? varGet(s, name) : std::string();
}

bool isTrue(Session& s, std::string_view name) {
  return setting(s, name) == "TRUE";
}

// A decimal number at `pos` (blanks before it skipped), or -1.
long long numberAt(std::string_view text, std::size_t& pos) {
  while (pos < text.size() && text[pos] == ' ') ++pos;
  if (pos >= text.size() || text[pos] < '0' || text[pos] > '9') return -1;
  return readDecimal(text, pos);
}

// ZFLIST.OPTION.MAXRECLEN and ZFLIST.OPTION.BOUNDS, set by the file list for
// the files it opens.
void applyFileListOverrides(Task& task) {
  FileProfile& p = *task.profile;
  std::string reclen = setting(task.session, "ZFLIST.OPTION.MAXRECLEN");
  std::size_t pos = 0;
  long long n = numberAt(reclen, pos);
  if (n >= 1) {
    int old = p.maxRecLen;
    p.maxRecLen = static_cast<int>(std::min<long long>(n, kMaxRecLenMax));
    if (p.boundRight == old) p.boundRight = p.maxRecLen;
  }
  std::string bounds = setting(task.session, "ZFLIST.OPTION.BOUNDS");
  pos = 0;
  long long left = numberAt(bounds, pos);
  long long right = numberAt(bounds, pos);
  if (left >= 1) p.boundLeft = static_cast<int>(std::min<long long>(left, kMaxRecLenMax));
  if (right >= 1) p.boundRight = static_cast<int>(std::min<long long>(right, kMaxRecLenMax));
}

// Keeps the record length and bounds usable whatever the profile and the
// overrides said: 1 <= left <= right <= MaxRecLen.
void normaliseRecordSettings(FileProfile& p) {
  p.maxRecLen = std::clamp(p.maxRecLen, 1, kMaxRecLenMax);
  if (p.boundLeft < 1 || p.boundLeft > p.maxRecLen) p.boundLeft = 1;
  if (p.boundRight < p.boundLeft || p.boundRight > p.maxRecLen) p.boundRight = p.maxRecLen;
}

int openPath(const std::string& path, int flags) {
  int fd;
  do {
    fd = ::open(path.c_str(), flags | O_CLOEXEC, 0666);
  } while (fd < 0 && errno == EINTR);
  return fd;
}

// Opens for reading and updating and takes the write lock: -1 when either
// fails (no write access, or another kiv edits the file).
int openForUpdate(const std::string& path) {
  int fd = openPath(path, O_RDWR);
  if (fd >= 0 && !platform::lockForWrite(fd)) {
    ::close(fd);
    fd = -1;
  }
  return fd;
}

// A missing file: EDIT creates it at once, the other modes refuse.
int createNewFile(Task& task, const std::string& path) {
  Session& s = task.session;
  LoadState& ld = task.load;
  if (task.mode != TaskMode::Edit) {
    messagef(s, "", kMissing, path);
    return -1;
  }
  ld.fd = openPath(path, O_RDWR | O_CREAT);
  if (ld.fd < 0) {
    messagef(s, "", kNewFileFailed, path);
    return -1;
  }
  ld.openedForUpdate = true;
  ld.lockHeld = platform::lockForWrite(ld.fd);
  recordIdentity(ld, ld.fd);
  task.newFile = true;
  const FileProfile& p = *task.profile;
  if (p.newFileUtf16 && p.recfm == kRecfmVariable) {
    ld.utf16 = true;
    ld.bom[0] = 0xFF;  // 0xFEFF, low byte first
    ld.bom[1] = 0xFE;
  }
  ld.bomChecked = true;
  ld.complete = true;
  finishLineStore(task);
  if (!ld.writeLock) closeFile(task);
  return 0;
}

// Opens an existing regular file: EDIT for update under the write lock, and
// when that cannot be had read-only in VIEW (FILE20).
int openExisting(Task& task, const std::string& path) {
  Session& s = task.session;
  LoadState& ld = task.load;
  if (task.mode == TaskMode::Edit) ld.fd = openForUpdate(path);
  if (ld.fd >= 0) {
    ld.openedForUpdate = ld.lockHeld = true;
  } else {
    ld.fd = openPath(path, O_RDONLY);
    if (ld.fd < 0) {
      messagef(s, "", task.mode == TaskMode::Edit ? kOpenFailed : kBrowseOpenFailed, path);
      return -1;
    }
    if (task.mode == TaskMode::Edit) {
      task.mode = TaskMode::View;
      messagef(s, "FILE20", kNowInView, path);
    }
  }
  recordIdentity(ld, ld.fd);
  return 0;
}

// Checks what the path names before it is opened. -1 after a message when
// it cannot be loaded; 1 when it is missing; 0 for a readable regular file.
int checkPath(Task& task, const std::string& path) {
  Session& s = task.session;
  struct stat st {};
  if (::stat(path.c_str(), &st) != 0) {
    if (errno != EACCES && errno != EPERM) return 1;
    messagef(s, "FILE10", kAccessDenied, path);
    return -1;
  }
  if (!S_ISREG(st.st_mode)) {
    messagef(s, "", S_ISDIR(st.st_mode) ? kDirectory : kNotRegular, path);
    return -1;
  }
  if (::faccessat(AT_FDCWD, path.c_str(), R_OK, AT_EACCESS) != 0) {
    messagef(s, "FILE10", kAccessDenied, path);
    return -1;
  }
  return 0;
}

bool nextChunkHook(Task& task) {
  std::size_t before = task.lines.count;
  loadChunk(task);
  return task.lines.count > before;
}

// Piecemeal in EDIT under ZEDIT.VIRTUALLOAD, with the file open for update,
// unless something needs the whole file at once.
bool piecemeal(Task& task) {
  const FileProfile& p = *task.profile;
  bool autoIncrease = p.recfm == kRecfmVariable && !p.longRecordOption.empty() &&
                      (p.longRecordOption[0] == 'A' || p.longRecordOption[0] == 'a');
  return task.mode == TaskMode::Edit && isTrue(task.session, "ZEDIT.VIRTUALLOAD") &&
         task.load.openedForUpdate && !autoIncrease && !p.colorization &&
         p.capsMode != CapsMode::Auto;
}

void loadAtOpen(Task& task) {
  LoadState& ld = task.load;
  ld.loadNow = !piecemeal(task);
  if (ld.loadNow) {
    loadAll(task);
    return;
  }
  task.loadNextChunk = nextChunkHook;
  if (loadChunk(task) > 0 && ld.loadNow) loadAll(task);
}

}  // namespace

void recordIdentity(LoadState& ld, int fd) {
  struct stat st {};
  if (fd < 0 || ::fstat(fd, &st) != 0) return;
  ld.identity = {.known = true,
                 .device = st.st_dev,
                 .inode = st.st_ino,
                 .size = st.st_size,
                 .modified = st.st_mtim};
  ld.fileSize = static_cast<std::uint64_t>(st.st_size);
}

// UTF-8 is the display's character set exactly when it is the file's, and
// only where the user's locale takes UTF-8 text.
void chooseCharsets(Task& task) {
  FileProfile& p = *task.profile;
  if (p.charset == Charset::Utf8 && !task.session.platform().utf8Locale()) p.charset = Charset::AsciiIso8859;
  if (p.charset == Charset::Utf8)
    p.charsetDisplay = Charset::Utf8;
  else if (p.charsetDisplay == Charset::Utf8)
    p.charsetDisplay = Charset::AsciiIso8859;
}

int openFile(Task& task) {
  Session& s = task.session;
  LoadState& ld = task.load;
  if (!task.profile) {
    task.profile = std::make_unique<FileProfile>();
    applyBuiltinProfile(*task.profile);
  }
  ld.tabWarningShown = false;
  ld.writeLock = isTrue(s, "ZEDIT.WRITELOCK");
  applyFileListOverrides(task);
  normaliseRecordSettings(*task.profile);
  chooseCharsets(task);
  task.displayOffset = task.profile->offset;
  std::string path = mapDrive(s, task.path);
  int state = checkPath(task, path);
  if (state < 0) return -1;
  if (state > 0) return createNewFile(task, path);
  if (openExisting(task, path) != 0) return -1;
  loadAtOpen(task);
  applyCapsMode(task);
  return 0;
}

void closeFile(Task& task) {
  LoadState& ld = task.load;
  if (ld.fd >= 0) ::close(ld.fd);  // closing drops the OFD lock
  ld.fd = -1;
  ld.lockHeld = false;
  ld.openedForUpdate = false;
}

std::string mapDrive(Session&, std::string_view path) {
  return std::string(path);
}

std::unique_ptr<Task> openTask(Session& s, std::string_view path, TaskMode mode) {
  auto task = std::make_unique<Task>(s);
  task->path = std::string(path);
  task->mode = mode;
  task->profile = readProfile(s, chooseProfile(s, path));
  initLineStore(*task);
  if (openFile(*task) != 0) return nullptr;
  return task;
}

}  // namespace kiv
