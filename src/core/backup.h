// The backup of a file about to be overwritten by a save: renamed to
// "<file>.bak" beside it, or copied into the backup directory that the first
// matching BackupPaths rule names.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kiv {

class Session;
class Task;

// One line of the BackupPaths option group: files in `from` ("*" for any
// directory) are backed up into `to`.
struct BackupRule {
  std::string from;
  std::string to;
};

inline constexpr std::string_view kBackupSuffix = ".bak";
inline constexpr std::size_t kBackupRuleLineMax = 600;
inline constexpr std::size_t kBackupPathMax = 255;

// Two double-quoted paths separated by blanks; nothing for any other line
// (or a path longer than 255 characters).
std::optional<BackupRule> parseBackupRule(std::string_view line);
// The rules of the BackupPaths option group, in file order; none without it.
std::vector<BackupRule> readBackupRules(Session& s);
// The first rule whose source matches the directory `dir` (ending in "/"):
// "*" or the same directory, compared exactly; a source without the ending
// "/" is taken with it.
const BackupRule* matchBackupRule(const std::vector<BackupRule>& rules, std::string_view dir);

// A backup is due by ZBACKUP: "ALWAYS", or "FILEPROF" with the profile's
// BOOLbackup on.
bool backupDue(Task& task);

// Backs up the file at `path` (an absolute path) before it is overwritten:
// 0 when it may be overwritten; -1 after reporting why not, with the task's
// may-end flag cleared. Nothing is done for a missing or empty file.
int backupFile(Task& task, const std::string& path);

}  // namespace kiv
