#include "commands/labels_command.h"

#include <sys/stat.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <charconv>
#include <fstream>
#include <map>
#include <vector>

#include "commands/command_split.h"
#include "commands/command_task.h"
#include "commands/labels.h"
#include "core/file_load.h"
#include "core/line.h"
#include "core/line_ops.h"
#include "core/session.h"
#include "core/task.h"
#include "platform/atomic_write.h"
#include "services/messages.h"
#include "services/path_search.h"

namespace kiv {

namespace {

constexpr std::string_view kUsage = "LABELS requires one parameter:\n\nP1 = SHOW | SAVE | RESTORE";
constexpr std::string_view kInvalid =
    "LABELS, invalid parameter:\n\n%s\n\nUse LABELS SHOW, LABELS SAVE or LABELS RESTORE.";
constexpr std::string_view kOpenFailed = "Unable to open label file:\n\n    %s";
constexpr std::string_view kNoLabels = "No labels found for file:\n\n    %s";
constexpr std::string_view kNone = "No labels.";
constexpr std::string_view kSideFolder = ".KivSideFiles";
constexpr std::string_view kSideSuffix = ".Labels.txt";
constexpr std::string_view kBetween = " = ";

// A label and the number of its TEXT line (1-based).
struct NumberedLabel {
  std::string label;
  long number = 0;
};

std::string_view labelOf(const Line* line) {
  std::string_view field = line->label();
  return field.substr(0, field.find(' '));
}

// "label = number" lines, one a label, each ending in a line feed.
std::string labelLines(const std::vector<NumberedLabel>& labels) {
  std::string text;
  for (const NumberedLabel& l : labels)
    text += l.label + std::string(kBetween) + std::to_string(l.number) + "\n";
  return text;
}

// The labels of the TEXT lines in file order. Labels stand only on loaded
// lines, so the part of the file still on disk is not read.
std::vector<NumberedLabel> textLabels(Task& task) {
  std::vector<NumberedLabel> out;
  long number = 0;
  for (const Line* p = task.lines.first; p; p = p->next) {
    if (!p->is(LineKind::Text)) continue;
    ++number;
    if (p->hasLabel()) out.push_back({std::string(labelOf(p)), number});
  }
  return out;
}

// One line of a label file; false for a line that is not "label = number"
// with a label users may set and a number from 1 on.
bool readLabelLine(std::string_view line, NumberedLabel& out) {
  std::size_t eq = line.find('=');
  if (eq == std::string_view::npos) return false;
  auto trim = [](std::string_view t) {
    t = skipBlanks(t);
    return t.substr(0, t.find_last_not_of(" \t\r") + 1);
  };
  std::string label = toUpper(trim(line.substr(0, eq)));
  std::string_view digits = trim(line.substr(eq + 1));
  long number = 0;
  auto [end, err] = std::from_chars(digits.data(), digits.data() + digits.size(), number);
  if (err != std::errc() || end != digits.data() + digits.size() || number < 1 ||
      !isUserLabel(label))
    return false;
  out = {label, number};
  return true;
}

void showLabels(Session& s, Task& task) {
  std::string text = labelLines(textLabels(task));
  if (text.empty()) return message(s, "", kNone);
  text.pop_back();
  message(s, "", text);
}

void saveLabels(Session& s, Task& task) {
  std::string path = labelFilePath(task);
  std::string folder = platform::directoryOf(path);
  bool haveFolder = ::mkdir(folder.c_str(), 0777) == 0 || errno == EEXIST;
  if (!haveFolder || !platform::replaceFileContents(path, labelLines(textLabels(task))))
    messagef(s, "LABELS20", kOpenFailed, path);
}

// The labels the side file holds; empty when it cannot be read.
std::vector<NumberedLabel> readLabelFile(const std::string& path) {
  std::vector<NumberedLabel> out;
  std::ifstream in(path);
  NumberedLabel l;
  for (std::string line; std::getline(in, line);)
    if (readLabelLine(line, l)) out.push_back(l);
  return out;
}

// Sets the labels on the TEXT lines with their numbers; a label found on
// another line leaves it, so that each label names one line. Returns the
// number of labels set.
int setLabels(Task& task, const std::vector<NumberedLabel>& labels) {
  long highest = 0;
  for (const NumberedLabel& l : labels) highest = std::max(highest, l.number);
  if (highest > task.textLines) loadAll(task);
  std::map<std::string, Line*, std::less<>> held;
  for (Line* p = task.lines.first; p; p = p->next)
    if (p->hasLabel()) held[std::string(labelOf(p))] = p;
  int set = 0;
  for (const NumberedLabel& l : labels) {
    Line* line = l.number <= task.textLines ? textLineAt(task, l.number - 1) : nullptr;
    if (!line) continue;
    held.erase(std::string(labelOf(line)));
    auto found = held.find(l.label);
    if (found != held.end()) setLabel(task, found->second, "");
    setLabel(task, line, l.label);
    held[l.label] = line;
    ++set;
  }
  return set;
}

void restoreLabels(Session& s, Task& task) {
  std::string path = labelFilePath(task);
  if (setLabels(task, readLabelFile(path)) == 0) messagef(s, "EDIT62", kNoLabels, path);
}

constexpr std::array<std::pair<std::string_view, void (*)(Session&, Task&)>, 3> kActions = {{
    {"SHOW", showLabels},
    {"SAVE", saveLabels},
    {"RESTORE", restoreLabels},
}};

}  // namespace

std::string labelFilePath(const Task& task) {
  std::size_t slash = task.path.rfind('/');
  std::string name = slash == std::string::npos ? task.path : task.path.substr(slash + 1);
  std::string folder = joinPath(platform::directoryOf(task.path), kSideFolder);
  return joinPath(folder, name + std::string(kSideSuffix));
}

void labelsCommand(CommandContext& ctx) {
  Task* task = taskFor(ctx);
  if (!task) return;
  std::string_view params = ctx.params.substr(0, ctx.params.find_last_not_of(' ') + 1);
  if (params.empty()) return message(ctx.session, "", kUsage);
  std::string upper = toUpper(params);
  for (auto [word, action] : kActions)
    if (upper == word) return action(ctx.session, *task);
  messagef(ctx.session, "", kInvalid, params);
}

}  // namespace kiv
