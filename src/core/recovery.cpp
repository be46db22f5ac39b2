#include "core/recovery.h"

#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>

#include "core/file_load.h"
#include "core/line.h"
#include "core/edit_step.h"
#include "core/line_ops.h"
#include "core/session.h"
#include "core/task_life.h"
#include "platform/atomic_write.h"
#include "services/messages.h"
#include "services/path_search.h"

namespace kiv {

namespace fs = std::filesystem;

namespace {

// A recovery file: this first line, "path=" and the original's absolute
// name on the second, then each data line as its length in decimal on a
// line of its own followed by its bytes and a line feed.
constexpr std::string_view kMagic = "KIVRECOVERY 1";
constexpr std::string_view kSuffix = ".kivrec";

constexpr std::string_view kNotWritten = "Unable to write the recovery file of:\n\n%s\n\nto:  %s";
constexpr std::string_view kOffer =
    "Unsaved changes of these files were kept when kiv was last stopped:\n\n%s\n"
    "Open them now?\n\nYes opens each file with its changes: SAVE keeps them, CANCEL drops "
    "them.\nNo keeps them for later in:  %s";
constexpr std::string_view kDamaged = "The recovery file is damaged and was not opened:\n\n%s";
constexpr std::string_view kAlreadyOpen =
    "Not recovered, the file is open already:\n\n%s\n\nIts recovery file stays:  %s";

std::string recoveryText(const Task& task) {
  std::string out(kMagic);
  out += "\npath=" + normalName(task.path) + "\n";
  for (const Line* l = task.lines.first; l; l = l->next) {
    if (!l->is(LineKind::Text)) continue;
    out += std::to_string(l->length());
    out += '\n';
    out += l->text();
    out += '\n';
  }
  return out;
}

// A name not yet taken in the recovery folder.
std::string freshName(const std::string& dir) {
  std::string stem = dir + "/" + std::to_string(::getpid()) + "-";
  for (int n = 1;; ++n) {
    std::string name = stem + std::to_string(n) + std::string(kSuffix);
    std::error_code ec;
    if (!fs::exists(name, ec)) return name;
  }
}

bool writeOne(Session& s, Task& task, const std::string& dir) {
  loadAll(task);  // the part still on disk belongs to the file, too
  std::string name = freshName(dir);
  if (!platform::replaceFileContents(name, recoveryText(task))) {
    messagef(s, "", kNotWritten, task.path, name);
    return false;
  }
  if (!task.recoveryFile.empty()) ::unlink(task.recoveryFile.c_str());
  task.recoveryFile = name;
  return true;
}

struct RecoveredLines {
  std::string original;
  std::vector<std::string> lines;
};

std::optional<RecoveredLines> readRecovery(const std::string& file, bool withLines) {
  std::ifstream in(file, std::ios::binary);
  std::string magic, path;
  if (!std::getline(in, magic) || magic != kMagic || !std::getline(in, path) ||
      !path.starts_with("path="))
    return std::nullopt;
  RecoveredLines r{path.substr(5), {}};
  if (!withLines) return r;
  for (std::string length; std::getline(in, length);) {
    std::size_t n = 0;
    std::istringstream(length) >> n;
    if (length.empty() || n > static_cast<std::size_t>(kMaxLineLength)) return std::nullopt;
    std::string bytes(n, '\0');
    if (!in.read(bytes.data(), static_cast<std::streamsize>(n)) || in.get() != '\n')
      return std::nullopt;
    r.lines.push_back(std::move(bytes));
  }
  return r;
}

bool alreadyOpen(const Session& s, const std::string& original) {
  for (const auto& t : s.tasks)
    if (normalName(t->path) == original) return true;
  return false;
}

// Puts `lines` in place of the task's TEXT lines, as one modification.
void replaceLines(Task& task, const std::vector<std::string>& lines) {
  EditStep step(task.session);
  Line* first = task.lines.first->next;
  Line* last = task.lines.last->prev;
  if (first != task.lines.last) deleteLines(task, first, last, true);
  Line* after = task.lines.first;
  for (const std::string& text : lines) {
    Line* fresh = createLine(task, text, LineKind::Text);
    if (!fresh) break;  // reported; what came before stays
    linkBelow(task, after, fresh);
    after = fresh;
  }
  noteModified(task, true);
}

}  // namespace

std::string recoveryDirectory(const Session& s) {
  return joinPath(s.dirs.options, "Recovery");
}

int writeRecoveryFiles(Session& s) {
  std::string dir = recoveryDirectory(s);
  int written = 0;
  for (auto& task : s.tasks) {
    if (!task->modified || task->mode != TaskMode::Edit) continue;
    std::error_code ec;
    fs::create_directories(dir, ec);
    if (writeOne(s, *task, dir)) ++written;
  }
  return written;
}

std::vector<Recovery> findRecoveries(const Session& s) {
  std::vector<Recovery> found;
  std::error_code ec;
  for (const auto& e : fs::directory_iterator(recoveryDirectory(s), ec)) {
    if (e.path().extension() != kSuffix) continue;
    std::optional<RecoveredLines> r = readRecovery(e.path().string(), false);
    found.push_back({e.path().string(), r ? r->original : std::string()});
  }
  std::sort(found.begin(), found.end(),
            [](const Recovery& a, const Recovery& b) { return a.file < b.file; });
  return found;
}

Task* recoverTask(Session& s, const Recovery& r) {
  std::optional<RecoveredLines> parsed = readRecovery(r.file, true);
  if (!parsed) {
    messagef(s, "", kDamaged, r.file);
    return nullptr;
  }
  if (alreadyOpen(s, parsed->original)) {
    messagef(s, "", kAlreadyOpen, parsed->original, r.file);
    return nullptr;
  }
  Task* task = createTask(s, parsed->original, TaskMode::Edit);
  if (!task) return nullptr;
  loadAll(*task);
  if (task->mode != TaskMode::Edit) return task;  // the loader said why; the file stays
  replaceLines(*task, parsed->lines);
  task->recoveryFile = r.file;
  return task;
}

void offerRecovery(Session& s) {
  std::vector<Recovery> found = findRecoveries(s);
  if (found.empty()) return;
  std::string names;
  for (const Recovery& r : found) names += (r.original.empty() ? r.file : r.original) + "\n";
  if (askYesNo(s, format(kOffer, names, recoveryDirectory(s))) != "YES") return;
  for (const Recovery& r : found) recoverTask(s, r);
}

void dropRecoveryFile(Task& task) {
  if (task.recoveryFile.empty()) return;
  ::unlink(task.recoveryFile.c_str());
  task.recoveryFile.clear();
}

}  // namespace kiv
