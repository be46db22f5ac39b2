#include "core/backup.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <vector>

#include "core/file_profile.h"
#include "core/session.h"
#include "core/task.h"
#include "platform/atomic_write.h"
#include "services/messages.h"
#include "services/option_group.h"
#include "services/var_pool.h"

namespace fs = std::filesystem;

namespace kiv {

namespace {

constexpr std::string_view kDeleteOldBackup =
    "Unable to delete old backup file:\n\n%s.bak\n\nUse SAVEAS to save under a different name.";
constexpr std::string_view kRenameForBackup =
    "Unable to rename original file for backup:\n\n%s.bak\n\nUse SAVEAS to save under a different "
    "name.";
constexpr std::string_view kNoBackupPath =
    "Specified backup path does not exist:\n\n%s\n\nCreate this path then SAVE your file again.";
constexpr std::string_view kSamePath =
    "Can not backup modified file.\n\nBackup path is same as current path.\n\nUse SAVEAS to save "
    "under a different name.";
constexpr std::string_view kCopyFailed =
    "Unable to copy modified file for backup,\n\nFrom:  %s\nTo:  %s\n\nUse SAVEAS to save under a "
    "different name.";
constexpr std::size_t kCopyBlock = 1 << 20;

// Reports a failed backup; END must then keep the task.
template <class... Args>
int refuse(Task& task, std::string_view id, std::string_view text, const Args&... args) {
  task.mayEnd = false;
  messagef(task.session, id, text, args...);
  return -1;
}

bool isBlank(char c) { return c == ' ' || c == '\t'; }

// A double-quoted path starting at or after `pos` (blanks skipped).
bool quotedPath(std::string_view line, std::size_t& pos, std::string& out) {
  while (pos < line.size() && isBlank(line[pos])) ++pos;
  if (pos >= line.size() || line[pos] != '"') return false;
  std::size_t end = line.find('"', pos + 1);
  if (end == std::string_view::npos) return false;
  out.assign(line.substr(pos + 1, end - pos - 1));
  pos = end + 1;
  return !out.empty() && out.size() <= kBackupPathMax;
}

std::string baseName(const std::string& path) {
  std::size_t slash = path.rfind('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

// The file's directory ending in "/".
std::string directoryWithSlash(const std::string& path) {
  std::string dir = platform::directoryOf(path);
  if (dir.back() != '/') dir += '/';
  return dir;
}

// A relative backup directory (".KivBackupFiles") lies under the file's own.
std::string backupDirectory(const std::string& to, const std::string& fileDir) {
  return to.front() == '/' ? to : fileDir + to;
}

bool copyContents(int from, platform::AtomicWrite& to) {
  std::vector<char> block(kCopyBlock);
  for (;;) {
    ssize_t n = ::read(from, block.data(), block.size());
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return false;
    if (n == 0) return true;
    if (!to.writeAll(block.data(), static_cast<std::size_t>(n))) return false;
  }
}

// Copies the file over any older copy: the older copy is replaced only by a
// complete new one.
bool copyFile(const std::string& from, const std::string& to, const struct stat& like) {
  int in = ::open(from.c_str(), O_RDONLY | O_CLOEXEC);
  if (in < 0) return false;
  platform::AtomicWrite out;
  bool ok = out.begin(to, &like) && copyContents(in, out) && out.sync() && out.commit();
  ::close(in);
  return ok;
}

// The old contents take the ".bak" name. A second link keeps the file at its
// own name until the new one is renamed over it, so a kill in between loses
// neither; a file system without hard links gets the rename.
int backupBeside(Task& task, const std::string& path) {
  std::string bak = path + std::string(kBackupSuffix);
  if (::unlink(bak.c_str()) != 0 && errno != ENOENT)
    return refuse(task, "BACKUP5", kDeleteOldBackup, path);
  if (::link(path.c_str(), bak.c_str()) == 0) return 0;
  if (::rename(path.c_str(), bak.c_str()) != 0)
    return refuse(task, "BACKUP10", kRenameForBackup, path);
  return 0;
}

int backupInto(Task& task, const std::string& path, const std::string& dir,
               const struct stat& st) {
  std::error_code ec;
  fs::create_directories(dir, ec);
  if (!fs::is_directory(dir, ec)) return refuse(task, "BACKUP15", kNoBackupPath, dir);
  if (fs::equivalent(dir, platform::directoryOf(path), ec))
    return refuse(task, "BACKUP20", kSamePath);
  std::string copy = dir.back() == '/' ? dir : dir + "/";
  copy += baseName(path);
  // The original is not deleted after the copy: the new file is renamed over
  // it (or written over it in place), so the name never goes missing.
  if (!copyFile(path, copy, st)) return refuse(task, "BACKUP25", kCopyFailed, path, copy);
  return 0;
}

}  // namespace

std::optional<BackupRule> parseBackupRule(std::string_view line) {
  BackupRule rule;
  std::size_t pos = 0;
  if (!quotedPath(line, pos, rule.from) || pos >= line.size() || !isBlank(line[pos]) ||
      !quotedPath(line, pos, rule.to))
    return std::nullopt;
  return rule;
}

std::vector<BackupRule> readBackupRules(Session& s) {
  std::vector<BackupRule> rules;
  FilePtr f = openOptionGroup(s, "BackupPaths", "r");
  if (!f) return rules;
  std::string line;
  while (readLimitedLine(f.get(), kBackupRuleLineMax + 1, line))
    if (auto rule = parseBackupRule(stripLineEnd(line))) rules.push_back(std::move(*rule));
  return rules;
}

const BackupRule* matchBackupRule(const std::vector<BackupRule>& rules, std::string_view dir) {
  for (const BackupRule& rule : rules) {
    if (rule.from == "*") return &rule;
    std::string_view from = rule.from;
    if (from.back() == '/') from.remove_suffix(1);
    if (dir.size() == from.size() + 1 && dir.starts_with(from) && dir.back() == '/') return &rule;
  }
  return nullptr;
}

bool backupDue(Task& task) {
  std::string when = profileUpper(varGet(task.session, "ZBACKUP"));
  if (when == "ALWAYS") return true;
  return when == "FILEPROF" && task.profile && task.profile->backup;
}

int backupFile(Task& task, const std::string& path) {
  struct stat st {};
  if (::stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode) || st.st_size == 0) return 0;
  std::string fileDir = directoryWithSlash(path);
  std::vector<BackupRule> rules = readBackupRules(task.session);
  const BackupRule* rule = matchBackupRule(rules, fileDir);
  if (!rule) return backupBeside(task, path);
  return backupInto(task, path, backupDirectory(rule->to, fileDir), st);
}

}  // namespace kiv
